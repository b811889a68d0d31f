// A reader for the plain rich text the program ships (the licence text): it keeps the
// characters and the paragraph breaks and drops every formatting word and every
// destination group (font and colour tables, document information, pictures).
#pragma once

#include <QByteArray>
#include <QString>

// The text of an RTF document, paragraphs separated by "\n". Bytes above 127 and
// "\'hh" escapes are code page 1251; "\uN" gives the character N and skips its
// fallback. Throws Exception when the bytes are no RTF document (no "{\rtf" at the
// start, or braces that do not balance).
QString RtfToPlainText(const QByteArray& rtf);

// The text of an RTF file; throws Exception naming the file when it cannot be read.
QString ReadRtfFile(const QString& fileName);
