#include "core/ProcessRunner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// How often a wait looks at the caller's stop flag and at programs that have ended.
constexpr int CheckMs = 20;
// What is kept of each program's error output; the rest is read and dropped.
constexpr qsizetype ErrorLimit = 64 * 1024;

// The keeper is a small shell that lives as long as Parlivo does: it reads "+GROUP" and "-GROUP" lines telling it
// which process groups run, and when Parlivo ends, however it ends, its input closes and it kills those still
// running. A process of its own (not a copy of Parlivo, which would hold on to Parlivo's memory), in a session of
// its own, so Ctrl+C at a terminal or a signal to Parlivo's process group leaves it be.
constexpr char KeeperScript[] = R"(trap '' INT TERM HUP QUIT
groups=' '
while read -r change; do
  case $change in
    +*) groups="$groups${change#+} " ;;
    -*) case $groups in *" ${change#-} "*) groups="${groups%%" ${change#-} "*} ${groups#*" ${change#-} "}" ;; esac ;;
  esac
done
for group in $groups; do kill -s KILL -- "-$group"; done
)";

// Parlivo's end of the keeper's input; -1 without a keeper. Only Parlivo holds it: it is closed in every program
// Parlivo starts.
int keeperSocket = -1;
std::once_flag keeperStarted;

void startKeeper()
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
    // It holds nothing else of Parlivo's: no reader of Parlivo's output waits for it.
    ::posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    ::posix_spawn_file_actions_addchdir_np(&actions, "/");
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    sigset_t none;
    ::sigemptyset(&none);
    ::posix_spawnattr_setsigmask(&attributes, &none);
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
    char name[] = "parlivo-keeper";
    char option[] = "-c";
    char script[sizeof KeeperScript];
    std::copy(std::begin(KeeperScript), std::end(KeeperScript), script);
    char* arguments[] = {name, option, script, nullptr};
    pid_t keeper = 0;
    const int failed = ::posix_spawn(&keeper, "/bin/sh", &actions, &attributes, arguments, environ);
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(ends[0]);
    if (failed != 0) {
        ::close(ends[1]);
        return;
    }
    keeperSocket = ends[1];
}

// Tells the keeper that a group runs ('+') or has ended ('-'). Safe between fork and exec: it formats the line
// itself and makes one system call.
void tellKeeper(char change, pid_t group)
{
    if (keeperSocket < 0 || group <= 0)
        return;
    char line[16];
    int at = sizeof line;
    line[--at] = '\n';
    do {
        line[--at] = char('0' + group % 10);
        group /= 10;
    } while (group > 0);
    line[--at] = change;
    ::send(keeperSocket, line + at, sizeof line - at, MSG_NOSIGNAL);
}

// Runs in the program's process between fork and exec, so it too makes system calls only.
void prepareChild(pid_t parent)
{
    // A session and process group of its own, so it is killed together with the helpers it starts (LibreOffice's
    // launcher starts the real office as a child).
    ::setsid();
    // Killed when Parlivo ends, and its helpers with it by the keeper.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        ::_exit(127); // Parlivo has already gone
    tellKeeper('+', ::getpid());
}

// A program in a process group of its own. Ending it, or destroying it, kills that group (the program if it still
// runs and whatever it left running) and reaps the program.
class GroupedProcess
{
public:
    GroupedProcess()
    {
        std::call_once(keeperStarted, startKeeper);
        process.setChildProcessModifier([parent = ::getpid()] { prepareChild(parent); });
    }
    ~GroupedProcess() { end(); }
    GroupedProcess(const GroupedProcess&) = delete;
    GroupedProcess& operator=(const GroupedProcess&) = delete;

    bool start()
    {
        process.start();
        if (!process.waitForStarted(-1))
            return false;
        mGroup = pid_t(process.processId());
        return true;
    }

    bool running() const { return process.state() != QProcess::NotRunning; }

    void end()
    {
        if (mGroup <= 0)
            return;
        // The group lives on in the helpers of a program that has been reaped, so its number is not reused.
        ::kill(-mGroup, SIGKILL);
        if (running()) {
            process.kill();
            process.waitForFinished(-1);
        }
        tellKeeper('-', mGroup);
        mGroup = 0;
    }

    // Kills what a program that has finished left running in the background, which may hold a pipe open.
    void endIfFinished()
    {
        if (!running())
            end();
    }

    QProcess process;

private:
    pid_t mGroup = 0;
};

enum class WaitEnd
{
    Done,
    TimedOut,
    Stopped
};

