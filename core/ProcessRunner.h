#pragma once

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
