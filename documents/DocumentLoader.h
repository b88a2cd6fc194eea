#pragma once

#include "platform/Prompts.h"

#include <QByteArray>
#include <QString>

class QTextEdit;

// The reading area's text mode. Rich keeps fonts, sizes and colours; plain holds bare text, and text loaded
// meanwhile arrives without formatting (rich text files are still read as rich text, so their markup does
// not show). The main window keeps the mode; it starts as rich.
enum class TextMode
{
    Rich,
    Plain
};

// Switches the reading area to `to` and records it in `mode`. Switching to plain re-enters the text
// without any formatting; switching back to rich does not bring the formatting back. The text, caret,
// selection, scroll position and modified flag stay as they were.
void SwitchTextMode(QTextEdit* readingArea, TextMode& mode, TextMode to);

// The open dialog of the Open command: title "Open Parlivo Document", default extension "txt".
FileDialogSpec openDocumentDialog();

// Replaces the content of the reading area with the document at `path`, chosen by its extension in any
// letter case through the table of document formats: .doc, .docx and .odt through the word processor (a status
// window shows meanwhile; a missing or failing word processor is reported to the user and leaves the reading area
// as it was); .pdf and .epub read on a thread of their own, with a loading window for long ones, and a document
// that cannot be read (a scan, a password, copy protection, damage) reported to the user, the reading area left as
// it was; .htm and .html reduced to one line of plain text; .txt as plain text; .rtf as rich text; anything else
// as rich text in rich mode (plain text when the file is not rich text) and as plain text in plain mode. In plain
// mode rich text arrives without its formatting. The caret ends at the start and the modified flag is cleared.
// True when the reading area now holds the document; false when the user cancelled or was told why it cannot be
// read, the reading area as it was. Throws FileError, with the system's reason, when the file cannot be read; the
// reading area keeps its content then. A .docx or .odt that is no zip package at all is reported as damaged and
// never converted.
bool LoadDocumentByType(QTextEdit* readingArea, const QString& path, TextMode mode);

// The steps of loading, for callers that need the text without a reading area.

// The bytes of a document file. Throws FileError when it cannot be read, is not a regular file or is too
// large to open.
QByteArray readDocumentFile(const QString& path);
// Plain text as the reading area shows it: UTF-8 when valid, else Windows-1252; CR LF, CR and LF all end
// a paragraph; zero bytes are dropped and the text around them kept.
QString plainTextFromBytes(const QByteArray& bytes);
// An HTML page as the one line of text it is read as: its lines (ended by CR, LF or CR LF, the text
// ending at a zero byte) joined with CR LF after each, then reduced by HtmlToText.
QString htmlDocumentText(const QByteArray& bytes);
