#pragma once

#include "core/Errors.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// How the text of a document is obtained.
enum class DocumentKind
{
    Html,          // reduced to one line of plain text
    RichText,      // read by our RTF reader
    PlainText,     // decoded as text
    WordProcessor, // converted by LibreOffice, with its formatting
    Pdf,           // the text layer, through Poppler
    Epub,          // the chapters' text, in reading order
    Picture        // text recognised in the picture, page by page
};

// One type of document the program opens: the Open dialog's entry, the extensions, the reader, and what the
// desktop calls it.
struct DocumentFormat
{
    DocumentKind kind;
    QString filterName;     // the Open dialog's entry, e.g. "PDF Document (*.pdf)"
    QStringList extensions; // lower case, without the dot, as the dialog lists them
    QStringList mimeTypes;  // for the desktop entry
    QString readerMessage;  // shown when the word processor is missing; empty for the other kinds
    QString packageName;    // for a type kept in a zip package: what a damaged file is not, e.g. "a Word document"
};

// Every document type, in the order of the Open dialog.
const QList<DocumentFormat>& documentFormats();
// The format of `path` by its extension in any letter case; null for any other file.
const DocumentFormat* formatForPath(const QString& path);
// One of the table's texts (a filter name, a reader message, a package name) in the window's language.
QString translatedFormatText(const QString& text);
// The Open dialog's filter: "Valid Documents" with every extension, one entry per format, then "All Files".
QString openDocumentFilter();
// The MIME types of every format, ";"-separated and ";"-ended as a desktop entry lists them.
QString documentMimeTypes();

// A paragraph of a document read by one of our readers; a heading has a level from 1.
struct TextBlock
{
    QString text;
    int heading = 0;

    bool operator==(const TextBlock&) const = default;
};
using TextBlocks = QList<TextBlock>;

// A document that cannot be read: scanned pages without text, a password, copy protection, damage. The
// message is meant for the user as it stands.
class UnreadableDocument : public ParlivoError
{
public:
    enum class Reason
    {
        Damaged,
        NoText,
        PasswordProtected,
        CopyProtected,
        TooLarge
    };
    UnreadableDocument(Reason reason, const QString& message) : ParlivoError(message), mReason(reason) {}
    Reason reason() const { return mReason; }

private:
    Reason mReason;
};

// Reading a long document reports how far it is and stops when asked to. Both are used from the reading
// thread.
struct ReadProgress
{
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    std::atomic<bool> stop{false};
    // Set while pages are being recognised, when done and total count those pages.
    std::atomic<bool> recognising{false};
    // Pages (from 1) recognised with little confidence; written by the reading thread, read once it is done.
    QList<int> doubtfulPages;
};

// Thrown by a reader that was asked to stop.
class ReadCancelled : public ParlivoError
{
public:
    ReadCancelled() : ParlivoError(QStringLiteral("Reading the document was cancelled.")) {}
};
