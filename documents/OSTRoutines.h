#pragma once

#include <QString>
#include <QStringList>
#include <chrono>

class QTableWidget;

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

struct RunResult
{
    bool started = false;
    bool timedOut = false;
    bool crashed = false;
    int exitCode = 0; // -1 when the program crashed or was killed at the time limit
};

// Runs a program with an argument vector (never through a shell) and waits for it, at most `limit`;
// a program still running then is killed. Keeps the caller's window painted while it waits.
RunResult RunProgram(const QString& program, const QStringList& arguments,
                     std::chrono::milliseconds limit = std::chrono::minutes(30));
// The exit code of the program, 0 when it could not be started (use RunProgram to tell the two apart).
int RunAndWait(const QString& program, const QStringList& arguments);

// Appends to `list` the bare names of the files that match the mask ("folder/*.pvc"); the folder part is
// matched without regard to letter case when the exact folder does not exist.
void ListFiles(const QString& mask, QStringList& list);
// Opens a document, address or program with the desktop's handler.
void ShellOpen(const QString& target);

// Grids: a QTableWidget whose horizontal header is the design's fixed header row, so design row r (r >= 1)
// is table row r - 1.
// Keeps the header texts, empties every cell and leaves one empty row.
void ClearGridKeepHeader(QTableWidget* grid);
// True when every cell of the first column is empty or holds only characters of code 32 or below.
bool GridFirstColumnBlank(const QTableWidget* grid);
