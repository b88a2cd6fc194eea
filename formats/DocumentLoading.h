#pragma once

#include "formats/DocumentFormats.h"

#include <QByteArray>
#include <QTextCursor>
#include <QString>

#include <functional>
#include <optional>
#include <variant>

class QTextDocument;

// The reading area's text mode. Rich keeps fonts, sizes and colours; plain holds bare text, and text loaded
// meanwhile arrives without formatting (rich text files are still read as rich text, so their markup does
// not show). The main window keeps the mode; it starts as rich.
enum class TextMode
{
    Rich,
    Plain
};

// Why a document could not be loaded, with the message the user is told.
struct DocumentLoadError
{
    enum class Kind
    {
        NotFound,
        NotReadable, // not a regular file, or the system refuses to read it
        TooLarge,    // past the size limit, or a book that unpacks to far more than a book holds
        NoText,      // scanned pages, an empty book
        PasswordProtected,
        CopyProtected,
        Damaged,
        ConverterMissing, // no word processor to convert it
        ConverterFailed,  // the word processor could not convert it
        Cancelled         // stopped through its ReadProgress
    };

    Kind kind;
    QString message;
};

// A document's text with the formatting the reading area gives it: plain text, rich text with its fonts, or
// paragraphs whose headings are bold. It holds no QObject, so it may be loaded on one thread and shown on
// another.
// Takes away the whole text through the cursor, leaving none of its formats for what comes next (it would take the
// old text's first heading or colour). Inside the caller's edit block, so Undo brings the text back.
void RemoveWholeText(QTextCursor& cursor);

class LoadedDocument
{
public:
    explicit LoadedDocument(QString plainText = {}) : mContent(std::move(plainText)) {}
    static LoadedDocument richText(QByteArray rtf);
    static LoadedDocument paragraphs(TextBlocks blocks);

    // Replaces the content of `document` with this one, leaving it unmodified and without undo history.
    void putInto(QTextDocument* document) const;
    // The same a part of about `partChars` characters (whole paragraphs) at a time, each part a change of its own, so
    // whatever lays out or marks the document does it in parts. Between two parts `step` is told the share put in so
    // far; when it returns false the document is left as it stands, untouched from then on (it may be gone). Rich text
    // goes in whole. Undo and redo stay as the caller set them. True when all of it went in.
    bool putInParts(QTextDocument* document, qsizetype partChars, const std::function<bool(double)>& step) const;
    // Rich text, which goes in whole.
    bool isRichText() const { return std::holds_alternative<QByteArray>(mContent); }

private:
    // Plain text, the bytes of a rich text file, or paragraphs.
    std::variant<QString, QByteArray, TextBlocks> mContent;
};

// A loaded document, or why there is none (the document is then empty).
struct DocumentLoadResult
{
    LoadedDocument document;
    std::optional<DocumentLoadError> error;
    QList<int> doubtfulPages{}; // recognised pages (from 1) that may be misread
};

// Loads the document at `path`, chosen by its extension in any letter case through the table of document
// formats: .doc, .docx and .odt converted by the word processor (waiting for it with the windows painted but
// no user input taken); .pdf, .epub and pictures through their readers (the text of pictures and scanned pages
// recognised), reporting to `progress` and stopping when it
// asks; .htm and .html reduced to one line of plain text; .txt as plain text; .rtf as rich text; anything else
// as rich text in rich mode (plain text when the file is not rich text) and as plain text in plain mode. In
// plain mode rich text and headings arrive without their formatting. Never shows anything. A .docx or .odt that
// is no zip package at all is damaged and never converted.
DocumentLoadResult loadDocument(const QString& path, TextMode mode, ReadProgress* progress = nullptr);

// Why the file at `path` cannot be opened for reading, as loadDocument would report it; nothing when it can.
std::optional<DocumentLoadError> documentFileError(const QString& path);

// Plain text as the reading area shows it: UTF-8 when valid, else Windows-1252; CR LF, CR and LF all end
// a paragraph; zero bytes are dropped and the text around them kept.
QString plainTextFromBytes(const QByteArray& bytes);
// An HTML page as the one line of text it is read as: its lines (ended by CR, LF or CR LF, the text
// ending at a zero byte) joined with CR LF after each, then reduced by HtmlToText.
QString htmlDocumentText(const QByteArray& bytes);
