#include "documents/AudioExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimer>

#include <signal.h>
#include <unistd.h>

QString Mp3PathFor(const QString& chosenPath)
{
    if (chosenPath.endsWith(QStringLiteral(".mp3"), Qt::CaseInsensitive))
        return chosenPath;
    return chosenPath + QStringLiteral(".mp3");
}

QString FindMp3Encoder()
{
    const QString folder = QCoreApplication::applicationDirPath();
    for (const QString& name : {QStringLiteral("lame"), QStringLiteral("LAME")}) {
        const QFileInfo beside(QDir(folder).filePath(name));
        if (beside.isFile() && beside.isExecutable())
            return beside.filePath();
    }
    return QStandardPaths::findExecutable(QStringLiteral("lame"));
}

EncodeResult EncodeMp3(const QString& wavPath, const QString& mp3Path, const std::function<bool(double)>& progress,
                       const QString& encoder)
{
    if (encoder.isEmpty() || !QFileInfo(encoder).isExecutable())
        return EncodeResult::EncoderMissing;

    // The encoder writes beside the target under another name, so a failure never destroys an older MP3 file.
    const QString partial = mp3Path + QStringLiteral(".part");
    QProcess lame;
    lame.setProgram(encoder);
    // Absolute paths start with "/", so a file name that starts with "-" is never read as an option (lame 3.100
    // takes no "--").
    lame.setArguments(
        {QStringLiteral("--nohist"), QFileInfo(wavPath).absoluteFilePath(), QFileInfo(partial).absoluteFilePath()});
    double share = 0;
    // The encoder reports "( 42%)" as it goes.
    static const QRegularExpression percent(QStringLiteral("\\(\\s*(\\d+)%\\)"));
    // Its own process group lets a cancelled encoder be ended with any helper it started (a wrapper script).
    lame.setChildProcessModifier([] { ::setsid(); });
    const auto killAll = [&lame] {
        if (const qint64 pid = lame.processId(); pid > 0)
            ::kill(-static_cast<pid_t>(pid), SIGKILL);
        lame.kill();
    };
    QObject::connect(&lame, &QProcess::readyReadStandardError, [&] {
        const QString output = QString::fromLocal8Bit(lame.readAllStandardError());
        for (auto match = percent.globalMatch(output); match.hasNext();)
            share = match.next().captured(1).toInt() / 100.0;
    });
    QEventLoop loop;
    QObject::connect(&lame, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&lame, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    bool cancelled = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (progress && !cancelled && !progress(share)) {
            cancelled = true;
            killAll();
        }
    });
    poll.start(50);
    lame.start();
    if (lame.error() != QProcess::FailedToStart)
        loop.exec();
    poll.stop();
    if (lame.state() != QProcess::NotRunning) {
        killAll();
        lame.waitForFinished();
    }

    const bool started = lame.error() != QProcess::FailedToStart;
    const bool ok = started && !cancelled && lame.exitStatus() == QProcess::NormalExit && lame.exitCode() == 0 &&
                    QFileInfo(partial).size() > 0;
    if (!ok) {
        QFile::remove(partial);
        return !started ? EncodeResult::EncoderMissing : cancelled ? EncodeResult::Cancelled : EncodeResult::Failed;
    }
    QFile::remove(mp3Path);
    if (!QFile::rename(partial, mp3Path)) {
        QFile::remove(partial);
        return EncodeResult::Failed;
    }
    if (progress)
        progress(1.0);
    return EncodeResult::Done;
}
