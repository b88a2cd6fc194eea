#include "cli/StopRequest.h"

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <mutex>
#include <thread>
#include <vector>

#include <semaphore.h>
#include <signal.h>
#include <unistd.h>

namespace {

// How long the stages have to stop before the program ends without them.
constexpr std::chrono::seconds Grace{3};

std::atomic<int> stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");
// Posted by the handler, which may do little else, to wake the thread that passes the request on.
sem_t requested;

std::mutex forwardingMutex;
std::vector<std::atomic<bool>*> forwarded;

void onStopSignal(int signal)
{
    int none = 0;
    if (stopSignal.compare_exchange_strong(none, signal))
        ::sem_post(&requested);
}

void passRequestOn()
{
    while (::sem_wait(&requested) != 0 && errno == EINTR) {
    }
    {
        const std::lock_guard lock(forwardingMutex);
        for (std::atomic<bool>* flag : forwarded)
            flag->store(true);
    }
    std::this_thread::sleep_for(Grace);
    // Every stage should have ended the program by now; children go with it, temporary files at the next start.
    static constexpr char message[] = "parlivo-cli: stopped\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
    ::_exit(128 + stopSignal.load());
}

} // namespace

void HandleStopSignals()
{
    ::sem_init(&requested, 0, 0);
    std::thread(passRequestOn).detach();
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested()
{
    return stopSignal.load() != 0;
}

ExitCode StoppedExitCode()
{
    return stopSignal.load() == SIGTERM ? ExitTerminated : ExitInterrupted;
}

StopForwarding::StopForwarding(std::atomic<bool>& flag) : mFlag(flag)
{
    const std::lock_guard lock(forwardingMutex);
    if (StopRequested())
        flag.store(true);
    forwarded.push_back(&flag);
}

StopForwarding::~StopForwarding()
{
    const std::lock_guard lock(forwardingMutex);
    forwarded.erase(std::find(forwarded.begin(), forwarded.end(), &mFlag));
}
