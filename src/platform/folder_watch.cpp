// The folder watch over inotify. The descriptor never blocks, and its events
// are read into a buffer of fixed size, so a round costs one read call.
#include "platform/folder_watch.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstddef>
#include <cstring>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t WATCHED_EVENTS = IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_FROM | IN_MOVED_TO;

// Room for many events at once; more wait for the next call.
constexpr std::size_t EVENT_BUFFER = 16 * (sizeof(inotify_event) + NAME_MAX + 1);

bool matters(const FolderWatch& watch, int slot, const char* name)
{
    const std::string& prefix = watch.prefixes[slot];
    const std::string& exact = watch.names[slot];
    return (!prefix.empty() && std::strncmp(name, prefix.c_str(), prefix.size()) == 0) ||
           (!exact.empty() && exact == name);
}

int slot_of(const FolderWatch& watch, int wd)
{
    for (int i = 0; i < FOLDER_WATCH_FOLDERS; ++i)
        if (watch.watches[i] == wd)
            return i;
    return -1;
}

} // namespace

bool watch_folder(FolderWatch& watch, const std::string& folder, const std::string& prefix,
                  const std::string& name)
{
    int slot = 0;
    while (slot < FOLDER_WATCH_FOLDERS && watch.watches[slot] >= 0)
        ++slot;
    if (slot == FOLDER_WATCH_FOLDERS)
        return false;
    if (watch.fd < 0)
        watch.fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (watch.fd < 0)
        return false;
    const int wd = inotify_add_watch(watch.fd, folder.c_str(), WATCHED_EVENTS | IN_ONLYDIR);
    if (wd < 0)
        return false;
    // One folder named twice is one watch: its names join the first slot's.
    const int same = slot_of(watch, wd);
    if (same >= 0) {
        if (watch.prefixes[same].empty())
            watch.prefixes[same] = prefix;
        if (watch.names[same].empty())
            watch.names[same] = name;
        return true;
    }
    watch.watches[slot] = wd;
    watch.prefixes[slot] = prefix;
    watch.names[slot] = name;
    return true;
}

bool folder_watch_saw_change(FolderWatch& watch)
{
    if (watch.fd < 0)
        return false;
    alignas(inotify_event) char buffer[EVENT_BUFFER];
    bool changed = false;
    for (;;) {
        const ssize_t got = read(watch.fd, buffer, sizeof buffer);
        if (got <= 0)
            return changed; // EAGAIN: nothing more for now
        for (ssize_t at = 0; at < got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const int slot = slot_of(watch, event->wd);
            // A full queue loses events: look again as if something came.
            if ((event->mask & IN_Q_OVERFLOW) != 0 || (slot >= 0 && event->len > 0 && matters(watch, slot, event->name)))
                changed = true;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}

void stop_folder_watch(FolderWatch& watch)
{
    if (watch.fd >= 0)
        close(watch.fd);
    watch = FolderWatch{};
}
