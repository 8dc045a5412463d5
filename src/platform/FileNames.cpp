#include "untFileNames.h"

#include <QByteArray>
#include <QUrl>

namespace {

const char16_t KeptByteBase = 0xDC00;

bool IsKeptByte(QChar c) { return c.unicode() >= KeptByteBase + 0x80 && c.unicode() <= KeptByteBase + 0xFF; }

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at bytes[i], or 0.
size_t SequenceLength(const std::string& bytes, size_t i)
{
    const auto at = [&bytes](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    if (lead < 0x80) return 1;
    const size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || i + length > bytes.size()) return 0;
    for (size_t k = 1; k < length; ++k)
        if (!IsContinuation(at(i + k))) return 0;
    const unsigned char second = at(i + 1);
    // No overlong forms, no surrogates, nothing above U+10FFFF.
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90)
        || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

} // namespace

QString FileNameFromBytes(const std::string& bytes)
{
    QString name;
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = SequenceLength(bytes, i);
        if (length == 0) {
            name += QChar(static_cast<char16_t>(KeptByteBase + static_cast<unsigned char>(bytes[i])));
            ++i;
        } else {
            name += QString::fromUtf8(bytes.data() + i, static_cast<qsizetype>(length));
            i += length;
        }
    }
    return name;
}

std::string FileNameBytes(const QString& name)
{
    std::string bytes;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            bytes += name.mid(i, 2).toStdString();
            ++i;
        } else if (IsKeptByte(c)) {
            bytes += static_cast<char>(c.unicode() - KeptByteBase);
        } else {
            bytes += QString(c).toStdString();
        }
    }
    return bytes;
}

QString ShownFileName(const QString& name)
{
    QString shown = name;
    for (QChar& c : shown)
        if (IsKeptByte(c)) c = QChar::ReplacementCharacter;
    return shown;
}

QString LocalFileOfUrl(const QUrl& url)
{
    if (!url.isLocalFile()) return QString();
    // The encoded path still holds the name's bytes as %XX; the decoded one
    // would have lost those that are not UTF-8.
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return FileNameFromBytes(bytes.toStdString());
}
