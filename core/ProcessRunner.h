#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <chrono>

// Every program Parlivo starts runs in a process group of its own and ends with Parlivo: it is killed with
// everything it started when its time is up, when the caller stops it, when it has finished (helpers it left in
// the background go too), and when Parlivo ends in any way, even killed.

struct RunResult
{
    bool started = false;
    bool timedOut = false;
    bool crashed = false;
    bool stopped = false; // the caller's stop flag was set; the program was killed
    int exitCode = 0;     // -1 when the program crashed or was killed
    QString startError;   // why it could not be started
};

// Runs a program with an argument vector (never through a shell), its input and output going nowhere, and waits
// for it, at most `limit`, and only until `stop` (when given) is set. Keeps the caller's window painted while it
// waits, taking no user input. `environment` adds or replaces variables ("NAME=value").
RunResult RunProgram(const QString& program, const QStringList& arguments,
                     std::chrono::milliseconds limit = std::chrono::minutes(30), const QStringList& environment = {},
                     const std::atomic<bool>* stop = nullptr);
// The exit code of the program, 0 when it could not be started (use RunProgram to tell the two apart).
int RunAndWait(const QString& program, const QStringList& arguments);

// What is kept of the output of programs: more stops them.
inline constexpr qint64 DefaultOutputLimit = 16 * 1024 * 1024;

struct PipelineResult : RunResult
{
    QByteArray output;           // what the last program wrote
    QString errors;              // the start of what the programs wrote to their error output, one after another
    QString failed;              // the program that could not start, crashed, failed or hung
    bool outputTooLarge = false; // the last program wrote more than the limit and all were stopped
};

// Runs programs joined by pipes, as a shell runs "a | b | c" but with argument vectors, writes `input` to the first
// and collects the output of the last, at most `outputLimit` bytes; waits at most `limit` for all of them, killing
// them all (and their helpers) when it passes, like RunProgram. A failure names the last program that failed, the
// one that cut off those before.
PipelineResult RunPipeline(const QList<QStringList>& commands, const QByteArray& input, std::chrono::milliseconds limit,
                           qint64 outputLimit = DefaultOutputLimit);
