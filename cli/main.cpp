#include "cli/CliCommands.h"
#include "cli/StopRequest.h"
#include "formats/WebEnvironment.h"
#include "formats/WordProcessorImport.h"

#include <QGuiApplication>
#include <QFile>
#include <cstring>
#include <unistd.h>

// "text --article" (the option in either form the parser takes) is the one command that loads a page into the
// browser engine.
static bool readsArticle(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "text") != 0)
        return false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--article") == 0 || std::strcmp(argv[i], "-article") == 0)
            return true;
    }
    return false;
}

// Qt's notes about the session (no runtime folder, no sound server) are no concern of a command's user;
// only real failures reach standard error. PARLIVO_CLI_DEBUG=1 shows everything.
static QtMessageHandler standardMessages = nullptr;

static void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (standardMessages &&
        (type == QtCriticalMsg || type == QtFatalMsg || qEnvironmentVariableIntValue("PARLIVO_CLI_DEBUG")))
        standardMessages(type, context, message);
}

int main(int argc, char** argv)
{
    // First, so that Ctrl+C is a request to stop from the start.
    HandleStopSignals();
    // No window is ever shown, so no display is needed.
    standardMessages = qInstallMessageHandler(quietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The browser engine must be prepared before the application; every other command goes without it, so
    // speech starts sooner.
    if (readsArticle(argc, argv))
        PrepareWebEngineEnvironment();
    QGuiApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("parlivo-cli"));
    app.setApplicationVersion(QStringLiteral(PARLIVO_VERSION));
    // The work folders of conversions that a killed Parlivo left behind.
    removeStaleConversionFolders();

    // Output goes straight to the descriptors: through the C library's stream, a pipe would hold the lines of
    // "speak --events" in its buffer until the reading ended, when a program following the reading needs each
    // event as it falls due.
    QFile out;
    QFile err;
    QFile in;
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    in.open(stdin, QIODevice::ReadOnly);
    CliStreams streams{out, err, in, ::isatty(STDERR_FILENO) == 1};
    const int code = RunCli(app.arguments(), streams);
    // A stopped command has removed what it was writing; work it could not interrupt (a page in the middle of being
    // laid out) ends with the process, which does not wait for it.
    if (StopRequested())
        ::_exit(code);
    return code;
}
