// parlivo, the program the desktop runs. A shortcut's request (--read-selection, --read-clipboard, --reader-bar)
// goes straight to the running copy over the session bus; anything else, and a request no copy answers, becomes
// the window program beside this one, in this same process (same arguments, same process id, same folder for the
// settings). Loading the window program's libraries (Qt Widgets, the browser engine) takes far longer than the
// reading itself, so this program links libdbus alone and a shortcut is heard about as soon as F5 in the window.

#include <dbus/dbus.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <unistd.h>
#include <utility>

namespace {

// As the window's DesktopService offers them.
constexpr const char* ServiceName = "org.parlivo.Reader";
constexpr const char* ObjectPath = "/org/parlivo/Reader";
constexpr const char* WindowProgram = "parlivo-window";

// The service method a desktop shortcut asks for, or none.
const char* readRequest(int argc, char** argv)
{
    static constexpr std::pair<std::string_view, const char*> requests[] = {{"--read-selection", "ReadSelection"},
                                                                            {"--read-clipboard", "ReadClipboard"},
                                                                            {"--reader-bar", "ShowReaderBar"}};
    for (const auto& [option, method] : requests) {
        for (int i = 1; i < argc; ++i) {
            if (argv[i] == option)
                return method;
        }
    }
    return nullptr;
}

enum class HandOff
{
    NoCopy,
    Done,
    Refused
};

// Has the running copy carry out `method`. A copy that refuses (nothing to read, a question of its own open)
// gives its reason on standard error.
HandOff callRunningReader(const char* method)
{
    DBusError error;
    dbus_error_init(&error);
    DBusConnection* bus = dbus_bus_get_private(DBUS_BUS_SESSION, &error);
    if (!bus) {
        dbus_error_free(&error);
        return HandOff::NoCopy;
    }
    // A bus that goes away is no reason to end the process that may yet become the window.
    dbus_connection_set_exit_on_disconnect(bus, false);
    HandOff result = HandOff::NoCopy;
    if (DBusMessage* call = dbus_message_new_method_call(ServiceName, ObjectPath, ServiceName, method)) {
        DBusMessage* reply = dbus_connection_send_with_reply_and_block(bus, call, DBUS_TIMEOUT_USE_DEFAULT, &error);
        if (reply) {
            result = HandOff::Done;
            dbus_message_unref(reply);
        } else if (!dbus_error_has_name(&error, DBUS_ERROR_NO_REPLY) &&
                   !dbus_error_has_name(&error, DBUS_ERROR_SERVICE_UNKNOWN)) {
            // A copy that does not answer is no copy to hand over to; any other error is its answer.
            std::fprintf(stderr, "parlivo: %s\n", error.message);
            result = HandOff::Refused;
        }
        dbus_message_unref(call);
    }
    dbus_error_free(&error);
    // Closed before the window program starts: a new copy offers the service on a connection of its own.
    dbus_connection_close(bus);
    dbus_connection_unref(bus);
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    if (const char* method = readRequest(argc, argv)) {
        switch (callRunningReader(method)) {
        case HandOff::Done:
            return 0;
        case HandOff::Refused:
            return 1;
        case HandOff::NoCopy:
            break;
        }
    }
    // Beside the real file, not the link in bin/ the desktop may have run.
    std::error_code failed;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    const std::filesystem::path window =
        failed ? std::filesystem::path(WindowProgram) : self.parent_path() / WindowProgram;
    execv(window.c_str(), argv);
    std::fprintf(stderr, "parlivo: cannot start %s: %s\n", window.c_str(), std::strerror(errno));
    return 127;
}
