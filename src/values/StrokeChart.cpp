#include "untStrokeChart.h"

#include "untCharts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

const double SecondsPerDay = 86400.0;

bool ValidEntry(int entry) { return entry >= 0 && entry < static_cast<int>(StrokeParameters.size()); }

// The first index whose x is not below x.
size_t LowerBound(const TStrokePoints& line, double x)
{
    return static_cast<size_t>(std::lower_bound(line.begin(), line.end(), x,
                                                [](const TStrokePoint& point, double value) { return point.X < value; })
                               - line.begin());
}

// A step of 1, 2 or 5 times a power of ten (or a time step) not below raw.
double RoundStep(double raw, bool time)
{
    if (!(raw > 0) || !std::isfinite(raw)) return 1;
    if (time && raw >= 1) {
        static const double steps[] = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600};
        for (double step : steps)
            if (step >= raw) return step;
        return std::ceil(raw / 3600) * 3600;
    }
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= raw * (1 - 1e-9)) return factor * power;
    return 10 * power;
}

bool Usable(double value) { return std::isfinite(value); }

} // namespace

bool SmallerIsFaster(int entry) { return entry == seSplit500 || entry == seAverageSplit500; }

bool IsTimeEntry(int entry)
{
    return ValidEntry(entry) && !StrokeParameters[entry].Format.empty() && StrokeParameters[entry].Format[0] == 'T';
}

std::vector<double> StrokeAxisValues(const TTraining& training, TStrokeAxis axis)
{
    std::vector<double> xs;
    if (training.Strokes.size() < 2) return xs;
    xs.reserve(training.Strokes.size() - 1);
    double last = 0;
    for (size_t i = 1; i < training.Strokes.size(); ++i) {
        double x = static_cast<double>(i);
        if (axis == saTime)
            x = static_cast<double>(StrokeValue(training.Strokes[i], seTime, training.Settings)) * SecondsPerDay;
        else if (axis == saDistance)
            x = static_cast<double>(StrokeValue(training.Strokes[i], seDistance, training.Settings));
        if (!Usable(x) || (i > 1 && x < last)) x = last;
        xs.push_back(x);
        last = x;
    }
    return xs;
}

TStrokePoints StrokeLine(const TTraining& training, int entry, TStrokeAxis axis, int window)
{
    TStrokePoints line;
    if (!ValidEntry(entry) || training.Strokes.size() < 2) return line;
    const std::vector<double> xs = StrokeAxisValues(training, axis);
    const double scale = IsTimeEntry(entry) ? SecondsPerDay : 1.0;
    window = std::max(window, 1);
    line.reserve(xs.size());
    std::vector<double> recent; // the window's raw values, oldest first, as a ring
    recent.reserve(static_cast<size_t>(window));
    double sum = 0;
    size_t next = 0;
    for (size_t i = 1; i < training.Strokes.size(); ++i) {
        const TStroke& stroke = training.Strokes[i];
        const double value = static_cast<double>(StrokeValue(stroke, entry, training.Settings)) * scale;
        if (!Usable(value)) continue;
        if (static_cast<int>(recent.size()) < window) {
            recent.push_back(value);
            sum += value;
        } else {
            sum += value - recent[next];
            recent[next] = value;
            next = (next + 1) % recent.size();
        }
        // The running sum drifts over tens of thousands of strokes; summing
        // the window anew now and then keeps it exact enough.
        if (window > 1 && i % 4096 == 0) {
            sum = 0;
            for (double kept : recent) sum += kept;
        }
        TStrokePoint point;
        point.X = xs[i - 1];
        point.Y = window > 1 ? sum / static_cast<double>(recent.size()) : value;
        point.Stroke = static_cast<int>(i);
        point.Interval = stroke.IntervalNumber;
        line.push_back(point);
    }
    return line;
}

TStrokePoints ReduceLine(const TStrokePoints& line, double left, double right, int columns)
{
    if (columns <= 0 || !(right > left) || line.size() <= static_cast<size_t>(columns) * 4) return line;
    TStrokePoints reduced;
    reduced.reserve(static_cast<size_t>(columns) * 4 + 2);
    size_t i = LowerBound(line, left);
    if (i > 0) reduced.push_back(line[i - 1]);
    const double width = (right - left) / columns;
    while (i < line.size() && line[i].X <= right) {
        const int column = std::min(static_cast<int>((line[i].X - left) / width), columns - 1);
        const double end = column == columns - 1 ? right : left + (column + 1) * width;
        size_t first = i, lowest = i, highest = i, last = i;
        for (++i; i < line.size() && (line[i].X < end || (column == columns - 1 && line[i].X <= right)); ++i) {
            if (line[i].Y < line[lowest].Y) lowest = i;
            if (line[i].Y > line[highest].Y) highest = i;
            last = i;
        }
        size_t kept[4] = {first, std::min(lowest, highest), std::max(lowest, highest), last};
        for (int k = 0; k < 4; ++k)
            if (k == 0 || kept[k] != kept[k - 1]) reduced.push_back(line[kept[k]]);
    }
    if (i < line.size()) reduced.push_back(line[i]);
    return reduced;
}

