#pragma once

#include <QString>
#include <QStringList>

// Small stateless routines shared by the whole program.

// Reduces an HTML page to one line of plain text for reading aloud: the words a browser shows, the title first,
// character references translated, one space wherever white space or a break between blocks stands. Scripts,
// styles and comments are not read; markup that never ends loses only its "<".
QString HtmlToText(const QString& text);
// Shortens each run of spaces to one space.
QString CollapseSpaces(const QString& text);
// Shortens each run of the one-character string `ch` to one; a longer `ch` leaves the text unchanged.
QString CollapseCharRuns(const QString& text, const QString& ch);
// Replaces every CR LF pair by one space; lone CR and LF stay.
QString CrLfToSpace(const QString& text);
// Trims every character of code 32 or below from both ends.
QString TrimControl(const QString& text);
QString TrimLeftControl(const QString& text);
