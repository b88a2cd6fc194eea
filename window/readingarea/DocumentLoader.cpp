#include "window/readingarea/DocumentLoader.h"

#include "window/readingarea/ReadingAreaEdits.h"
#include "window/dialogs/StatusDialog.h"
#include "formats/DocumentFormats.h"
#include "formats/TextRecognition.h"
#include "core/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>
#include <QTimer>

#include <exception>
#include <memory>
#include <optional>

namespace {

void replaceWithPlainText(QTextEdit* readingArea, const QString& text)
{
    QTextDocument* document = readingArea->document();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->setPlainText(text);
    document->setUndoRedoEnabled(undo);
}

// Closes the status window however the word-processor path ends.
class StatusWindow
{
public:
    StatusWindow(const QString& caption, const QString& message) : mHandle(ShowStatus(caption, message)) {}
    ~StatusWindow() { CloseStatus(mHandle); }
    StatusWindow(const StatusWindow&) = delete;
    StatusWindow& operator=(const StatusWindow&) = delete;

private:
    StatusHandle mHandle;
};

// How long a reading runs before its loading window appears: quick documents open without a flash.
constexpr int StatusDelayMs = 400;

// Text files past this size are not opened in the window: laying them out would keep the reader waiting for more
// than a few seconds (the command line reads them). Measured on a busy two-core machine, prose took 1.7 s to show
// at 2 MB, 3.2 s at 4 MB and 3.8 s at 6 MB; 25 MB took 16 s.
constexpr qint64 WindowDocumentBytes = 5 * 1024 * 1024;
// A document this large shows its loading window at once.
constexpr qint64 LargeTextBytes = 2 * 1024 * 1024;
// The reading area takes a document in parts this large, with the windows painted and timers run in between.
constexpr qsizetype PartChars = 128 * 1024;

// Loads on a thread of its own while the windows stay painted; after a moment a loading window shows how far
// it is and lets the user cancel. Rethrows what the loading threw.
DocumentLoadResult loadInBackground(const QString& path, TextMode mode)
{
    ReadProgress progress;
    DocumentLoadResult loaded;
    std::exception_ptr failure;
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            loaded = loadDocument(path, mode, &progress);
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
        if (!status && !thread->isFinished() && clock.elapsed() > StatusDelayMs) {
            status = ShowStatus(QCoreApplication::translate("DocumentLoader", "Loading Document"),
                                QCoreApplication::translate("DocumentLoader", "Document is loading, please wait ..."));
            if (status)
                status->showProgress();
        }
        if (status) {
            const int total = progress.total;
            status->setProgress(total > 0 ? double(progress.done) / total : -1.0);
            if (progress.recognising && total > 0)
                status->Label1->setText(
                    QCoreApplication::translate("DocumentLoader", "Reading the text in page %1 of %2 ...")
                        .arg(std::min(progress.done + 1, total))
                        .arg(total));
            if (status->cancelled())
                progress.stop = true;
        }
    }
    thread->wait();
    // Cancel pressed as the last page was read still cancels: the user asked not to have the document.
    const bool cancelled = status && status->cancelled();
    CloseStatus(status);
    if (failure)
        std::rethrow_exception(failure);
    if (cancelled && !loaded.error)
        return {LoadedDocument(), DocumentLoadError{DocumentLoadError::Kind::Cancelled, {}}};
    return loaded;
}

