// Writes training files that the training-file reader reads back unchanged.
#include "untFiles.h"

namespace {

const size_t MaxStrokes = 65535;

class TByteWriter {
public:
    void Bytes(const void* data, size_t count) { Text.append(static_cast<const char*>(data), count); }
    void Byte(uint8_t value) { Text += static_cast<char>(value); }
    void Word(uint16_t value) { Bytes(&value, 2); } // the file is little-endian, as this machine
    void Integer(int32_t value) { Bytes(&value, 4); }
    void BlockHeader(uint8_t tag, uint16_t size, size_t count)
    {
        Byte(tag);
        Word(size);
        Integer(static_cast<int32_t>(count));
    }
    template <typename T>
    void SingleRecordBlock(uint8_t tag, const T& record)
    {
        BlockHeader(tag, sizeof(T), 1);
        Bytes(&record, sizeof(T));
    }
    template <typename T>
    void RecordBlock(uint8_t tag, const std::vector<T>& records, size_t first)
    {
        const size_t count = records.size() > first ? records.size() - first : 0;
        BlockHeader(tag, sizeof(T), count);
        if (count) Bytes(records.data() + first, count * sizeof(T));
    }
    std::string Text;
};

} // namespace

std::optional<std::string> TrainingFileBytes(const TTraining& training)
{
    const size_t strokes = training.Strokes.empty() ? 0 : training.Strokes.size() - 1;
    if (strokes > MaxStrokes || training.Curves.size() != training.Strokes.size()
        || training.Intervals.size() > MaxStrokes || training.ExtraEntries.size() > MaxStrokes + 1)
        return std::nullopt;

    TByteWriter out;
    out.Text.reserve(8 + sizeof(THeader) + sizeof(TUserSettings) + sizeof(TTotals)
                     + strokes * (sizeof(TStroke) + sizeof(TForceCurve))
                     + training.Intervals.size() * sizeof(TInterval) + 64);
    out.Bytes(TrainingMagic, 4);
    const uint32_t version = training.Version ? training.Version : CurrentVersion();
    out.Bytes(&version, 4);
    out.SingleRecordBlock(tbHeader, training.Header);
    out.SingleRecordBlock(tbSettings, training.Settings);

    // Stroke records carry their own numbers, the position in the array.
    out.BlockHeader(tbStrokes, sizeof(TStroke), strokes);
    for (size_t i = 1; i <= strokes; ++i) {
        TStroke stroke = training.Strokes[i];
        stroke.Number = static_cast<uint16_t>(i);
        out.Bytes(&stroke, sizeof stroke);
    }
    out.RecordBlock(tbCurves, training.Curves, 1);
    out.RecordBlock(tbIntervals, training.Intervals, 0);
    out.SingleRecordBlock(tbTotals, training.Totals);
    if (!training.ExtraEntries.empty()) out.RecordBlock(tbExtraEntries, training.ExtraEntries, 1);
    return out.Text;
}
