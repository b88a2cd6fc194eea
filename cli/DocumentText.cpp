#include "cli/DocumentText.h"

#include "cli/CliFailure.h"
#include "documents/DocumentLoading.h"
#include "web/PageText.h"

#include <QDir>
#include <QFileInfo>
#include <QTextDocument>

namespace {

QString displayPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

CliFailure failureOf(const QString& path, const DocumentLoadError& error)
{
    switch (error.kind) {
    case DocumentLoadError::Kind::ConverterMissing:
        return CliFailure(
            ExitEngineFailure,
            QStringLiteral("%1: cannot be converted: LibreOffice (soffice) is not installed").arg(displayPath(path)));
    case DocumentLoadError::Kind::ConverterFailed:
        return CliFailure(
            ExitInputError,
            QStringLiteral("%1: the word processor could not convert this document").arg(displayPath(path)));
    default:
        return CliFailure(ExitInputError, QStringLiteral("%1: %2").arg(displayPath(path), error.message));
    }
}

// The text a document holds once it is in the reading area, which turns the non-breaking space into a space.
QString readingAreaText(const LoadedDocument& loaded)
{
    QTextDocument document;
    loaded.putInto(&document);
    return document.toPlainText();
}

} // namespace

QString DocumentText(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw CliFailure(ExitInputError, QStringLiteral("%1: no such file").arg(displayPath(path)));
    if (info.isDir())
        throw CliFailure(ExitInputError, QStringLiteral("%1: is a folder, not a document").arg(displayPath(path)));
    const DocumentLoadResult loaded = loadDocument(path, TextMode::Rich);
    if (loaded.error)
        throw failureOf(path, *loaded.error);
    return readingAreaText(loaded.document);
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
    return readingAreaText(LoadedDocument(plainTextFromBytes(bytes)));
}
