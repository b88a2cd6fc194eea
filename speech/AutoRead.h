#pragma once

#include <QChar>
#include <QString>

// Auto-read modes, numbered as the settings file stores them.
enum class AutoReadMode : quint8
{
    Off = 0,
    SingleWord = 1,
    Sentence = 2,
};

// True when typing key completes something to speak in the mode: Enter, space or ! . ; ? for single
// words, ! . ; ? for sentences, nothing when auto-read is off.
bool IsAutoReadTrigger(QChar key, AutoReadMode mode);

// What auto-read speaks when key is typed with the caret at position caret of text: the word (single word) or
// sentence (sentence mode) that ends just before the caret, from the last delimiter before it, followed by the
// key, with characters of code 32 or below trimmed from both ends. Empty when the key triggers nothing
// or nothing is left to speak.
//
// text is the reading area's plain text, in which each line break is one character (as
// QTextEdit::toPlainText gives it), and caret counts characters of that text from 0. Line breaks are read
// as spaces: they separate words, never sentences. Characters after the caret are never part of the
// fragment.
QString AutoReadFragment(const QString& text, int caret, QChar key, AutoReadMode mode);
