#pragma once

#include "formats/DocumentLoading.h"
#include "core/Prompts.h"

#include <QString>

class QTextEdit;

// Switches the reading area to `to` and records it in `mode`. Switching to plain re-enters the text
// without any formatting; switching back to rich does not bring the formatting back. The text, caret,
// selection, scroll position and modified flag stay as they were.
void SwitchTextMode(QTextEdit* readingArea, TextMode& mode, TextMode to);

// The open dialog of the Open command: title "Open Parlivo Document", default extension "txt".
FileDialogSpec openDocumentDialog();

// Replaces the content of the reading area with the document at `path`, loaded by loadDocument: a word-processor
// document with a status window showing meanwhile; a PDF, EPUB or picture on a thread of its own, with a loading
// window for long ones that shows how far it is and can cancel. `note`, when given, receives what the user should
// be told once the document shows (the pages that may be misread), or nothing. A document that cannot be read (a
// missing or failing word processor, no text even in its pictures, a password, copy protection, damage) is reported to the user and leaves
// the reading area as it was. The caret ends at the start and the modified flag is cleared. True when the reading area
// now holds the document; false when the user cancelled or was told why it cannot be read, the reading area as it was.
// Throws FileError, with the system's reason, when the file cannot be read or is too large to open; the reading area
// keeps its content then. Over text already there, the document comes in as one step that Undo takes back.
bool LoadDocumentByType(QTextEdit* readingArea, const QString& path, TextMode mode, QString* note = nullptr);
