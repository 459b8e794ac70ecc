// From the command line to the game: --help, --version and --write-config
// end here; otherwise the settings file is read, the options override it,
// and the game starts.
#include "app/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/stat.h>

#include "app/pause.h"
#include "app/startup.h"
#include "input/demo.h"
#include "input/demo_open.h"
#include "input/gamepad.h"
#include "platform/folders.h"
#include "platform/whole_file.h"
#include "settings/options.h"
#include "settings/settings_file.h"
#include "sound/sound.h"

#ifndef IRONSTEP_VERSION
#define IRONSTEP_VERSION "unknown"
#endif

namespace {

std::FILE* chosen_recording = nullptr;

// Writes the defaults to path, never over a file that is there already.
int write_config(const std::string& path)
{
    if (path.empty()) {
        std::fprintf(stderr, "ironstep: neither XDG_CONFIG_HOME nor HOME is set\n");
        return 1;
    }
    struct stat st;
    if (lstat(path.c_str(), &st) == 0) {
        std::fprintf(stderr, "ironstep: %s is there already; it is left as it is\n", path.c_str());
        return 1;
    }
    const std::size_t slash = path.rfind('/');
    std::string error = slash == std::string::npos || slash == 0 ? "" : make_folders(path.substr(0, slash));
    if (error.empty())
        error = write_whole_file(path, default_settings_text());
    if (!error.empty()) {
        std::fprintf(stderr, "ironstep: %s\n", error.c_str());
        return 1;
    }
    std::printf("The default settings are written to %s\n", path.c_str());
    return 0;
}

bool open_chosen_recording(const char* path)
{
    std::string refusal;
    chosen_recording = open_named_recording(path, refusal);
    if (chosen_recording == nullptr)
        std::fprintf(stderr, "ironstep: %s: %s\n", path, refusal.c_str());
    return chosen_recording != nullptr;
}

} // namespace

int run_from_command_line(int argc, char** argv)
{
    Options options;
    const std::string wrong = parse_options(argc, argv, options);
    if (!wrong.empty()) {
        std::fprintf(stderr, "ironstep: %s\n", wrong.c_str());
        print_usage(stderr);
        return 2;
    }
    if (options.help) {
        print_usage(stdout);
        return 0;
    }
    if (options.version) {
        std::printf("ironstep %s\n", IRONSTEP_VERSION);
        return 0;
    }
    const std::string settings_path = options.config != nullptr ? options.config : usual_settings_path();
    if (options.write_config)
        return write_config(settings_path);

    if (!settings_path.empty())
        read_settings_file(settings_path.c_str(), options.config != nullptr, settings, stderr);
    if (options.window)
        settings.display_mode = DisplayMode::window;
    if (options.fullscreen) {
        settings.display_mode = DisplayMode::fullscreen;
        unsetenv("IRONSTEP_WINDOW"); // --fullscreen stands above the variable
    }
    if (options.scale != 0)
        settings.scale = options.scale;
    if (options.nosound)
        settings.sound = false;
    sound_settings.enabled = settings.sound ? 1 : 0;
    sound_settings.volume = settings.volume;
    if (options.demo != nullptr && !open_chosen_recording(options.demo))
        return 1;
    return run_game();
}

void apply_run_options()
{
    if (chosen_recording != nullptr) {
        use_demo_stream(chosen_recording);
        chosen_recording = nullptr;
    }
    install_gamepad();
    watch_pause();
}
