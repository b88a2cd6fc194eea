#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// How Parlivo turns the bytes of its text files into text and back. Files made on other desktops arrive as
// UTF-8 or in a Windows single-byte code page, most often Windows-1252.

// UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252. A UTF-8 byte-order mark is dropped, and a
// UTF-16 byte-order mark (as Notepad's "Unicode" files carry) selects UTF-16.
QString decodeText(const QByteArray& bytes);
// Windows-1252 when every character has a place in it and decodeText cannot take the bytes for UTF-8 or a
// byte-order mark; otherwise UTF-8. Whatever is written reads back exactly.
QByteArray encodeText(const QString& text);

bool isValidUtf8(QByteArrayView bytes);
bool fitsWindows1252(const QString& text);

// The bytes of a Windows code page as text. 1250 to 1258 come from built-in tables; other code pages
// (874, 932, 936, 949, 950, 437, 850, 10000, ...) from the system's converters; an unknown code page
// reads as 1252.
QString decodeCodePage(QByteArrayView bytes, int codePage);
// The Windows-1252 byte of a character, or -1 when the code page has none.
int windows1252Byte(char16_t ch);
