// Shell services and system facts the windows need: opening documents and
// web addresses, running programs, the message-box font, the keyboard state,
// and the locale's formats for the core's texts.
#pragma once

#include <QFont>
#include <QString>

class QLocale;

// Opens a file or address with the program the desktop chooses for it.
bool OpenDocument(const QString& path);
// Runs file with parameters in folder; the verb "open" (or none) on anything
// that is not a program opens it like OpenDocument. showMode is kept for
// callers that pass one; the desktop decides how windows appear.
bool ShellRun(const QString& file, const QString& verb, const QString& parameters, const QString& folder,
              int showMode);
QFont MessageFont();
bool IsShiftDown();
// Whether a desktop theme decides the windows' colours; never on this system.
bool IsThemeActive();

// Qt's date or time format in the core's format language ("dd.MM.yyyy" gives
// "dd/mm/yyyy" with "." as the separator, "HH:mm:ss" gives "hh:nn:ss").
QString CoreDateFormat(const QString& qtFormat);
QString CoreTimeFormat(const QString& qtFormat);
// Fills the core's process-wide format settings from locale.
void LoadFormatSettings(const QLocale& locale);
