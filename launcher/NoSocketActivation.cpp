// libdbus's static library refers to systemd's socket activation, which only a bus daemon listening for
// connections uses (it asks systemd for the sockets it was started with). This program only ever connects, so it
// is told, as systemd would tell a program started without sockets, that it has none; linking libsystemd instead
// would load it and the compression and crypto libraries it needs at every shortcut.

extern "C" int sd_listen_fds(int)
{
    return 0;
}

extern "C" int sd_is_socket(int, int, int, int)
{
    return 0;
}
