#include "core/ProcessRunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <climits>

#include <signal.h>
#include <unistd.h>

RunResult RunProgram(const QString& program, const QStringList& arguments, std::chrono::milliseconds limit,
                     const QStringList& environment)
{
    RunResult result;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    if (!environment.isEmpty()) {
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const QString& variable : environment)
            variables.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        process.setProcessEnvironment(variables);
    }
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    // A session and process group of its own, so a program that hangs is killed together with any helpers it
    // started (LibreOffice's launcher starts the real office as a child).
    process.setChildProcessModifier([] { ::setsid(); });
    process.start();
    if (!process.waitForStarted(-1)) {
        result.startError = process.errorString();
        return result;
    }
    result.started = true;

    if (QCoreApplication::instance()) {
        // Timers and paint events go on while the program runs, so the window never looks frozen; the
        // user's clicks and keys wait until it has finished.
        QEventLoop loop;
        QTimer limitTimer;
        limitTimer.setSingleShot(true);
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&limitTimer, &QTimer::timeout, &loop, [&] {
            result.timedOut = true;
            loop.quit();
        });
        limitTimer.start(limit);
        if (process.state() != QProcess::NotRunning)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    } else if (!process.waitForFinished(int(std::min<qint64>(limit.count(), INT_MAX)))) {
        result.timedOut = true;
    }

    if (result.timedOut && process.state() != QProcess::NotRunning) {
        ::kill(-pid_t(process.processId()), SIGKILL);
        process.kill();
        process.waitForFinished(-1); // reaps the killed program
    }
    if (result.timedOut || process.exitStatus() == QProcess::CrashExit) {
        result.crashed = !result.timedOut;
        result.exitCode = -1;
    } else {
        result.exitCode = process.exitCode();
    }
    return result;
}

int RunAndWait(const QString& program, const QStringList& arguments)
{
    return RunProgram(program, arguments).exitCode;
}
