#include "FuzzSupport.h"

#include <sanitizer/allocator_interface.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

// Heap held now and the most held since the last reset. The fuzz targets run
// one input at a time on one thread.
size_t HeapHeld = 0;
size_t HeapPeak = 0;

void CountMalloc(const volatile void*, size_t size)
{
    HeapHeld += size;
    if (HeapHeld > HeapPeak) HeapPeak = HeapHeld;
}

void CountFree(const volatile void* pointer)
{
    const size_t size = __sanitizer_get_allocated_size(const_cast<const void*>(pointer));
    HeapHeld = size <= HeapHeld ? HeapHeld - size : 0;
}

const bool HooksInstalled = __sanitizer_install_malloc_and_free_hooks(CountMalloc, CountFree) != 0;

// The largest peak seen, with the size of its input.
struct TWorstRun {
    size_t Peak = 0;
    size_t InputSize = 0;
    ~TWorstRun()
    {
        if (Peak > 0)
            std::fprintf(stderr, "marlo-fuzz: largest heap peak %zu bytes, for an input of %zu bytes\n", Peak,
                         InputSize);
    }
};
TWorstRun WorstRun;

class TPrivateFolder {
public:
    TPrivateFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "marlo-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
        Path = pattern;
    }
    ~TPrivateFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Path, ignored);
    }
    std::string Path;
};

} // namespace

std::string FuzzInputPath(const std::string& extension)
{
    static const TPrivateFolder folder;
    return folder.Path + "/input" + extension;
}

void WriteFreshFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::remove(path.c_str());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

size_t PeakHeapDuring(const std::function<void()>& work)
{
    if (!HooksInstalled) throw std::logic_error("the heap watch needs a sanitizer's allocator");
    const size_t before = HeapHeld;
    HeapPeak = HeapHeld;
    work();
    return HeapPeak - before;
}

void TrapOn(const std::string& fault)
{
    if (fault.empty()) return;
    std::fprintf(stderr, "marlo-fuzz: %s\n", fault.c_str());
    __builtin_trap();
}

void CheckPeakHeap(size_t peak, size_t inputSize, size_t allowance)
{
    if (peak > WorstRun.Peak) {
        WorstRun.Peak = peak;
        WorstRun.InputSize = inputSize;
    }
    if (peak > allowance)
        TrapOn("heap peak of " + std::to_string(peak) + " bytes for an input of " + std::to_string(inputSize)
               + " bytes, above the allowance of " + std::to_string(allowance));
}
