#include "cli/DocumentText.h"

#include "cli/ArticleModule.h"
#include "cli/CliFailure.h"
#include "cli/StopRequest.h"
#include "formats/DocumentLoading.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QTextDocument>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

QString displayPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

CliFailure interrupted(const QString& name)
{
    return CliFailure(StoppedExitCode(), QStringLiteral("%1: interrupted").arg(name));
}

CliFailure failureOf(const QString& path, const DocumentLoadError& error)
{
    switch (error.kind) {
    case DocumentLoadError::Kind::Cancelled:
        return interrupted(displayPath(path));
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

// Throws the input error for a path that names nothing readable, saying why as the system does: no such file, a
// loop of symbolic links, a folder on the way that may not be entered. A name that was not valid UTF-8 on the
// command line arrives with its bad bytes replaced, so no file has it: that is said too.
void checkExists(const QString& path)
{
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) == 0)
        return;
    const int error = errno;
    QString reason;
    if (error == ENOENT && path.contains(QChar::ReplacementCharacter))
        reason = QStringLiteral("its name is not valid UTF-8 text, so it cannot be opened (rename the file)");
    else if (error == ENOENT || error == ENOTDIR)
        reason = QStringLiteral("no such file");
    else if (error == ELOOP)
        reason = QStringLiteral("too many levels of symbolic links");
    else
        reason = QString::fromLocal8Bit(std::strerror(error)).toLower();
    throw CliFailure(ExitInputError, QStringLiteral("%1: %2").arg(displayPath(path), reason));
}

// The text a document holds once it is in the reading area, which turns the non-breaking space into a space.
QString readingAreaText(const LoadedDocument& loaded)
{
    QTextDocument document;
    loaded.putInto(&document);
    return document.toPlainText();
}

// A document as loadDocument gives it, unless a stop is requested first. The loading runs on a thread of its own,
// so that the command answers a stop at once even while a page is in a step that cannot be interrupted (laying out a
// large scan takes Tesseract seconds). A stopped loading has a moment to tidy what it made (a conversion's work
// folder); one still busy after that holds nothing to tidy and is left to end with the program.
DocumentLoadResult loadUnlessStopped(const QString& path)
{
    constexpr int TidyMs = 300;
    struct Loading
    {
        ReadProgress progress;
        DocumentLoadResult result;
        std::exception_ptr failure;
    };
    const auto loading = std::make_shared<Loading>();
    const StopForwarding forwarding(loading->progress.stop);
    QThread* thread = QThread::create([loading, path] {
        try {
            loading->result = loadDocument(path, TextMode::Rich, &loading->progress);
        } catch (...) {
            loading->failure = std::current_exception();
        }
    });
    thread->start();
    std::optional<QDeadlineTimer> tidying;
    while (!thread->wait(20)) {
        if (StopRequested() && !tidying)
            tidying = QDeadlineTimer(TidyMs);
        if (tidying && tidying->hasExpired())
            throw interrupted(displayPath(path));
    }
    delete thread;
    if (loading->failure)
        std::rethrow_exception(loading->failure);
    return std::move(loading->result);
}

// All of the input. A terminal, or a pipe whose writer never ends, would keep a plain read waiting past a stop
// request, so the descriptor of a file is read as it becomes ready.
QByteArray readAllInput(QIODevice& input)
{
    auto* file = qobject_cast<QFile*>(&input);
    if (!file || file->handle() < 0)
        return input.readAll();
    QByteArray bytes;
    char buffer[64 * 1024];
    while (true) {
        if (StopRequested())
            throw interrupted(QStringLiteral("standard input"));
        pollfd ready{file->handle(), POLLIN, 0};
        if (::poll(&ready, 1, 50) <= 0)
            continue;
        const ssize_t got = ::read(file->handle(), buffer, sizeof buffer);
        if (got == 0)
            return bytes;
        if (got > 0)
            bytes.append(buffer, got);
        else if (errno != EINTR && errno != EAGAIN)
            throw CliFailure(ExitInputError,
                             QStringLiteral("standard input: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    }
}

} // namespace

QString DocumentText(const QString& path)
{
    checkExists(path);
    const QFileInfo info(path);
    if (info.isDir())
        throw CliFailure(ExitInputError, QStringLiteral("%1: is a folder, not a document").arg(displayPath(path)));
    const DocumentLoadResult loaded = loadUnlessStopped(path);
    if (loaded.error)
        throw failureOf(path, *loaded.error);
    if (StopRequested())
        throw interrupted(displayPath(path));
    return readingAreaText(loaded.document);
}

QString ArticleText(const QString& path)
{
    checkExists(path);
    const QFileInfo info(path);
    const QString suffix = info.suffix().toLower();
    if (suffix != QLatin1String("htm") && suffix != QLatin1String("html"))
        throw CliFailure(ExitBadUsage,
                         QStringLiteral("%1: --article reads a saved web page (.htm, .html)").arg(displayPath(path)));
    // The module stays loaded: the browser engine it brings in runs until the program ends.
    QLibrary module(QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(ArticleModuleName)));
    const auto articleText = reinterpret_cast<ArticleTextFunction>(module.resolve(ArticleTextSymbol));
    if (!articleText)
        throw CliFailure(ExitEngineFailure,
                         QStringLiteral("--article needs the browser engine: %1").arg(module.errorString()));
    QString text;
    QString failure;
    if (!articleText(path, &text, &failure))
        throw CliFailure(ExitInputError, QStringLiteral("%1: %2").arg(displayPath(path), failure));
    return text;
}

QString TextFromInput(QIODevice& input)
{
    const QByteArray bytes = readAllInput(input);
    if (bytes.isEmpty() && !input.errorString().isEmpty() && input.errorString() != QLatin1String("Unknown error"))
        throw CliFailure(ExitInputError, QStringLiteral("standard input: %1").arg(input.errorString()));
    // The reading area holds a document's text the same way: its paragraphs end in one line break each.
    return readingAreaText(LoadedDocument(plainTextFromBytes(bytes)));
}
