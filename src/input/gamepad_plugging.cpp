// Pads plugged in and pulled out while the game runs. Allegro 4 looks for
// joysticks only when its driver is installed, so a change in the folders
// its driver opens devices from puts the driver in afresh.
#include "input/gamepad.h"

#include <chrono>
#include <string>

#include <allegro.h>

#include "platform/folder_watch.h"

namespace {

FolderWatch watch;
bool look_again_due = false;
std::chrono::steady_clock::time_point look_again_at;

// The time the system may take to give a new device node its permissions.
constexpr std::chrono::milliseconds SETTLING{500};

// Allegro's Linux driver opens joystick_device_N, by default /dev/input/jsN,
// and for the first pad, when that fails, joystick_device.
constexpr const char* USUAL_FOLDER = "/dev/input";
constexpr const char* USUAL_PREFIX = "js";

void watch_device(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        watch_folder(watch, ".", "", path);
    else
        watch_folder(watch, slash == 0 ? "/" : path.substr(0, slash), "", path.substr(slash + 1));
}

} // namespace

void watch_for_gamepads()
{
    const char* first = get_config_string("joystick", "joystick_device_0", nullptr);
    if (first != nullptr)
        watch_device(first);
    else
        watch_folder(watch, USUAL_FOLDER, USUAL_PREFIX, "");
    const char* fallback = get_config_string("joystick", "joystick_device", nullptr);
    if (fallback != nullptr)
        watch_device(fallback);
}

void follow_gamepad_plugging()
{
    const bool changed = folder_watch_saw_change(watch);
    if (!changed && !look_again_due)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!changed && now < look_again_at)
        return;
    install_gamepad();
    look_again_due = changed && !gamepad_present();
    look_again_at = now + SETTLING;
}
