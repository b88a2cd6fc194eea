#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <chrono>

struct RunResult
{
    bool started = false;
    bool timedOut = false;
    bool crashed = false;
    int exitCode = 0;   // -1 when the program crashed or was killed at the time limit
    QString startError; // why it could not be started
};

// Runs a program with an argument vector (never through a shell), its input and output going nowhere, and waits
// for it, at most `limit`; a program still running then is killed with everything it started. Keeps the caller's
// window painted while it waits, taking no user input. `environment` adds or replaces variables ("NAME=value").
RunResult RunProgram(const QString& program, const QStringList& arguments,
                     std::chrono::milliseconds limit = std::chrono::minutes(30), const QStringList& environment = {});
// The exit code of the program, 0 when it could not be started (use RunProgram to tell the two apart).
int RunAndWait(const QString& program, const QStringList& arguments);

struct PipelineResult : RunResult
{
    QByteArray output; // what the last program wrote
    QString errors;    // what the programs wrote to their error output, one after another
    QString failed;    // the program that could not start, crashed, failed or hung
};

// Runs programs joined by pipes, as a shell runs "a | b | c" but with argument vectors, writes `input` to the first
// and collects the output of the last; waits at most `limit` for all of them, killing them all (and their helpers)
// when it passes, like RunProgram. A failure names the last program that failed, the one that cut off those before.
PipelineResult RunPipeline(const QList<QStringList>& commands, const QByteArray& input,
                           std::chrono::milliseconds limit);
