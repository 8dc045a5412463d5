// The training file: a signature, a version and tagged blocks of fixed-size
// records that are byte images of the parts of a training.
#include "untBinaryFile.h"
#include "untFiles.h"
#include "untMessages.h"

#include <algorithm>
#include <cstring>

namespace {

// No valid file holds more records in a block: stroke and interval numbers are 16-bit.
const int32_t MaxRecordCount = 65535;

struct TBlockHeader {
    uint8_t Tag = 0;
    uint16_t Size = 0;
    int32_t Count = 0;
};

bool ReadBlockHeader(TBinaryFile& file, TBlockHeader& block)
{
    unsigned char bytes[7];
    if (!file.ReadExactly(bytes, 1) || !file.ReadExactly(bytes + 1, 2) || !file.ReadExactly(bytes + 3, 4))
        return false;
    block.Tag = bytes[0];
    block.Size = static_cast<uint16_t>(bytes[1] | bytes[2] << 8);
    block.Count = static_cast<int32_t>(static_cast<uint32_t>(bytes[3]) | static_cast<uint32_t>(bytes[4]) << 8
                                       | static_cast<uint32_t>(bytes[5]) << 16
                                       | static_cast<uint32_t>(bytes[6]) << 24);
    return true;
}

// Reads the records of one block through a zero-filled buffer large enough for
// both the stated and the known size, so a shorter record leaves the tail of
// the destination zero and a longer one has its extra bytes ignored.
class TRecordReader {
public:
    TRecordReader(TBinaryFile& file, uint16_t size, size_t knownSize)
        : File(file), Size(size), Buffer(std::max<size_t>(size, knownSize), 0)
    {
    }

    // Reads one record; false when it arrived short.
    bool Next() { return File.Read(Buffer.data(), Size) == Size; }
    const unsigned char* Data() const { return Buffer.data(); }
    template <typename T>
    void CopyTo(T& destination) const { std::memcpy(static_cast<void*>(&destination), Buffer.data(), sizeof(T)); }

private:
    TBinaryFile& File;
    uint16_t Size;
    std::vector<unsigned char> Buffer;
};

template <typename T>
bool ReadSingleRecord(TBinaryFile& file, uint16_t size, T& destination)
{
    TRecordReader record(file, size, sizeof(T));
    if (!record.Next()) return false;
    record.CopyTo(destination);
    return true;
}

bool ReadStrokes(TBinaryFile& file, const TBlockHeader& block, TTraining& training)
{
    SetStrokeCount(training, block.Count);
    TRecordReader record(file, block.Size, sizeof(TStroke));
    for (int32_t i = 1; i <= block.Count && !file.Eof(); ++i) {
        if (!record.Next()) {
            Beep(2500, 100);
            return false;
        }
        const int n = record.Data()[0] | record.Data()[1] << 8;
        if (n >= 1 && n <= block.Count) record.CopyTo(training.Strokes[static_cast<size_t>(n)]);
    }
    return true;
}

// Reads up to count records into destination[first], destination[first + 1], ...
template <typename T>
bool ReadRecordsByPosition(TBinaryFile& file, const TBlockHeader& block, std::vector<T>& destination,
                           size_t first)
{
    if (block.Count == 0) return true;
    if (block.Size == sizeof(T)) {
        // Records of the known size go straight into place, as many as the
        // file holds; only a record cut short rejects the file.
        const size_t wanted = static_cast<size_t>(block.Count) * sizeof(T);
        return file.Read(static_cast<void*>(destination.data() + first), wanted) % sizeof(T) == 0;
    }
    TRecordReader record(file, block.Size, sizeof(T));
    for (int32_t i = 0; i < block.Count && !file.Eof(); ++i) {
        if (!record.Next()) return false;
        record.CopyTo(destination[first + static_cast<size_t>(i)]);
    }
    return true;
}

bool SkipRecords(TBinaryFile& file, const TBlockHeader& block)
{
    if (block.Size == 0) return true; // nothing to read, however many are claimed
    TRecordReader record(file, block.Size, 0);
    for (int32_t i = 0; i < block.Count && !file.Eof(); ++i)
        if (!record.Next()) return false;
    return true;
}

// Blocks of records must claim a count a valid file can hold, and a block
// that claims records must give them bytes; anything else is a damaged file.
bool PlausibleRecordBlock(const TBlockHeader& block)
{
    if (block.Count < 0 || block.Count > MaxRecordCount) return false;
    const bool known = block.Tag >= tbStrokes && block.Tag <= tbExtraEntries && block.Tag != tbTotals;
    return !(known && block.Size == 0 && block.Count > 0);
}

bool ReadBlock(TBinaryFile& file, const TBlockHeader& block, TTraining& training)
{
    if (block.Tag == 0) return false; // no block has tag 0
    const bool singleRecord = block.Tag == tbHeader || block.Tag == tbSettings || block.Tag == tbTotals;
    if (!singleRecord && !PlausibleRecordBlock(block)) return false;
    switch (block.Tag) {
    case tbHeader: return ReadSingleRecord(file, block.Size, training.Header);
    case tbSettings: return ReadSingleRecord(file, block.Size, training.Settings);
    case tbStrokes: return ReadStrokes(file, block, training);
    case tbCurves:
        SetStrokeCount(training, block.Count);
        return ReadRecordsByPosition(file, block, training.Curves, 1);
    case tbIntervals:
        SetIntervalCount(training, block.Count);
        return ReadRecordsByPosition(file, block, training.Intervals, 0);
    case tbTotals: return ReadSingleRecord(file, block.Size, training.Totals);
    case tbExtraEntries:
        training.ExtraEntries.resize(static_cast<size_t>(block.Count) + 1);
        return ReadRecordsByPosition(file, block, training.ExtraEntries, 1);
    default: return SkipRecords(file, block);
    }
}

bool ReadBlocks(TBinaryFile& file, TTraining& training)
{
    bool ok = true;
    while (ok && !file.Eof()) {
        TBlockHeader block;
        if (!ReadBlockHeader(file, block)) return false;
        ok = ReadBlock(file, block, training);
    }
    return ok;
}

} // namespace

bool DecodeTrainingFile(const std::string& path, TTraining& training)
{
    try {
        TBinaryFile file(path);
        char magic[4];
        unsigned char versionBytes[4];
        if (!file.ReadExactly(magic, 4) || std::memcmp(magic, TrainingMagic, 4) != 0) return false;
        if (!file.ReadExactly(versionBytes, 4)) return false;
        const uint32_t version = versionBytes[0] | versionBytes[1] << 8 | versionBytes[2] << 16
                                 | static_cast<uint32_t>(versionBytes[3]) << 24;
        if (version == 0 || !ReadBlocks(file, training)) return false;
        training.Header.FileName.Assign(Utf8ToAnsi(path));
        std::memcpy(training.Magic, magic, 4);
        training.Version = version;
        return true;
    } catch (const EInOutError& error) {
        ShowIOError(path, error.what(), error.Code);
        return false;
    }
}

bool ReadTrainingFile(const std::string& path, TTraining& training)
{
    if (!DecodeTrainingFile(path, training)) return false;
    ComputeAverageStroke(training);
    return true;
}
