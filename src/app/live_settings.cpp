// The running game follows the settings record: the display and the sound
// are told of a change; the keys and the gamepad are read from the record
// each tick already. The file's own record takes only what the screen set.
#include "app/live_settings.h"

#include <cstdio>

#include "display/vsync.h"
#include "display/window_mode.h"
#include "platform/folders.h"
#include "settings/settings_writer.h"
#include "sound/sound.h"

namespace {

std::string file_path;
bool make_file_folders = false;
Settings for_file;
bool unsaved = false;

void follow_display(const Settings& before)
{
    if (settings.fullscreen != before.fullscreen && settings.fullscreen != full_screen_shown()) {
        toggle_full_screen();
        // Where full screen cannot be had the game says so and stays in its window.
        settings.fullscreen = full_screen_shown();
    }
    if (settings.scale != before.scale)
        set_window_scale(settings.scale);
    if (settings.smooth_scaling != before.smooth_scaling)
        set_picture_scaling(settings.smooth_scaling ? Scaling::smooth : Scaling::whole);
    if (settings.vsync != before.vsync)
        use_vsync(settings.vsync);
    // The loop reads frame_rate each round.
}

// The sound reads the volume from the settings as it plays.
void follow_sound(const Settings& before)
{
    if (settings.sound == before.sound)
        return;
    if (settings.sound)
        start_sound();
    else
        stop_sound();
}

void follow(const Settings& before)
{
    follow_display(before);
    follow_sound(before);
}

} // namespace

void show_settings_as_played()
{
    settings.fullscreen = full_screen_shown();
    settings.smooth_scaling = picture_scaling() == Scaling::smooth;
}

void remember_settings_file(const std::string& path, bool make_its_folders, const Settings& as_in_file)
{
    file_path = path;
    make_file_folders = make_its_folders;
    for_file = as_in_file;
    unsaved = false;
}

void follow_changed_row(const Settings& before, OptionsPage page, int row)
{
    follow(before);
    copy_page_row(page, row, settings, for_file);
    unsaved = true;
}

void follow_defaults(const Settings& before)
{
    follow(before);
    for_file = Settings{};
    unsaved = true;
}

bool settings_unsaved()
{
    return unsaved;
}

std::string save_settings_file()
{
    std::string error;
    if (file_path.empty()) {
        error = "neither XDG_CONFIG_HOME nor HOME is set";
    } else {
        const std::size_t slash = file_path.rfind('/');
        if (make_file_folders && slash != std::string::npos && slash > 0)
            error = make_folders(file_path.substr(0, slash));
    }
    if (error.empty())
        error = save_settings(file_path, for_file);
    if (!error.empty()) {
        std::fprintf(stderr, "ironstep: settings not saved: %s\n", error.c_str());
        // The screen's line keeps to the reason, after the file's name.
        const std::size_t colon = error.rfind(": ");
        return "Settings not saved: " + (colon == std::string::npos ? error : error.substr(colon + 2));
    }
    unsaved = false;
    return "";
}
