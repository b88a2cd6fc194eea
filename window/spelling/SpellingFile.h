#pragma once

#include <QString>
#include <QStringList>

// A spelling test file: line 1 the introduction, line 2 the closing remark, then one line per word of the
// form word, comma, seconds ("cat,20"). Widget-free: the builder, the test and the assistant read it here.

namespace Spelling {
inline constexpr int WordRows = 49;      // word rows the builder offers and writes at most
inline constexpr int MaxWordLength = 25; // letters in a word cell
inline constexpr int MaxTimeDigits = 3;  // digits in a time cell
inline constexpr int MaxAnswerLength = 20;
inline constexpr char DefaultTime[] = "15"; // seconds written where the teacher left the time blank
inline constexpr char Extension[] = "pvt";
inline constexpr char TestFolder[] = "Spelling Test Files"; // beside the program
inline constexpr char ListFolder[] = "Lists";
} // namespace Spelling

struct WordLine
{
    QString word;    // the text before the first comma
    QString seconds; // the text after it; the whole line when there is no comma
};

// Splits file text into lines at CR LF, lone CR and lone LF. A last line without a line end counts; a line end at
// the very end adds no empty line.
QStringList SplitSpellingLines(const QString& text);

// Decodes file bytes: the text ends at the first zero byte; UTF-8 when valid, otherwise Windows-1252.
QString DecodeSpellingText(const QByteArray& bytes);
// Encodes file text: Windows-1252 when every character fits, otherwise UTF-8, so no letter is ever lost.
QByteArray EncodeSpellingText(const QString& text);

// All lines of a spelling file. Throws FileError with the system's text when the file cannot be read.
QStringList ReadSpellingLines(const QString& path);

// Writes the lines, each followed by CR LF, replacing any file of that name. A line that holds line breaks
// (a remark typed over several lines) is written as one line (see OneLine). The previous file survives a failed
// write. Throws FileError with the system's text.
void WriteSpellingLines(const QString& path, const QStringList& lines);

// A remark as one line of the file: its lines joined with single spaces, empty lines dropped.
QString OneLine(const QString& text);

// Splits a word line at its first comma.
WordLine SplitWordLine(const QString& line);

// The word lines of a whole file: the two remarks and every blank line removed, in file order.
QStringList TestWordLines(const QStringList& fileLines);

// "dog" gives "d o g".
QString SpelledOut(const QString& word);

// The file name without its folder and its last four characters ("week3.pvt" gives "week3"); a name of three
// characters or fewer is shown whole.
QString DisplayName(const QString& path);
