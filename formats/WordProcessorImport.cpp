#include "formats/WordProcessorImport.h"

#include "core/ProcessRunner.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <unistd.h>

namespace {

const QString WorkFolderPrefix = QStringLiteral("parlivo-convert-");
// Each work folder names the process that made it in this file.
const QString OwnerFile = QStringLiteral("owner");
// A work folder without an owner is an older Parlivo's, or one being made this moment: it is left this long.
constexpr qint64 UnownedFolderSeconds = 3600;

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

// "PID START" for a running process, where START (its start time) tells it from a later process given the same
// number; empty for a process that has ended.
QByteArray processIdentity(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = stat.readAll();
    // The fields after the name, which may hold spaces and brackets: the state first, the start time 20th.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20 || fields[0] == "Z")
        return {};
    return QByteArray::number(pid) + ' ' + fields[19];
}

bool isStale(const QFileInfo& folder)
{
    QFile owner(QDir(folder.absoluteFilePath()).filePath(OwnerFile));
    if (!owner.open(QIODevice::ReadOnly))
        return folder.lastModified().secsTo(QDateTime::currentDateTime()) > UnownedFolderSeconds;
    const QByteArray recorded = owner.readAll().trimmed();
    const qint64 pid = recorded.split(' ').value(0).toLongLong();
    return pid <= 0 || processIdentity(pid) != recorded;
}

} // namespace

void removeStaleConversionFolders()
{
    const QFileInfoList folders =
        QDir(QDir::tempPath())
            .entryInfoList({WorkFolderPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo& folder : folders) {
        if (!folder.isSymLink() && folder.ownerId() == ::getuid() && isStale(folder))
            QDir(folder.absoluteFilePath()).removeRecursively();
    }
}

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

QByteArray convertDocument(const QString& path, const QString& format, std::chrono::milliseconds limit,
                           const std::atomic<bool>* stop)
{
    const QString program = wordProcessorProgram();
    if (program.isEmpty())
        throw WordProcessorError(QStringLiteral("No word processor is installed to convert \"%1\".").arg(path));
    const QFileInfo source(path);
    if (!source.isFile())
        throw WordProcessorError(QStringLiteral("Cannot open file \"%1\".").arg(path));

    QTemporaryDir work(QDir(QDir::tempPath()).filePath(WorkFolderPrefix + QStringLiteral("XXXXXX")));
    if (!work.isValid())
        throw WordProcessorError(QStringLiteral("Cannot create a temporary folder: %1").arg(work.errorString()));
    // Should this process be killed, the next Parlivo to start sees that the folder is no one's.
    QFile owner(work.filePath(OwnerFile));
    if (owner.open(QIODevice::WriteOnly))
        owner.write(processIdentity(::getpid()) + '\n');
    owner.close();
    const QString profile = work.filePath(QStringLiteral("profile"));
    const QString output = work.filePath(QStringLiteral("out"));
    const QString scratch = work.filePath(QStringLiteral("tmp"));
    QDir().mkpath(output);
    QDir().mkpath(scratch);

    // The absolute path starts with "/", so a file name that begins with "-" is never taken for an option. The
    // office's own temporary files go into the work folder too, so that none outlive a killed office.
    const RunResult run = RunProgram(
        program,
        {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
         QStringLiteral("--headless"), QStringLiteral("--invisible"), QStringLiteral("--nologo"),
         QStringLiteral("--norestore"), QStringLiteral("--nodefault"), QStringLiteral("--nolockcheck"),
         QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"), output, source.absoluteFilePath()},
        limit, {QStringLiteral("TMPDIR=") + scratch}, stop);
    if (!run.started)
        throw WordProcessorError(QStringLiteral("Cannot start \"%1\": %2").arg(program, run.startError));
    if (run.timedOut)
        throw WordProcessorError(QStringLiteral("Converting \"%1\" did not finish within %2 seconds.")
                                     .arg(path)
                                     .arg(limit.count() / 1000.0));
    if (run.stopped)
        throw WordProcessorError(QStringLiteral("Converting \"%1\" was stopped.").arg(path));
    // Whatever a crashed converter left is unfinished.
    if (run.crashed)
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
