#pragma once

#include "window/readingarea/DocumentLoader.h"

#include <QString>

class QTextEdit;

enum class SaveFormat
{
    PlainText,
    RichText
};

// The save dialog of Save and Save As: title "Save Text Document", text and rich text filters, default
// extension "txt". It replaces an existing file without a question.
FileDialogSpec saveTextDialog();

// What a file of this name receives: plain text for .txt and rich text for .rtf in any letter case;
// other names follow the reading area's mode.
SaveFormat saveFormatFor(const QString& path, TextMode mode);

// True when the reading area holds nothing but characters of code 32 or below and was never edited.
bool nothingToSave(const QTextEdit* readingArea);

// Writes the whole text of the reading area to `path`. Plain text is UTF-8 with CR LF line ends (our
// loader and Windows editors read both); rich text is RTF. The file is replaced only once the new
// content is completely written, so a failure leaves an existing file as it was. Throws FileError with
// the system's reason.
void writeReadingArea(const QTextEdit* readingArea, const QString& path, SaveFormat format);

// Save to a chosen name: a .txt name switches the reading area to plain mode, any other name to rich
// mode, and the area stays in that mode; then the file is written in the format saveFormatFor gives.
void SaveTextTo(QTextEdit* readingArea, const QString& path, TextMode& mode);
// Save As to a chosen name: written in plain mode (so names other than .txt and .rtf receive plain
// text), then the area returns to rich mode without its formatting.
void SaveTextAsTo(QTextEdit* readingArea, const QString& path, TextMode& mode);

// The Save and Save As commands: "There is nothing to save." when nothing is there, else the save
// dialog and the steps above. False when no file was written (nothing to save, or the user cancelled).
// Throws FileError when the file cannot be written; `mode` then holds the mode already set.
bool SaveReadingArea(QTextEdit* readingArea, TextMode& mode);
bool SaveReadingAreaAs(QTextEdit* readingArea, TextMode& mode);