int NearestPoint(const TStrokePoints& line, double x)
{
    if (line.empty()) return -1;
    const size_t after = LowerBound(line, x);
    if (after == 0) return 0;
    if (after >= line.size()) return static_cast<int>(line.size() - 1);
    // Of equal x the first is taken.
    size_t before = after - 1;
    while (before > 0 && line[before - 1].X == line[before].X) --before;
    return x - line[before].X <= line[after].X - x ? static_cast<int>(before) : static_cast<int>(after);
}

TValueRange RoundRange(double low, double high, int ticks, bool time)
{
    TValueRange range;
    if (!Usable(low) || !Usable(high)) return range;
    if (high < low) std::swap(low, high);
    if (high - low < 1e-9 * std::max(1.0, std::fabs(high))) {
        const double around = low == 0 ? 1 : std::fabs(low) * 0.1;
        low -= around;
        high += around;
    }
    ticks = std::max(ticks, 1);
    range.Step = RoundStep((high - low) / ticks, time);
    range.Minimum = std::floor(low / range.Step + 1e-9) * range.Step;
    range.Maximum = std::ceil(high / range.Step - 1e-9) * range.Step;
    if (range.Maximum <= range.Minimum) range.Maximum = range.Minimum + range.Step;
    return range;
}

namespace {

// Doubles the range's span about its middle, with its step, until low..high
// fits (at most 40 times).
void DoubleUntilFits(TValueRange& range, double low, double high)
{
    for (int doubling = 0; doubling < 40 && (low < range.Minimum || high > range.Maximum); ++doubling) {
        const double middle = (range.Minimum + range.Maximum) / 2, half = range.Maximum - range.Minimum;
        range.Minimum = middle - half;
        range.Maximum = middle + half;
        range.Step *= 2;
    }
}

// Widens the range by whole steps until low..high fits. Far outliers would
// need thousands of steps: the step grows to keep the ticks few.
void WidenUntilFits(TValueRange& range, double low, double high)
{
    while ((std::max(high, range.Maximum) - std::min(low, range.Minimum)) / range.Step > 40) range.Step *= 2;
    if (low < range.Minimum) range.Minimum -= std::ceil((range.Minimum - low) / range.Step) * range.Step;
    if (high > range.Maximum) range.Maximum += std::ceil((high - range.Maximum) / range.Step) * range.Step;
}

} // namespace

TValueRange EntryRange(const ParameterType& entry, int index, double low, double high)
{
    const bool time = IsTimeEntry(index);
    const double scale = time ? SecondsPerDay : 1.0;
    const double storedLow = entry.Minimum * scale, storedHigh = entry.Maximum * scale;
    const double storedStep = entry.Step * scale;
    const bool storedUsable = Usable(storedLow) && Usable(storedHigh) && storedHigh > storedLow;
    const bool stepUsable = Usable(storedStep) && storedStep > 0 && (storedHigh - storedLow) / storedStep <= 1000;
    const bool values = Usable(low) && Usable(high) && high >= low;

    const bool fromStore = storedUsable && (entry.ScaleMode == smManual || entry.ScaleMode == smDouble
                                            || entry.ScaleMode == smRange);
    TValueRange range;
    if (fromStore) {
        range.Minimum = storedLow;
        range.Maximum = storedHigh;
        range.Step = stepUsable ? storedStep : RoundRange(storedLow, storedHigh, 8, time).Step;
        if (values && entry.ScaleMode == smDouble) DoubleUntilFits(range, low, high);
        if (values && entry.ScaleMode == smRange) WidenUntilFits(range, low, high);
    } else if (values) {
        range = RoundRange(low, high, 8, time);
    }
    range.Reversed = SmallerIsFaster(index);
    return range;
}

std::string TickText(double value, double step, bool time)
{
    if (!Usable(value)) return NoValueText;
    char text[64];
    if (time) {
        const bool negative = value < 0;
        const double whole = std::fabs(value);
        const bool tenths = step > 0 && step < 1;
        const long long tenthsTotal = std::llround(whole * (tenths ? 10 : 1));
        const long long seconds = tenths ? tenthsTotal / 10 : tenthsTotal;
        if (tenths)
            std::snprintf(text, sizeof text, "%s%lld:%02lld.%lld", negative ? "-" : "", seconds / 60, seconds % 60,
                          tenthsTotal % 10);
        else
            std::snprintf(text, sizeof text, "%s%lld:%02lld", negative ? "-" : "", seconds / 60, seconds % 60);
        return text;
    }
    int decimals = 0;
    if (step > 0 && std::isfinite(step))
        while (decimals < 6 && std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-6)
            ++decimals;
    // A tick at a tiny negative from rounding is zero.
    if (std::fabs(value) < 1e-9 * std::max(1.0, std::fabs(step))) value = 0;
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::vector<TIntervalSpan> IntervalSpans(const TStrokePoints& line)
{
    std::vector<TIntervalSpan> spans;
    for (const TStrokePoint& point : line) {
        if (point.Interval == 0) continue;
        if (!spans.empty() && spans.back().Number == point.Interval) {
            spans.back().To = point.X;
            continue;
        }
        spans.push_back({point.X, point.X, point.Interval});
    }
    return spans;
}

bool LineLimits(const TStrokePoints& line, double& low, double& high)
{
    if (line.empty()) return false;
    low = high = line.front().Y;
    for (const TStrokePoint& point : line) {
        low = std::min(low, point.Y);
        high = std::max(high, point.Y);
    }
    return true;
}
