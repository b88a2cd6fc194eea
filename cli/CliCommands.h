#pragma once

#include <QIODevice>
#include <QStringList>

// Where a run of parlivo-cli reads and writes.
struct CliStreams
{
    QIODevice& out; // results: text, voices, events (UTF-8)
    QIODevice& err; // messages and the progress bar
    QIODevice& in;  // the text of "speak -"
    bool errIsTerminal = false;
};

// Runs parlivo-cli: `arguments` as main() receives them, the program name first. Needs a QGuiApplication.
// Returns the exit code: 0 done, 1 bad usage, 2 an input (or output file) that cannot be used, 3 the speech
// engine or the encoder failed, 130 or 143 stopped by SIGINT or SIGTERM.
int RunCli(const QStringList& arguments, CliStreams& streams);