// Puts the document into the reading area a part at a time, the windows painted and timers run in between; after
// a moment a loading window shows how far it is and lets the user cancel, which brings back what the reading area
// held. False when cancelled, or when the reading area went meanwhile.
bool putInReadingArea(const LoadedDocument& loaded, QTextEdit* readingArea, bool large)
{
    const QPointer<QTextEdit> area(readingArea);
    QTextDocument* document = readingArea->document();
    const bool undo = document->isUndoRedoEnabled();
    const bool modified = document->isModified();
    // Over text already there the document comes in as one step that Undo takes back, and that Cancel takes back
    // too; into an empty reading area it is where undoing stops.
    const bool overText = !document->isEmpty();
    QElapsedTimer clock;
    clock.start();
    // A large document says at once why the window waits (a long paragraph goes in whole).
    StatusHandle status =
        large ? ShowStatus(QCoreApplication::translate("DocumentLoader", "Loading Document"),
                           QCoreApplication::translate("DocumentLoader", "Document is loading, please wait ..."))
              : StatusHandle();
    bool progressShown = false;
    bool cancelled = false;
    if (!overText)
        document->setUndoRedoEnabled(false); // which also empties its history
    const bool whole = loaded.putInParts(document, PartChars, [&](double share) {
        if (!status && clock.elapsed() > StatusDelayMs) {
            status = ShowStatus(QCoreApplication::translate("DocumentLoader", "Loading Document"),
                                QCoreApplication::translate("DocumentLoader", "Document is loading, please wait ..."));
        }
        if (status && !std::exchange(progressShown, true))
            status->showProgress();
        if (status)
            status->setProgress(share);
        // Until the loading window is up, the user's input waits; once it shows, only its Cancel button takes input.
        QCoreApplication::processEvents(status ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        cancelled = status && status->cancelled();
        return area && !cancelled;
    });
    CloseStatus(status);
    if (!area)
        return false;
    if (!whole && overText) {
        document->undo();
        document->clearUndoRedoStacks(QTextDocument::RedoStack);
    } else if (!whole) {
        document->clear();
    }
    document->setUndoRedoEnabled(undo);
    document->setModified(whole ? false : modified);
    return whole;
}

// Tells the user why the document did not load, as the window always has: a file that cannot be opened goes on
// to the general error box; a document that cannot be read is explained in a message of its own, an error
// only when it is damaged.
void tellWhyNotLoaded(const DocumentLoadError& error, const DocumentFormat* format)
{
    using Kind = DocumentLoadError::Kind;
    const bool book = format && (format->kind == DocumentKind::Pdf || format->kind == DocumentKind::Epub ||
                                 format->kind == DocumentKind::Picture);
    switch (error.kind) {
    case Kind::Cancelled:
        return;
    case Kind::NotFound:
    case Kind::NotReadable:
        throw FileError(error.message);
    case Kind::TooLarge:
        // A book is not refused for its size on disk, only for unpacking to far more than a book holds.
        if (!book)
            throw FileError(error.message);
        break;
    default:
        break;
    }
    // .doc keeps its one gentle message for every failure of the word processor.
    const bool doc = format && format->extensions.contains(QLatin1String("doc"));
    const bool serious = error.kind == Kind::Damaged || (error.kind == Kind::ConverterFailed && !doc);
    prompts().message(error.message, serious ? MessageKind::Error : MessageKind::Information);
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
    dialog.title = QCoreApplication::translate("DocumentLoader", "Open Parlivo Document");
    dialog.filter = openDocumentFilter();
    dialog.defaultExtension = QStringLiteral("txt");
    dialog.mustExist = true;
    return dialog;
}

bool LoadDocumentByType(QTextEdit* readingArea, const QString& path, TextMode mode, QString* note)
{
    const DocumentFormat* format = formatForPath(path);
    const DocumentKind kind = format ? format->kind : DocumentKind::PlainText;
    // (A web page or rich text file is mostly markup: its size on disk says little of the text it holds.)
    if (kind == DocumentKind::PlainText && QFileInfo(path).size() > WindowDocumentBytes)
        throw FileError(QCoreApplication::translate("DocumentLoader",
                                                    "Cannot open file \"%1\". It is larger than %2 MB, more than the "
                                                    "reading area can show; parlivo-cli reads it aloud or exports it.")
                            .arg(QDir::toNativeSeparators(path))
                            .arg(WindowDocumentBytes / (1024 * 1024)));
    // Loading keeps the windows painted; should the reading area go meanwhile, there is nothing to fill.
    const QPointer<QTextEdit> area(readingArea);
    DocumentLoadResult loaded;
    std::optional<StatusWindow> status;
    if (kind == DocumentKind::Pdf || kind == DocumentKind::Epub || kind == DocumentKind::Picture) {
        loaded = loadInBackground(path, mode);
    } else if (kind == DocumentKind::WordProcessor) {
        // A file that cannot be opened is reported before the status window shows.
        loaded.error = documentFileError(path);
        if (!loaded.error) {
            status.emplace(QCoreApplication::translate("DocumentLoader", "Loading Document"),
                           QCoreApplication::translate("DocumentLoader", "Document is loading, please wait ..."));
            loaded = loadDocument(path, mode);
        }
    } else {
        loaded = loadDocument(path, mode);
    }
    if (loaded.error) {
        status.reset();
        tellWhyNotLoaded(*loaded.error, format);
        return false;
    }
    if (!area)
        return false;
    const bool large = QFileInfo(path).size() > LargeTextBytes;
    const auto sayWhyTheWindowWaits = [&] {
        if (!status && large)
            status.emplace(QCoreApplication::translate("DocumentLoader", "Loading Document"),
                           QCoreApplication::translate("DocumentLoader", "Document is loading, please wait ..."));
    };
    if (!loaded.document.isRichText()) {
        // Text comes in parts and shows its own progress.
        status.reset();
        if (!putInReadingArea(loaded.document, readingArea, large))
            return false;
    } else if (readingArea->document()->isEmpty()) {
        // Rich text goes in whole: a large one says why the window waits.
        sayWhyTheWindowWaits();
        if (!putInReadingArea(loaded.document, readingArea, false))
            return false;
    } else {
        // Over text already there, the document comes in as one step that Undo takes back.
        sayWhyTheWindowWaits();
        QTextDocument content;
        content.setDefaultFont(readingArea->document()->defaultFont());
        loaded.document.putInto(&content);
        ReplaceReadingAreaContent(readingArea, content);
        readingArea->document()->setModified(false);
    }
    readingArea->moveCursor(QTextCursor::Start);
    if (note)
        *note = misreadPagesNote(loaded.doubtfulPages);
    return true;
}
