#include "formats/WordProcessorImport.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

QString& programOverride()
{
    static QString program;
    return program;
}

// The file LibreOffice writes: the source's name with the format's extension ("html:XHTML..." gives html).
QString expectedOutput(const QString& outputFolder, const QFileInfo& source, const QString& format)
{
    const QString extension = format.section(QLatin1Char(':'), 0, 0);
    return QDir(outputFolder).filePath(source.completeBaseName() + QLatin1Char('.') + extension);
}

QString firstNonEmptyFile(const QString& folder)
{
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo& file : files) {
        if (file.size() > 0)
            return file.absoluteFilePath();
    }
    return {};
}

} // namespace

QString wordProcessorProgram()
{
    if (!programOverride().isEmpty())
        return programOverride();
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

void setWordProcessorProgram(const QString& program)
{
    programOverride() = program;
}

QByteArray convertDocument(const QString& path, const QString& format, std::chrono::milliseconds limit)
{
    const QString program = wordProcessorProgram();
    if (program.isEmpty())
        throw WordProcessorError(QStringLiteral("No word processor is installed to convert \"%1\".").arg(path));
    const QFileInfo source(path);
    if (!source.isFile())
        throw WordProcessorError(QStringLiteral("Cannot open file \"%1\".").arg(path));

    QTemporaryDir work(QDir(QDir::tempPath()).filePath(QStringLiteral("parlivo-convert-XXXXXX")));
    if (!work.isValid())
        throw WordProcessorError(QStringLiteral("Cannot create a temporary folder: %1").arg(work.errorString()));
    const QString profile = work.filePath(QStringLiteral("profile"));
    const QString output = work.filePath(QStringLiteral("out"));
    const QString scratch = work.filePath(QStringLiteral("tmp"));
    QDir().mkpath(output);
    QDir().mkpath(scratch);

    QProcess process;
    process.setProgram(program);
    // The absolute path starts with "/", so a file name that begins with "-" is never taken for an option.
    process.setArguments({QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
                          QStringLiteral("--headless"), QStringLiteral("--invisible"), QStringLiteral("--nologo"),
                          QStringLiteral("--norestore"), QStringLiteral("--nodefault"), QStringLiteral("--nolockcheck"),
                          QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), output,
                          source.absoluteFilePath()});
    // The office's own temporary files go into the work folder too, so that none outlive a killed office.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), scratch);
    process.setProcessEnvironment(environment);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    // LibreOffice's launcher starts the real office as a child; its own process group lets a hung
    // conversion be ended whole.
    process.setChildProcessModifier([] { ::setsid(); });

    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);

    process.start();
    timer.start(limit);
    if (process.state() != QProcess::NotRunning)
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (process.error() == QProcess::FailedToStart)
        throw WordProcessorError(QStringLiteral("Cannot start \"%1\": %2").arg(program, process.errorString()));
    if (process.state() != QProcess::NotRunning) {
        if (const qint64 pid = process.processId(); pid > 0)
            ::kill(-static_cast<pid_t>(pid), SIGKILL);
        process.kill();
        process.waitForFinished(5000);
        throw WordProcessorError(QStringLiteral("Converting \"%1\" did not finish within %2 seconds.")
                                     .arg(path)
                                     .arg(limit.count() / 1000.0));
    }

    // Whatever a crashed converter left is unfinished.
    if (process.exitStatus() == QProcess::CrashExit)
        throw WordProcessorError(QStringLiteral("Converting \"%1\" failed: the converter crashed.").arg(path));
    // The office exits with 0 even when it failed, so only a converted file tells success.
    QString converted = expectedOutput(output, source, format);
    if (QFileInfo(converted).size() <= 0)
        converted = firstNonEmptyFile(output);
    QFile file(converted);
    if (converted.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw WordProcessorError(QStringLiteral("\"%1\" could not be converted.").arg(path));
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        throw WordProcessorError(QStringLiteral("\"%1\" could not be converted.").arg(path));
    return bytes;
}
