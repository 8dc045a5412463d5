// One reader's fuzz target: the input becomes a file with the reader's
// extension (MARLO_FUZZ_EXTENSION) and is opened through the dispatcher, as
// the desktop program opens files. Every read must keep the rules of
// FaultOfRead and stay within its heap allowance.
#include "FuzzSupport.h"
#include "ReadChecks.h"

namespace {

// The largest valid training: 65,535 strokes with their curves and the
// average, 65,535 intervals and as many extra entries.
const size_t LargestTrainingBytes = 65536 * (sizeof(TStroke) + sizeof(TForceCurve)) + 65535 * sizeof(TInterval)
                                    + 65536 * sizeof(TExtraEntry);
const size_t ReaderBuffers = 1 << 20;

// A growing array briefly holds its old and its new buffer, hence the
// training twice over.
size_t HeapAllowance(size_t inputSize) { return 4 * inputSize + 2 * LargestTrainingBytes + ReaderBuffers; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = FuzzInputPath(MARLO_FUZZ_EXTENSION);
    WriteFreshFile(path, data, size);
    const size_t peak = PeakHeapDuring([] {
        TReadResult result;
        ReadThroughDispatcher(path, result);
        TrapOn(FaultOfRead(path, result));
    });
    CheckPeakHeap(peak, size, HeapAllowance(size));
    return 0;
}
