#pragma once

#include "core/Errors.h"

// What parlivo-cli ends with.
enum ExitCode
{
    ExitSuccess = 0,
    ExitBadUsage = 1,
    ExitInputError = 2,
    ExitEngineFailure = 3,
    ExitInterrupted = 130, // as a shell reports a program ended by Ctrl+C (SIGINT)
    ExitTerminated = 143,  // and one ended by SIGTERM
};

// A failure of a command, carrying the exit code it ends the program with and the message for standard error.
class CliFailure : public ParlivoError
{
public:
    CliFailure(ExitCode code, const QString& message) : ParlivoError(message), mCode(code) {}
    ExitCode code() const { return mCode; }

private:
    ExitCode mCode;
};
