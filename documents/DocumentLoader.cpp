#include "documents/DocumentLoader.h"

#include "dialogs/uStatus.h"
#include "documents/OSTRoutines.h"
#include "platform/Errors.h"
#include "platform/TextEncoding.h"
#include "platform/WordProcessorImport.h"
#include "platform/rtf/RtfReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

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

void loadWordProcessorDocument(QTextEdit* readingArea, const QString& path, TextMode mode)
{
    // A file that cannot be read is reported as such, not as a missing word processor.
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot open file \"%1\". %2").arg(nativePath(path), probe.errorString()));
    probe.close();

    // The conversion keeps the windows painted; should the reading area go meanwhile, there is nothing to fill.
    const QPointer<QTextEdit> area(readingArea);
    StatusWindow status(QStringLiteral("Loading Document"), QStringLiteral("Document is loading, please wait ..."));
    QByteArray converted;
    try {
        converted = convertDocument(path, QStringLiteral("rtf"));
    } catch (const WordProcessorError&) {
        status.close();
        prompts().message(QStringLiteral("MS Word is not installed, unable to load MS Word document."),
                          MessageKind::Information);
        return;
    }
    if (!area)
        return;
    replaceWithRichText(readingArea, converted, mode);
    status.close();
    finishLoad(readingArea);
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
    dialog.filter = QStringLiteral("Valid Documents (*.rtf;*.html;*.htm;*.txt;*.doc)|*.rtf;*.html;*.htm;*.txt;*.doc|"
                                   "HTML Document (*.htm;*.html)|*.htm;*.html|Rich Text Files (*.rtf)|*.rtf|"
                                   "Text Files (*.txt)|*.txt|Microsoft Word Document (*.doc)|*.doc|"
                                   "All Files (*.*)|*.*");
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

void LoadDocumentByType(QTextEdit* readingArea, const QString& path, TextMode mode)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    if (extension == QLatin1String("doc")) {
        loadWordProcessorDocument(readingArea, path, mode);
        return;
    }
    const QByteArray bytes = readDocumentFile(path);
    if (extension == QLatin1String("htm") || extension == QLatin1String("html"))
        replaceWithPlainText(readingArea, htmlDocumentText(bytes));
    else if (extension == QLatin1String("txt"))
        replaceWithPlainText(readingArea, plainTextFromBytes(bytes));
    else if (extension == QLatin1String("rtf") || mode == TextMode::Rich)
        replaceWithRichText(readingArea, bytes, mode);
    else
        replaceWithPlainText(readingArea, plainTextFromBytes(bytes));
    finishLoad(readingArea);
}
