// The one way the readers touch a file: a read-only handle with checked block
// reads. Operating-system failures raise EInOutError with a Windows-style error
// code, so every reader reports them the same way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

class EInOutError : public std::runtime_error {
public:
    EInOutError(const std::string& message, int code) : std::runtime_error(message), Code(code) {}
    int Code;
};

class TBinaryFile {
public:
    // Opens path read-only; throws EInOutError when it cannot.
    explicit TBinaryFile(const std::string& path);
    ~TBinaryFile();
    TBinaryFile(const TBinaryFile&) = delete;
    TBinaryFile& operator=(const TBinaryFile&) = delete;

    // Reads up to count bytes into buffer and returns how many arrived; fewer
    // than count only at the end of the file. Throws EInOutError on failure.
    size_t Read(void* buffer, size_t count);
    // Reads exactly count bytes, answering whether they all arrived.
    bool ReadExactly(void* buffer, size_t count) { return Read(buffer, count) == count; }
    // Reads one byte; false at the end of the file. Inline for the text readers,
    // which take their files a byte at a time.
    bool ReadByte(unsigned char& byte)
    {
        const int64_t offset = Position_ - BufferStart;
        if (offset >= 0 && offset < static_cast<int64_t>(BufferLength)) {
            byte = Buffer[offset];
            ++Position_;
            return true;
        }
        return Read(&byte, 1) == 1;
    }
    // Moves on count bytes (not past the end); returns how many were passed.
    size_t Skip(size_t count);
    void Seek(int64_t position);
    int64_t Position() const { return Position_; }
    int64_t Size() const { return Size_; }
    bool Eof() const { return Position_ >= Size_; }

private:
    void Fill();

    int Handle = -1;
    std::string Path;
    int64_t Size_ = 0;
    int64_t Position_ = 0;
    // Bytes of the file from BufferStart, BufferLength of them valid.
    static const size_t BufferCapacity = 64 * 1024;
    unsigned char* Buffer = nullptr;
    int64_t BufferStart = 0;
    size_t BufferLength = 0;
};

// The Windows error code that stands for errno (2 file not found, 3 path not
// found, 4 too many open files, 5 access denied, 19 write-protected, 123 bad
// name); other values are passed on unchanged.
int WindowsErrorCode(int errnoValue);
// The EInOutError for the current errno.
EInOutError LastInOutError();