// Waits until `done()` holds, `limit` has passed or `stop` is set. With an application the event loop turns
// meanwhile, so windows stay painted and output is read as it comes, while the user's clicks and keys wait until
// the programs have finished. Without one, `pump` moves the programs' input and output and waits a moment.
WaitEnd waitFor(const std::vector<QProcess*>& processes, const std::function<bool()>& done,
                std::chrono::milliseconds limit, const std::atomic<bool>* stop, const std::function<void()>& pump)
{
    const QDeadlineTimer deadline(limit);
    const auto ended = [&]() -> std::optional<WaitEnd> {
        if (done())
            return WaitEnd::Done;
        if (stop && stop->load())
            return WaitEnd::Stopped;
        if (deadline.hasExpired())
            return WaitEnd::TimedOut;
        return std::nullopt;
    };
    if (!QCoreApplication::instance()) {
        while (true) {
            if (const auto end = ended())
                return *end;
            pump();
        }
    }
    QEventLoop loop;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, &loop, &QEventLoop::quit);
    for (QProcess* process : processes)
        QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
    tick.start(CheckMs);
    while (true) {
        if (const auto end = ended())
            return *end;
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

} // namespace

RunResult RunProgram(const QString& program, const QStringList& arguments, std::chrono::milliseconds limit,
                     const QStringList& environment, const std::atomic<bool>* stop)
{
    RunResult result;
    GroupedProcess running;
    QProcess& process = running.process;
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
    if (!running.start()) {
        result.startError = process.errorString();
        return result;
    }
    result.started = true;

    const WaitEnd end = waitFor(
        {&process}, [&] { return !running.running(); }, limit, stop, [&] { process.waitForFinished(CheckMs); });
    result.timedOut = end == WaitEnd::TimedOut;
    result.stopped = end == WaitEnd::Stopped;
    running.end();
    if (end != WaitEnd::Done || process.exitStatus() == QProcess::CrashExit) {
        result.crashed = end == WaitEnd::Done;
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

PipelineResult RunPipeline(const QList<QStringList>& commands, const QByteArray& input, std::chrono::milliseconds limit,
                           qint64 outputLimit)
{
    PipelineResult result;
    if (commands.isEmpty())
        return result;
    std::vector<std::unique_ptr<GroupedProcess>> programs;
    std::vector<QProcess*> processes;
    for (const QStringList& command : commands) {
        auto program = std::make_unique<GroupedProcess>();
        program->process.setProgram(command.value(0));
        program->process.setArguments(command.mid(1));
        if (!processes.empty())
            processes.back()->setStandardOutputProcess(&program->process);
        processes.push_back(&program->process);
        programs.push_back(std::move(program));
    }
    QProcess& first = *processes.front();
    QProcess& last = *processes.back();
    const auto killAll = [&] {
        for (const auto& program : programs)
            program->end();
    };

    for (const auto& program : programs) {
        if (!program->start()) {
            result.startError = program->process.errorString();
            result.failed = program->process.program();
            killAll();
            return result;
        }
    }
    result.started = true;
    first.write(input);
    first.closeWriteChannel();

    // Output is read as it comes, so a program that writes without end is stopped at the limit rather than filling
    // the memory.
    std::vector<QByteArray> errors(processes.size());
    const auto drain = [&] {
        const QByteArray more = last.readAllStandardOutput();
        if (result.output.size() + more.size() > outputLimit)
            result.outputTooLarge = true;
        else
            result.output += more;
        for (size_t i = 0; i < processes.size(); ++i) {
            const QByteArray written = processes[i]->readAllStandardError();
            errors[i] += written.left(std::max<qsizetype>(0, ErrorLimit - errors[i].size()));
        }
    };
    QObject reading; // ends the connections before what they read into
    if (QCoreApplication::instance()) {
        QObject::connect(&last, &QProcess::readyReadStandardOutput, &reading, drain);
        for (QProcess* process : processes)
            QObject::connect(process, &QProcess::readyReadStandardError, &reading, drain);
    }
    const auto done = [&] {
        for (const auto& program : programs)
            program->endIfFinished();
        return result.outputTooLarge ||
               std::none_of(programs.begin(), programs.end(), [](const auto& program) { return program->running(); });
    };
    // Without an event loop the input is fed and the output drained by hand, so no pipe fills up.
    const auto pump = [&] {
        if (first.bytesToWrite() > 0)
            first.waitForBytesWritten(5);
        last.waitForReadyRead(5);
        for (QProcess* process : processes)
            process->waitForFinished(0);
        drain();
    };
    result.timedOut = waitFor(processes, done, limit, nullptr, pump) == WaitEnd::TimedOut;
    if (result.timedOut) {
        result.exitCode = -1;
        for (QProcess* process : processes) {
            if (process->state() != QProcess::NotRunning) {
                result.failed = process->program(); // the first still running is the one that hung
                break;
            }
        }
    }
    killAll();
    drain();
    if (result.outputTooLarge) {
        result.output.clear();
        result.exitCode = -1;
        result.failed = last.program();
    }

    for (size_t i = 0; i < processes.size(); ++i) {
        const QProcess& process = *processes[i];
        result.errors += QString::fromLocal8Bit(errors[i]);
        const bool crashed = process.exitStatus() == QProcess::CrashExit;
        if (result.timedOut || result.outputTooLarge || (!crashed && process.exitCode() == 0))
            continue;
        // The last to fail is the culprit: those before it were cut off by the pipe it closed.
        result.failed = process.program();
        result.crashed = crashed;
        result.exitCode = crashed ? -1 : process.exitCode();
    }
    return result;
}
