#pragma once

#include "cli/CliFailure.h"

#include <atomic>

// Ctrl+C (SIGINT) and SIGTERM ask a command to stop. Each stage of a command looks at the request, or at a flag it
// is forwarded to, and stops within a moment: what it was writing is removed and the program ends with the code a
// shell gives a program ended by that signal. Should a stage ever overlook the request, the program ends all the
// same a few seconds after it.
void HandleStopSignals();
bool StopRequested();
// 130 after SIGINT, 143 after SIGTERM.
ExitCode StoppedExitCode();

// While it lives, a stop request also sets `flag` (at once when one has come already), so work that looks at a flag
// of its own (loading a document, a conversion, recognising text) stops too.
class StopForwarding
{
public:
    explicit StopForwarding(std::atomic<bool>& flag);
    ~StopForwarding();
    StopForwarding(const StopForwarding&) = delete;
    StopForwarding& operator=(const StopForwarding&) = delete;

private:
    std::atomic<bool>& mFlag;
};
