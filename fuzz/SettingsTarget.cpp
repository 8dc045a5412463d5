// The settings file's fuzz target: the input becomes the settings file from
// which the stroke catalogue loads its display ranges.
#include "FuzzSupport.h"
#include "ReadChecks.h"

namespace {

// The file's text is held twice (read, then parsed in place) and every line
// may become a key with its own entry in the parser's tables.
size_t HeapAllowance(size_t inputSize) { return 64 * inputSize + (1 << 20); }

const TParameters& BuiltInStrokeParameters()
{
    static const TParameters builtIn = [] {
        InitStrokeParameters();
        return StrokeParameters;
    }();
    return builtIn;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = FuzzInputPath(".ini");
    const TParameters& builtIn = BuiltInStrokeParameters();
    WriteFreshFile(path, data, size);
    const size_t peak = PeakHeapDuring([&builtIn] {
        TParameters entries = builtIn;
        const std::string message =
            LoadParameterSettings(path, StrokeDataSection, entries, StoredStrokeParameterCount);
        TrapOn(FaultOfLoadedParameters(builtIn, entries, StoredStrokeParameterCount, message));
    });
    CheckPeakHeap(peak, size, HeapAllowance(size));
    return 0;
}
