#include "formats/DocumentLoading.h"

#include "formats/EpubReader.h"
#include "core/TextRoutines.h"
#include "formats/PdfReader.h"
#include "core/TextEncoding.h"
#include "formats/WordProcessorImport.h"
#include "formats/RtfReader.h"
#include "formats/TextRecognition.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <quazip/quazip.h>

#include <algorithm>
#include <limits>

namespace {

using Kind = DocumentLoadError::Kind;

// Larger files are no documents to read aloud, and would take the reading area minutes to lay out.
constexpr qint64 MaxDocumentBytes = 256 * 1024 * 1024;

// Carries a failure from the steps below out to loadDocument, which returns it.
struct LoadFailure
{
    DocumentLoadError error;
};

[[noreturn]] void fail(Kind kind, const QString& message)
{
    throw LoadFailure{{kind, message}};
}

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Opens `file` for reading, or fails with the system's reason. Anything but a regular file is refused before it
// is opened: opening a named pipe would wait for a writer.
void openDocumentFile(QFile& file)
{
    const QFileInfo info(file.fileName());
    if (info.exists() && !info.isFile())
        fail(Kind::NotReadable,
             QCoreApplication::translate("DocumentLoading", "Cannot open file \"%1\". It is not a file.")
                 .arg(nativePath(file.fileName())));
    if (!file.open(QIODevice::ReadOnly))
        fail(info.exists() ? Kind::NotReadable : Kind::NotFound,
             QCoreApplication::translate("DocumentLoading", "Cannot open file \"%1\". %2")
                 .arg(nativePath(file.fileName()), file.errorString()));
}

// The file's bytes, refused past the size limit before a byte of it is read.
QByteArray readDocumentFile(const QString& path)
{
    QFile file(path);
    openDocumentFile(file);
    if (file.size() > MaxDocumentBytes)
        fail(Kind::TooLarge,
             QCoreApplication::translate("DocumentLoading", "Cannot open file \"%1\". It is larger than %2 MB.")
                 .arg(nativePath(path))
                 .arg(MaxDocumentBytes / (1024 * 1024)));
    QByteArray bytes = file.read(MaxDocumentBytes);
    if (file.error() != QFileDevice::NoError)
        fail(Kind::NotReadable, QCoreApplication::translate("DocumentLoading", "Cannot read file \"%1\". %2")
                                    .arg(nativePath(path), file.errorString()));
    return bytes;
}

// Rich text in the given mode; bytes that are not rich text arrive as plain text.
LoadedDocument richTextDocument(const QByteArray& bytes, TextMode mode)
{
    if (!isRtf(bytes))
        return LoadedDocument(plainTextFromBytes(bytes));
    if (mode == TextMode::Rich)
        return LoadedDocument::richText(bytes);
    QTextDocument scratch;
    readRtf(bytes, &scratch);
    return LoadedDocument(scratch.toPlainText());
}

// True when the start of a file is that of a document a word processor reads as a .doc: an OLE2 compound file
// (Word 97 and later, Word 6 and 95), a Word for DOS or Write file, rich text, a Word 2003 XML or HTML file, a
// newer Word file under the old name, or text that was simply named .doc.
bool looksLikeWordFile(const QByteArray& start)
{
    static const QByteArray signatures[] = {
        QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"), QByteArrayLiteral("\x31\xBE\x00\x00"),
        QByteArrayLiteral("\x32\xBE\x00\x00"), QByteArrayLiteral("{\\rtf"), QByteArrayLiteral("PK\x03\x04")};
    for (const QByteArray& signature : signatures) {
        if (start.startsWith(signature))
            return true;
    }
    // Text in any single-byte encoding or UTF-8 holds no control characters but the blanks; random bytes are full
    // of them.
    return !start.isEmpty() && std::none_of(start.begin(), start.end(), [](char c) {
        return uchar(c) < 32 && c != '\t' && c != '\n' && c != '\r' && c != '\f';
    });
}

// A word-processor file that is no such document at all (random bytes, a file cut at its start) is damaged:
// LibreOffice would read its bytes as text. A type kept in a zip package (.docx, .odt) must be one; a package cut
// short is left for LibreOffice to judge, and an older Word file saved under the newer name goes on, as LibreOffice
// reads it.
void checkWordProcessorFile(QFile& file, const DocumentFormat& format)
{
    auto damaged = [&](const QString& what) {
        fail(Kind::Damaged,
             QCoreApplication::translate("DocumentLoading", "\"%1\" is damaged or is not %2, so it cannot be read.")
                 .arg(QFileInfo(file.fileName()).fileName(), translatedFormatText(what)));
    };
    if (format.packageName.isEmpty()) {
        if (!looksLikeWordFile(file.read(4096)))
            damaged(QStringLiteral("a Word document"));
        return;
    }
    // QuaZip finds a package by its directory at the end, which also finds one behind a leading stub.
    QuaZip package(file.fileName());
    if (package.open(QuaZip::mdUnzip))
        return;
    // A zip's first entry, or an older Word file.
    const QByteArray start = file.read(4);
    if (start == QByteArrayLiteral("PK\x03\x04") || start == QByteArrayLiteral("\xD0\xCF\x11\xE0"))
        return;
    damaged(format.packageName);
}

LoadedDocument loadWordProcessorDocument(const QString& path, TextMode mode, const DocumentFormat& format,
                                         ReadProgress* progress)
{
    // A file that cannot be read, or is no package, is reported as such, not as a missing word processor.
    {
        QFile probe(path);
        openDocumentFile(probe);
        checkWordProcessorFile(probe, format);
    }
    QByteArray converted;
    try {
        converted = convertDocument(path, QStringLiteral("rtf"), std::chrono::seconds(60),
                                    progress ? &progress->stop : nullptr);
    } catch (const WordProcessorError&) {
        if (progress && progress->stop)
            fail(Kind::Cancelled, ReadCancelled().message());
        // .doc keeps its one message for every failure; the newer types tell a missing LibreOffice from a file
        // it could not open.
        const bool missing = wordProcessorProgram().isEmpty() || !QFileInfo(wordProcessorProgram()).isExecutable();
        const Kind kind = missing ? Kind::ConverterMissing : Kind::ConverterFailed;
        if (format.extensions.contains(QLatin1String("doc")) || missing)
            fail(kind, translatedFormatText(format.readerMessage));
        fail(kind, QCoreApplication::translate(
                       "DocumentLoading",
                       "\"%1\" is damaged or is not a document LibreOffice can open, so it cannot be read.")
                       .arg(QFileInfo(path).fileName()));
    }
    // LibreOffice writes list bullets as the Symbol and Wingdings fonts' private characters; its own text
    // reading turns them into the bullets they show.
    converted.replace("\\u61623", "\\u8226").replace("\\u61607", "\\u9642").replace("\\u61656", "\\u10146");
    return richTextDocument(converted, mode);
}

Kind kindOf(UnreadableDocument::Reason reason)
{
    switch (reason) {
    case UnreadableDocument::Reason::Damaged:
        return Kind::Damaged;
    case UnreadableDocument::Reason::NoText:
        return Kind::NoText;
    case UnreadableDocument::Reason::PasswordProtected:
        return Kind::PasswordProtected;
    case UnreadableDocument::Reason::CopyProtected:
        return Kind::CopyProtected;
    case UnreadableDocument::Reason::TooLarge:
        return Kind::TooLarge;
    }
    return Kind::Damaged;
}

// One paragraph a line.
QString paragraphText(const TextBlocks& blocks)
{
    QStringList paragraphs;
    paragraphs.reserve(blocks.size());
    for (const TextBlock& block : blocks)
        paragraphs << block.text;
    return paragraphs.join(QLatin1Char('\n'));
}

// PDF, EPUB and pictures: the paragraphs their reader finds, headings bold in rich mode. Pages recognised with
// little confidence are added to `doubtfulPages`.
LoadedDocument loadWithReader(const QString& path, TextMode mode, TextBlocks (*read)(const QString&, ReadProgress*),
                              ReadProgress* progress, QList<int>* doubtfulPages)
{
    ReadProgress own;
    if (!progress)
        progress = &own;
    {
        // The readers would call a file they may not open damaged.
        QFile probe(path);
        openDocumentFile(probe);
    }
    TextBlocks blocks;
    try {
        blocks = read(path, progress);
    } catch (const ReadCancelled& cancelled) {
        fail(Kind::Cancelled, cancelled.message());
    } catch (const UnreadableDocument& error) {
        fail(kindOf(error.reason()), error.message());
    }
    *doubtfulPages = progress->doubtfulPages;
    return mode == TextMode::Rich ? LoadedDocument::paragraphs(std::move(blocks))
                                  : LoadedDocument(paragraphText(blocks));
}

TextBlocks readPdfBlocks(const QString& path, ReadProgress* progress)
{
    return readPdf(path, progress);
}

TextBlocks readEpubBlocks(const QString& path, ReadProgress* progress)
{
    return readEpub(path, progress);
}

TextBlocks readPictureBlocks(const QString& path, ReadProgress* progress)
{
    return readPicture(path, progress);
}

LoadedDocument loadByKind(const QString& path, TextMode mode, ReadProgress* progress, QList<int>* doubtfulPages)
{
    const DocumentFormat* format = formatForPath(path);
    if (format && format->kind == DocumentKind::WordProcessor)
        return loadWordProcessorDocument(path, mode, *format, progress);
    if (format && format->kind == DocumentKind::Pdf)
        return loadWithReader(path, mode, &readPdfBlocks, progress, doubtfulPages);
    if (format && format->kind == DocumentKind::Epub)
        return loadWithReader(path, mode, &readEpubBlocks, progress, doubtfulPages);
    if (format && format->kind == DocumentKind::Picture)
        return loadWithReader(path, mode, &readPictureBlocks, progress, doubtfulPages);
    const QByteArray bytes = readDocumentFile(path);
    const DocumentKind kind =
        format ? format->kind : (mode == TextMode::Rich ? DocumentKind::RichText : DocumentKind::PlainText);
    if (kind == DocumentKind::Html)
        return LoadedDocument(htmlDocumentText(bytes));
    if (kind == DocumentKind::RichText)
        return richTextDocument(bytes, mode);
    return LoadedDocument(plainTextFromBytes(bytes));
}

} // namespace

