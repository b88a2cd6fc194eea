#include "documents/DocumentLoader.h"

#include "dialogs/uStatus.h"
#include "documents/DocumentFormats.h"
#include "documents/EpubReader.h"
#include "documents/OSTRoutines.h"
#include "documents/PdfReader.h"
#include "platform/Errors.h"
#include "platform/TextEncoding.h"
#include "platform/WordProcessorImport.h"
#include "platform/rtf/RtfReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>
#include <QTimer>

#include <exception>
#include <memory>

namespace {

// Larger files are no documents to read aloud, and would take the reading area minutes to lay out.
constexpr qint64 kMaxDocumentBytes = 256 * 1024 * 1024;

QString nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

void replaceWithPlainText(QTextEdit* readingArea, const QString& text)
{
    QTextDocument* document = readingArea->document();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->setPlainText(text);
    document->setUndoRedoEnabled(undo);
}

// Rich text in the reading area's mode; bytes that are not rich text arrive as plain text.
void replaceWithRichText(QTextEdit* readingArea, const QByteArray& bytes, TextMode mode)
{
    if (!isRtf(bytes)) {
        replaceWithPlainText(readingArea, plainTextFromBytes(bytes));
    } else if (mode == TextMode::Rich) {
        readRtf(bytes, readingArea->document());
    } else {
        QTextDocument scratch;
        readRtf(bytes, &scratch);
        replaceWithPlainText(readingArea, scratch.toPlainText());
    }
}

void finishLoad(QTextEdit* readingArea)
{
    readingArea->document()->setModified(false);
    readingArea->moveCursor(QTextCursor::Start);
}

// Closes the status window however the word-processor path ends.
class StatusWindow
{
public:
    StatusWindow(const QString& caption, const QString& message) : m_handle(ShowStatus(caption, message)) {}
    ~StatusWindow() { close(); }
    void close()
    {
        CloseStatus(m_handle);
        m_handle.clear();
    }

private:
    StatusHandle m_handle;
};

bool loadWordProcessorDocument(QTextEdit* readingArea, const QString& path, TextMode mode, const DocumentFormat& format)
{
    // A file that cannot be read is reported as such, not as a missing word processor.
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot open file \"%1\". %2").arg(nativePath(path), probe.errorString()));
    probe.close();
    // Bytes that are no package at all would come back from LibreOffice as text, read from whatever they hold.
    try {
        checkDocumentPackage(path, format);
    } catch (const UnreadableDocument& error) {
        prompts().message(error.message(), MessageKind::Error);
        return false;
    }

    // The conversion keeps the windows painted; should the reading area go meanwhile, there is nothing to fill.
    const QPointer<QTextEdit> area(readingArea);
    StatusWindow status(QStringLiteral("Loading Document"), QStringLiteral("Document is loading, please wait ..."));
    QByteArray converted;
    try {
        converted = convertDocument(path, QStringLiteral("rtf"));
    } catch (const WordProcessorError&) {
        status.close();
        // .doc keeps its one message for every failure; the newer types tell a missing LibreOffice from a file
        // it could not open.
        const bool missing = wordProcessorProgram().isEmpty() || !QFileInfo(wordProcessorProgram()).isExecutable();
        if (format.extensions.contains(QLatin1String("doc")) || missing)
            prompts().message(format.readerMessage, MessageKind::Information);
        else
            prompts().message(QStringLiteral("\"%1\" is damaged or is not a document LibreOffice can open, so it "
                                             "cannot be read.")
                                  .arg(QFileInfo(path).fileName()),
                              MessageKind::Error);
        return false;
    }
    if (!area)
        return false;
    // LibreOffice writes list bullets as the Symbol and Wingdings fonts' private characters; its own text
    // reading turns them into the bullets they show.
    converted.replace("\\u61623", "\\u8226").replace("\\u61607", "\\u9642").replace("\\u61656", "\\u10146");
    replaceWithRichText(readingArea, converted, mode);
    status.close();
    finishLoad(readingArea);
    return true;
}

using BlockReader = TextBlocks (*)(const QString&, ReadProgress*);

// How long a reading runs before its loading window appears: quick documents open without a flash.
constexpr int kStatusDelayMs = 400;

