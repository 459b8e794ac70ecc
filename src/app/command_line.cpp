// From the command line to the game: --help, --version and --write-config
// end here; otherwise the settings file is read, the options override it,
// and the game starts.
#include "app/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/stat.h>

#include "app/live_settings.h"
#include "app/pause.h"
#include "app/startup.h"
#include "input/demo.h"
#include "input/demo_open.h"
#include "input/gamepad.h"
#include "platform/folders.h"
#include "platform/whole_file.h"
#include "settings/settings_file.h"
#include "settings/settings_writer.h"

#ifndef IRONSTEP_VERSION
#define IRONSTEP_VERSION "unknown"
#endif

Options run_options;

namespace {

std::FILE* chosen_recording = nullptr;

// Writes the defaults to path, never over a file that is there already; the
// folders on the way are made only for the usual place, a path given being
// taken as it is.
int write_config(const std::string& path, bool make_missing_folders)
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
    const std::string folder = slash == std::string::npos || slash == 0 ? "" : path.substr(0, slash);
    if (!make_missing_folders && !folder.empty() && stat(folder.c_str(), &st) != 0 &&
        (errno == ENOENT || errno == ENOTDIR)) {
        std::fprintf(stderr, "ironstep: %s: no such folder; nothing was written\n", folder.c_str());
        return 1;
    }
    std::string error = make_missing_folders && !folder.empty() ? make_folders(folder) : "";
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
    // Once to learn what the run is and which settings file to read; then,
    // over the file's settings, again into the settings themselves.
    Settings before_the_file;
    const std::string wrong = parse_options(argc, argv, before_the_file, run_options);
    if (!wrong.empty()) {
        std::fprintf(stderr, "ironstep: %s\n", wrong.c_str());
        print_usage(stderr);
        return 2;
    }
    if (run_options.help) {
        print_usage(stdout);
        return 0;
    }
    if (run_options.version) {
        std::printf("ironstep %s\n", IRONSTEP_VERSION);
        return 0;
    }
    const bool config_given = run_options.config != nullptr;
    const std::string settings_path = config_given ? run_options.config : usual_settings_path();
    if (run_options.write_config)
        return write_config(settings_path, !config_given);

    if (!settings_path.empty())
        read_settings_file(settings_path.c_str(), config_given, settings, stderr);
    remember_settings_file(settings_path, !config_given, settings);
    parse_options(argc, argv, settings, run_options);
    if (run_options.demo != nullptr && !open_chosen_recording(run_options.demo))
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
    watch_for_gamepads();
    watch_pause();
}
