#include "untShell.h"

#include "untDateTime.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QUrl>

namespace {

QUrl UrlOf(const QString& path)
{
    if (QFileInfo::exists(path)) return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    return QUrl::fromUserInput(path);
}

// The first character of format that is neither a letter nor quoted text.
QChar SeparatorIn(const QString& format, QChar fallback)
{
    for (QChar c : format)
        if (!c.isLetter() && c != QLatin1Char('\'') && c != QLatin1Char(' ')) return c;
    return fallback;
}

} // namespace

bool OpenDocument(const QString& path) { return !path.isEmpty() && QDesktopServices::openUrl(UrlOf(path)); }

bool ShellRun(const QString& file, const QString& verb, const QString& parameters, const QString& folder,
              int /*showMode*/)
{
    const QFileInfo info(file);
    const bool isProgram = info.isFile() && info.isExecutable();
    if (!isProgram && (verb.isEmpty() || verb == QLatin1String("open"))) return OpenDocument(file);
    return QProcess::startDetached(file, QProcess::splitCommand(parameters), folder);
}

QFont MessageFont() { return QApplication::font("QMessageBox"); }

bool IsShiftDown() { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier); }

bool IsThemeActive() { return false; }

QString CoreDateFormat(const QString& qtFormat)
{
    const QChar separator = SeparatorIn(qtFormat, QLatin1Char('/'));
    QString format;
    for (QChar c : qtFormat) {
        if (c == QLatin1Char('M')) format += QLatin1Char('m');
        else if (c == separator) format += QLatin1Char('/');
        else format += c;
    }
    return format;
}

QString CoreTimeFormat(const QString& qtFormat)
{
    const QChar separator = SeparatorIn(qtFormat, QLatin1Char(':'));
    QString format;
    for (int i = 0; i < qtFormat.size(); ++i) {
        const QChar c = qtFormat[i];
        if (c == QLatin1Char('H') || c == QLatin1Char('h')) format += QLatin1Char('h');
        else if (c == QLatin1Char('m')) format += QLatin1Char('n');
        else if (c == separator) format += QLatin1Char(':');
        else if (c.toUpper() == QLatin1Char('A') && i + 1 < qtFormat.size() && qtFormat[i + 1].toUpper() == QLatin1Char('P')) {
            format += QLatin1String("ampm");
            ++i;
        } else if (c != QLatin1Char('t')) format += c;
    }
    return format.trimmed();
}

void LoadFormatSettings(const QLocale& locale)
{
    TFormatSettings& settings = FormatSettings();
    const QString decimal = locale.decimalPoint();
    if (decimal.size() == 1 && decimal[0].unicode() < 128) settings.DecimalSeparator = decimal[0].toLatin1();
    const QString date = locale.dateFormat(QLocale::ShortFormat);
    const QString time = locale.timeFormat(QLocale::LongFormat);
    const QChar dateSeparator = SeparatorIn(date, QLatin1Char('/'));
    const QChar timeSeparator = SeparatorIn(time, QLatin1Char(':'));
    if (dateSeparator.unicode() < 128) settings.DateSeparator = dateSeparator.toLatin1();
    if (timeSeparator.unicode() < 128) settings.TimeSeparator = timeSeparator.toLatin1();
    settings.ShortDateFormat = CoreDateFormat(date).toStdString();
    settings.LongTimeFormat = CoreTimeFormat(time).toStdString();
}
