#pragma once

#include <QString>

// The most text taken from another program in one go: about a long book. A selection beyond it is refused with a
// message rather than freezing the window while it is laid out.
inline constexpr qsizetype MaxGivenText = 2'000'000;

// Text handed over by another program (its selection, the clipboard, a call of the desktop service), made fit to read:
// line endings made '\n', control characters other than tabs and line breaks dropped, blanks trimmed at both ends.
// Returns the empty text, with `problem` set to a message for the user, when nothing readable is left, when the text
// is mostly not text (binary data offered as text), or when it is longer than MaxGivenText.
QString readableGivenText(const QString& given, QString* problem);