LoadedDocument LoadedDocument::richText(QByteArray rtf)
{
    LoadedDocument document;
    document.mContent = std::move(rtf);
    return document;
}

LoadedDocument LoadedDocument::paragraphs(TextBlocks blocks)
{
    LoadedDocument document;
    document.mContent = std::move(blocks);
    return document;
}

void LoadedDocument::putInto(QTextDocument* document) const
{
    // Turning undo off for the change also empties its history: the loaded text is where undoing stops.
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    putInParts(document, std::numeric_limits<qsizetype>::max(), [](double) { return true; });
    document->setUndoRedoEnabled(undo);
    document->setModified(false);
}

void RemoveWholeText(QTextCursor& cursor)
{
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.setBlockCharFormat(QTextCharFormat());
    cursor.setCharFormat(QTextCharFormat());
}

bool LoadedDocument::putInParts(QTextDocument* document, qsizetype partChars,
                                const std::function<bool(double)>& step) const
{
    if (const QByteArray* rtf = std::get_if<QByteArray>(&mContent)) {
        readRtf(*rtf, document);
        return true;
    }
    const TextBlocks* blocks = std::get_if<TextBlocks>(&mContent);
    const QString text = blocks ? paragraphText(*blocks) : std::get<QString>(mContent);
    // Each part ends with a paragraph, so no paragraph is laid out twice.
    qsizetype from = 0;
    do {
        qsizetype to = text.size();
        if (text.size() - from > partChars) {
            to = from + partChars;
            // A paragraph longer than a part goes in whole: laid out again at every part, it would take far longer.
            qsizetype paragraphEnd = text.lastIndexOf(QLatin1Char('\n'), to - 1);
            if (paragraphEnd <= from)
                paragraphEnd = text.indexOf(QLatin1Char('\n'), to);
            to = paragraphEnd < 0 ? text.size() : paragraphEnd + 1;
        }
        // The parts make one edit, so a document loaded over other text is one step that Undo takes back.
        QTextCursor cursor(document);
        if (from == 0) {
            cursor.beginEditBlock();
            RemoveWholeText(cursor);
        } else {
            cursor.joinPreviousEditBlock();
            cursor.movePosition(QTextCursor::End);
        }
        cursor.insertText(text.sliced(from, to - from));
        cursor.endEditBlock();
        from = to;
    } while (from < text.size() && step(double(from) / double(text.size())));
    if (from < text.size())
        return false;
    if (blocks) {
        QTextCharFormat heading;
        heading.setFontWeight(QFont::Bold);
        QTextCursor edit(document);
        edit.joinPreviousEditBlock();
        for (qsizetype i = 0; i < blocks->size(); ++i) {
            if (blocks->at(i).heading == 0)
                continue;
            QTextCursor cursor(document->findBlockByNumber(static_cast<int>(i)));
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(heading);
        }
        edit.endEditBlock();
    }
    return true;
}

