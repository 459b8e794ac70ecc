// Watching folders for files that come and go, through inotify: how a device
// node plugged in or pulled out is noticed without looking for it each frame.
#pragma once

#include <string>

constexpr int FOLDER_WATCH_FOLDERS = 2;

struct FolderWatch {
    int fd = -1; // the inotify descriptor, -1 when nothing is watched
    int watches[FOLDER_WATCH_FOLDERS] = {-1, -1};
    // Names that matter: those that start with prefix, or equal name.
    std::string prefixes[FOLDER_WATCH_FOLDERS];
    std::string names[FOLDER_WATCH_FOLDERS];
};

// Starts watching folder for entries made, removed, renamed or given other
// permissions whose name starts with prefix or is name (either may be
// empty). A folder that does not exist, or more folders than the watch
// holds, are left unwatched. False when nothing could be watched.
bool watch_folder(FolderWatch& watch, const std::string& folder, const std::string& prefix,
                  const std::string& name);

// Reads what happened since the last call without waiting; true if any
// entry that matters came, went or changed.
bool folder_watch_saw_change(FolderWatch& watch);

void stop_folder_watch(FolderWatch& watch);
