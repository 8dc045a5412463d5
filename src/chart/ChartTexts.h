// Texts the chart window's parts share.
#pragma once

#include <QString>

// Two texts of the same width in any font with digits of one width: they
// differ only in digits, in place, as a caption whose count moved on.
inline bool OnlyDigitsDiffer(const QString& a, const QString& b)
{
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && !(a[i].isDigit() && b[i].isDigit())) return false;
    return true;
}