DocumentLoadResult loadDocument(const QString& path, TextMode mode, ReadProgress* progress)
{
    try {
        DocumentLoadResult result;
        result.document = loadByKind(path, mode, progress, &result.doubtfulPages);
        return result;
    } catch (const LoadFailure& failure) {
        return {LoadedDocument(), failure.error, {}};
    }
}

std::optional<DocumentLoadError> documentFileError(const QString& path)
{
    try {
        QFile file(path);
        openDocumentFile(file);
    } catch (const LoadFailure& failure) {
        return failure.error;
    }
    return std::nullopt;
}

QString plainTextFromBytes(const QByteArray& bytes)
{
    const QString decoded = decodeText(bytes);
    QString text(decoded.size(), Qt::Uninitialized);
    const QChar* in = decoded.constData();
    QChar* out = text.data();
    qsizetype n = 0;
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        const char16_t c = in[i].unicode();
        if (c == u'\r') {
            out[n++] = QLatin1Char('\n');
            if (i + 1 < decoded.size() && in[i + 1] == QLatin1Char('\n'))
                ++i;
        } else if (c != 0) {
            out[n++] = in[i];
        }
    }
    text.truncate(n);
    return text;
}

QString htmlDocumentText(const QByteArray& bytes)
{
    QString text = decodeText(bytes);
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0)
        text.truncate(zero);
    QString joined;
    joined.reserve(text.size() + text.size() / 8);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        joined += QStringView(text).sliced(start, i - start);
        joined += QLatin1String("\r\n");
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size()) {
        joined += QStringView(text).sliced(start);
        joined += QLatin1String("\r\n");
    }
    return HtmlToText(joined);
}
