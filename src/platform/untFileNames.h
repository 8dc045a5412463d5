// File names as the file system holds them. On Linux a name is bytes, and not
// every name is UTF-8: a disk shared with an older system holds names in a
// single-byte code page. Such a name is kept in a QString byte for byte, so
// that the file opens: a byte outside any UTF-8 sequence is kept as the code
// point U+DC00 + byte, which no valid text holds, and is given back unchanged
// for the file system. Qt's own file classes do not know this, so the program
// opens these names only through the byte form.
#pragma once

#include <QString>

#include <string>

class QUrl;

QString FileNameFromBytes(const std::string& bytes);
std::string FileNameBytes(const QString& name);
// The name as shown to the user: each kept byte reads as U+FFFD, as in every
// other text the program converts from bytes that are not UTF-8.
QString ShownFileName(const QString& name);
// The local file of a file URL, byte for byte; empty for other URLs.
QString LocalFileOfUrl(const QUrl& url);
