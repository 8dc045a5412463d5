#include "untBinaryFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int WindowsErrorCode(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT: return 2;
    case ENOTDIR: return 3;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR: return 5;
    case EROFS: return 19;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return 123;
    default: return errnoValue;
    }
}

EInOutError LastInOutError()
{
    const int error = errno;
    return EInOutError(std::strerror(error), WindowsErrorCode(error));
}

TBinaryFile::TBinaryFile(const std::string& path) : Path(path)
{
    // Non-blocking, so that opening a named pipe cannot hang; only regular
    // files are read.
    Handle = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (Handle < 0) throw LastInOutError();
    struct stat info {};
    const int statResult = fstat(Handle, &info);
    const int error = errno;
    if (statResult != 0 || !S_ISREG(info.st_mode)) {
        close(Handle);
        Handle = -1;
        if (statResult != 0) throw EInOutError(std::strerror(error), WindowsErrorCode(error));
        if (S_ISDIR(info.st_mode)) throw EInOutError(std::strerror(EISDIR), WindowsErrorCode(EISDIR));
        throw EInOutError("Not a regular file", WindowsErrorCode(EACCES));
    }
    Size_ = info.st_size;
    Buffer = new unsigned char[BufferCapacity];
}

TBinaryFile::~TBinaryFile()
{
    delete[] Buffer;
    if (Handle >= 0) close(Handle);
}

void TBinaryFile::Fill()
{
    BufferStart = Position_;
    BufferLength = 0;
    for (;;) {
        const ssize_t n = pread(Handle, Buffer, BufferCapacity, BufferStart);
        if (n >= 0) {
            BufferLength = static_cast<size_t>(n);
            return;
        }
        if (errno != EINTR) throw LastInOutError();
    }
}

size_t TBinaryFile::Read(void* buffer, size_t count)
{
    auto* out = static_cast<unsigned char*>(buffer);
    size_t done = 0;
    while (done < count) {
        const int64_t offset = Position_ - BufferStart;
        if (offset >= 0 && static_cast<size_t>(offset) < BufferLength) {
            const size_t n = std::min(count - done, BufferLength - static_cast<size_t>(offset));
            std::memcpy(out + done, Buffer + offset, n);
            done += n;
            Position_ += static_cast<int64_t>(n);
        } else if (count - done >= BufferCapacity) {
            // Large reads go straight to the caller's memory.
            const ssize_t n = pread(Handle, out + done, count - done, Position_);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) throw LastInOutError();
            if (n == 0) break;
            done += static_cast<size_t>(n);
            Position_ += n;
        } else {
            Fill();
            if (BufferLength == 0) break;
        }
    }
    return done;
}

size_t TBinaryFile::Skip(size_t count)
{
    const int64_t target = std::min<int64_t>(Size_, Position_ + static_cast<int64_t>(std::min<size_t>(count, INT64_MAX / 2)));
    const size_t passed = target > Position_ ? static_cast<size_t>(target - Position_) : 0;
    Position_ += static_cast<int64_t>(passed);
    return passed;
}

void TBinaryFile::Seek(int64_t position)
{
    Position_ = std::max<int64_t>(0, position);
}