// Reads on a thread of its own while the windows stay painted; after a moment a loading window shows how far
// it is and lets the user cancel. Rethrows what the reader threw.
TextBlocks readInBackground(const QString& path, BlockReader read)
{
    ReadProgress progress;
    TextBlocks blocks;
    std::exception_ptr failure;
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            blocks = read(path, &progress);
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    QEventLoop loop;
    QTimer tick;
    tick.setSingleShot(true);
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    thread->start();
    StatusHandle status;
    while (!thread->isFinished()) {
        tick.start(50);
        // Until the loading window is up, the user's input waits; the window is modal, so once it shows only its
        // Cancel button takes input.
        loop.exec(status ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        if (!status && !thread->isFinished() && clock.elapsed() > kStatusDelayMs) {
            status =
                ShowStatus(QStringLiteral("Loading Document"), QStringLiteral("Document is loading, please wait ..."));
            if (status)
                status->showProgress();
        }
        if (status) {
            const int total = progress.total;
            status->setProgress(total > 0 ? double(progress.done) / total : -1.0);
            if (status->cancelled())
                progress.stop = true;
        }
    }
    thread->wait();
    CloseStatus(status);
    if (failure)
        std::rethrow_exception(failure);
    return blocks;
}

void replaceWithBlocks(QTextEdit* readingArea, const TextBlocks& blocks, TextMode mode)
{
    QStringList paragraphs;
    paragraphs.reserve(blocks.size());
    for (const TextBlock& block : blocks)
        paragraphs << block.text;
    replaceWithPlainText(readingArea, paragraphs.join(QLatin1Char('\n')));
    if (mode != TextMode::Rich)
        return;
    QTextDocument* document = readingArea->document();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCharFormat heading;
    heading.setFontWeight(QFont::Bold);
    for (qsizetype i = 0; i < blocks.size(); ++i) {
        if (blocks[i].heading == 0)
            continue;
        QTextCursor cursor(document->findBlockByNumber(static_cast<int>(i)));
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(heading);
    }
    document->setUndoRedoEnabled(undo);
}

// PDF and EPUB: the whole text is read before the reading area changes, so a failure or a cancel leaves it
// as it was.
bool loadWithReader(QTextEdit* readingArea, const QString& path, TextMode mode, BlockReader read)
{
    if (!QFileInfo(path).isFile())
        readDocumentFile(path); // throws the file error with the system's reason
    const QPointer<QTextEdit> area(readingArea);
    TextBlocks blocks;
    try {
        blocks = readInBackground(path, read);
    } catch (const ReadCancelled&) {
        return false;
    } catch (const UnreadableDocument& error) {
        prompts().message(error.message(), error.reason() == UnreadableDocument::Reason::Damaged
                                               ? MessageKind::Error
                                               : MessageKind::Information);
        return false;
    }
    if (!area)
        return false;
    replaceWithBlocks(readingArea, blocks, mode);
    finishLoad(readingArea);
    return true;
}

TextBlocks readPdfBlocks(const QString& path, ReadProgress* progress)
{
    return readPdf(path, progress);
}

TextBlocks readEpubBlocks(const QString& path, ReadProgress* progress)
{
    return readEpub(path, progress);
}

} // namespace

void SwitchTextMode(QTextEdit* readingArea, TextMode& mode, TextMode to)
{
    if (mode == to)
        return;
    mode = to;
    // Paste and drop follow the mode: rich text pasted into a plain area would be lost at the next save.
    readingArea->setAcceptRichText(to == TextMode::Rich);
    if (to == TextMode::Rich)
        return;

    QTextDocument* document = readingArea->document();
    const QTextCursor cursor = readingArea->textCursor();
    const int anchor = cursor.anchor();
    const int position = cursor.position();
    const bool modified = document->isModified();
    const int vertical = readingArea->verticalScrollBar()->value();
    const int horizontal = readingArea->horizontalScrollBar()->value();

    // An embedded object becomes a space rather than vanishing, so positions in the text stay the same.
    QString text = readingArea->toPlainText();
    text.replace(QChar::ObjectReplacementCharacter, QLatin1Char(' '));
    replaceWithPlainText(readingArea, text);

    QTextCursor restored(document);
    const int end = static_cast<int>(text.size());
    restored.setPosition(std::min(anchor, end));
    restored.setPosition(std::min(position, end), QTextCursor::KeepAnchor);
    readingArea->setTextCursor(restored);
    document->setModified(modified);
    readingArea->verticalScrollBar()->setValue(vertical);
    readingArea->horizontalScrollBar()->setValue(horizontal);
}

FileDialogSpec openDocumentDialog()
{
    FileDialogSpec dialog;
    dialog.title = QStringLiteral("Open Parlivo Document");
    dialog.filter = openDocumentFilter();
    dialog.defaultExtension = QStringLiteral("txt");
    dialog.mustExist = true;
    return dialog;
}

QByteArray readDocumentFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw FileError(QStringLiteral("Cannot open file \"%1\". It is not a file.").arg(nativePath(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot open file \"%1\". %2").arg(nativePath(path), file.errorString()));
    if (file.size() > kMaxDocumentBytes)
        throw FileError(QStringLiteral("Cannot open file \"%1\". It is larger than %2 MB.")
                            .arg(nativePath(path))
                            .arg(kMaxDocumentBytes / (1024 * 1024)));
    QByteArray bytes = file.read(kMaxDocumentBytes);
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Cannot read file \"%1\". %2").arg(nativePath(path), file.errorString()));
    return bytes;
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

bool LoadDocumentByType(QTextEdit* readingArea, const QString& path, TextMode mode)
{
    const DocumentFormat* format = formatForPath(path);
    if (format && format->kind == DocumentKind::WordProcessor) {
        return loadWordProcessorDocument(readingArea, path, mode, *format);
    }
    if (format && format->kind == DocumentKind::Pdf) {
        return loadWithReader(readingArea, path, mode, &readPdfBlocks);
    }
    if (format && format->kind == DocumentKind::Epub) {
        return loadWithReader(readingArea, path, mode, &readEpubBlocks);
    }
    const QByteArray bytes = readDocumentFile(path);
    const DocumentKind kind =
        format ? format->kind : (mode == TextMode::Rich ? DocumentKind::RichText : DocumentKind::PlainText);
    if (kind == DocumentKind::Html)
        replaceWithPlainText(readingArea, htmlDocumentText(bytes));
    else if (kind == DocumentKind::RichText)
        replaceWithRichText(readingArea, bytes, mode);
    else
        replaceWithPlainText(readingArea, plainTextFromBytes(bytes));
    finishLoad(readingArea);
    return true;
}
