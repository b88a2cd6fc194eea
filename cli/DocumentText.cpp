#include "cli/DocumentText.h"

#include "cli/CliFailure.h"
#include "documents/DocumentFormats.h"
#include "documents/DocumentLoader.h"
#include "platform/Prompts.h"
#include "platform/WordProcessorImport.h"
#include "web/PageText.h"

#include <QDir>
#include <QFileInfo>
#include <QTextEdit>

namespace {

// Answers every question No and shows nothing: a command-line program has nobody to ask.
class SilentPrompts : public Prompts
{
public:
    QStringList messages;

    void message(const QString& text, MessageKind) override { messages << text; }
    bool confirm(const QString&) override { return false; }
    QString openFile(const FileDialogSpec&) override { return {}; }
    QString saveFile(const FileDialogSpec&) override { return {}; }
    std::optional<QColor> pickColour(const QColor&) override { return std::nullopt; }
    QString promptLine(const QString&, const QString&, const QString&) override { return {}; }
};

// The loader reports a failed conversion or an unreadable PDF or book to the user instead of raising it; the
// message is kept here and turned into a failure afterwards.
class RecordingPrompts : public SilentPrompts
{
public:
    RecordingPrompts() { setPrompts(this); }
    ~RecordingPrompts() override
    {
        static SilentPrompts afterwards;
        setPrompts(&afterwards);
    }
};

QString displayPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString DocumentText(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw CliFailure(ExitInputError, QStringLiteral("%1: no such file").arg(displayPath(path)));
    if (info.isDir())
        throw CliFailure(ExitInputError, QStringLiteral("%1: is a folder, not a document").arg(displayPath(path)));

    const DocumentFormat* format = formatForPath(path);
    QTextEdit readingArea;
    RecordingPrompts recorder;
    try {
        // A word-processor file that is no package at all is damaged, whether or not LibreOffice is there; the
        // loader refuses it too, but its message could not be told from a failed conversion afterwards.
        if (format)
            checkDocumentPackage(path, *format);
        LoadDocumentByType(&readingArea, path, TextMode::Rich);
    } catch (const ParlivoError& error) {
        throw CliFailure(ExitInputError, QStringLiteral("%1: %2").arg(displayPath(path), error.message()));
    }
    if (!recorder.messages.isEmpty()) {
        // PDF and EPUB readers say themselves why a document cannot be read.
        if (!format || format->kind != DocumentKind::WordProcessor)
            throw CliFailure(ExitInputError,
                             QStringLiteral("%1: %2").arg(displayPath(path), recorder.messages.join(u' ')));
        if (wordProcessorProgram().isEmpty())
            throw CliFailure(ExitEngineFailure,
                             QStringLiteral("%1: cannot be converted: LibreOffice (soffice) is not installed")
                                 .arg(displayPath(path)));
        throw CliFailure(
            ExitInputError,
            QStringLiteral("%1: the word processor could not convert this document").arg(displayPath(path)));
    }
    return readingArea.toPlainText();
}

QString ArticleText(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw CliFailure(ExitInputError, QStringLiteral("%1: no such file").arg(displayPath(path)));
    const QString suffix = info.suffix().toLower();
    if (suffix != QLatin1String("htm") && suffix != QLatin1String("html"))
        throw CliFailure(ExitBadUsage,
                         QStringLiteral("%1: --article reads a saved web page (.htm, .html)").arg(displayPath(path)));
    try {
        return ArticleTextOfFile(path).text;
    } catch (const ParlivoError& error) {
        throw CliFailure(ExitInputError, QStringLiteral("%1: %2").arg(displayPath(path), error.message()));
    }
}

QString TextFromInput(QIODevice& input)
{
    const QByteArray bytes = input.readAll();
    if (bytes.isEmpty() && !input.errorString().isEmpty() && input.errorString() != QLatin1String("Unknown error"))
        throw CliFailure(ExitInputError, QStringLiteral("standard input: %1").arg(input.errorString()));
    // The reading area holds a document's text the same way: its paragraphs end in one line break each.
    QTextEdit readingArea;
    readingArea.setPlainText(plainTextFromBytes(bytes));
    return readingArea.toPlainText();
}
