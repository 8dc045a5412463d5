// User files: despite their extension, one binary legacy user record.
#include "LegacyRecords.h"

bool ReadUserFile(const std::string& path, TTraining& training)
{
    try {
        TBinaryFile file(path);
        ApplyLegacyHeader(training, path, ffINI, fkUser);
        if (file.Size() != static_cast<int64_t>(LegacyUserSize)) return false;
        unsigned char user[LegacyUserSize];
        if (!ReadLegacyRecord(file, user, sizeof user)) return false;
        ApplyLegacyUser(user, training);
        return file.Eof();
    } catch (const EInOutError& error) {
        ShowIOError(path, error.what(), error.Code);
        return false;
    }
}
