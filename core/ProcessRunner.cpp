#include "core/ProcessRunner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

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

PipelineResult RunPipeline(const QList<QStringList>& commands, const QByteArray& input, std::chrono::milliseconds limit)
{
    PipelineResult result;
    if (commands.isEmpty())
        return result;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (const QStringList& command : commands) {
        auto process = std::make_unique<QProcess>();
        process->setProgram(command.value(0));
        process->setArguments(command.mid(1));
        process->setChildProcessModifier([] { ::setsid(); });
        if (!processes.empty())
            processes.back()->setStandardOutputProcess(process.get());
        processes.push_back(std::move(process));
    }
    QProcess& first = *processes.front();
    QProcess& last = *processes.back();

    const auto running = [&] {
        return std::any_of(processes.begin(), processes.end(),
                           [](const auto& process) { return process->state() != QProcess::NotRunning; });
    };
    const auto killAll = [&] {
        for (const auto& process : processes) {
            if (process->state() == QProcess::NotRunning)
                continue;
            ::kill(-pid_t(process->processId()), SIGKILL);
            process->kill();
            process->waitForFinished(-1);
        }
    };

    for (const auto& process : processes) {
        process->start();
        if (!process->waitForStarted(-1)) {
            result.startError = process->errorString();
            result.failed = process->program();
            killAll();
            return result;
        }
    }
    result.started = true;
    first.write(input);
    first.closeWriteChannel();

    if (QCoreApplication::instance()) {
        // As in RunProgram: the window stays painted, user input waits.
        QEventLoop loop;
        QTimer limitTimer;
        limitTimer.setSingleShot(true);
        for (const auto& process : processes)
            QObject::connect(process.get(), &QProcess::finished, &loop, [&] {
                if (!running())
                    loop.quit();
            });
        QObject::connect(&limitTimer, &QTimer::timeout, &loop, [&] {
            result.timedOut = true;
            loop.quit();
        });
        limitTimer.start(limit);
        if (running())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    } else {
        // Without an event loop the input is fed and the output drained by hand, so no pipe fills up.
        const QDeadlineTimer deadline(limit);
        while (running() && !(result.timedOut = deadline.hasExpired())) {
            if (first.bytesToWrite() > 0)
                first.waitForBytesWritten(5);
            last.waitForReadyRead(5);
            for (const auto& process : processes)
                process->waitForFinished(0);
        }
    }
    if (result.timedOut) {
        result.exitCode = -1;
        for (const auto& process : processes) {
            if (process->state() != QProcess::NotRunning) {
                result.failed = process->program(); // the first still running is the one that hung
                break;
            }
        }
    }
    killAll();

    result.output = last.readAllStandardOutput();
    for (const auto& process : processes) {
        result.errors += QString::fromLocal8Bit(process->readAllStandardError());
        const bool crashed = process->exitStatus() == QProcess::CrashExit;
        if (result.timedOut || (!crashed && process->exitCode() == 0))
            continue;
        // The last to fail is the culprit: those before it were cut off by the pipe it closed.
        result.failed = process->program();
        result.crashed = crashed;
        result.exitCode = crashed ? -1 : process->exitCode();
    }
    return result;
}
