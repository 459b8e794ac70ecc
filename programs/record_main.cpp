// ironstep-record: play the game from the demo's start with the player's own
// keys and gamepad, as the settings file binds them, and save what was played
// as a demo recording.
//
// Usage: ironstep-record OUT
//   Escape, the window's close button, or the end of the demo's length stops
//   the recording; OUT is then written whole (record 0 and the ticks after the
//   last one released). SIGTERM, SIGINT or SIGHUP stops it and leaves OUT as
//   it was. Pause and the screenshot key work as in the game.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include <allegro.h>

#include "app/pause.h"
#include "app/startup.h"
#include "input/demo.h"
#include "input/gamepad.h"
#include "platform/signals.h"
#include "platform/whole_file.h"
#include "recording/driven_demo.h"
#include "recording/recorder.h"
#include "recording/recording_banner.h"
#include "settings/settings_file.h"

namespace {

int fail(const std::string& what)
{
    std::fprintf(stderr, "ironstep-record: %s\n", what.c_str());
    return 1;
}

int record(const std::string& out)
{
    // A path that cannot be written is refused before the game starts.
    WholeFileWriter writer;
    if (const std::string fault = open_whole_file(writer, out); !fault.empty())
        return fail(fault);
    remove_on_abrupt_end(writer.temporary.empty() ? nullptr : writer.temporary.c_str());
    // The player's settings as the game reads them, so the keys record as bound.
    if (const std::string settings_path = usual_settings_path(); !settings_path.empty())
        read_settings_file(settings_path.c_str(), false, settings, stderr);
    if (const int status = start_up_quietly(nullptr); status != EXIT_NORMAL) {
        abandon_whole_file(writer);
        return fail(start_up_fault(status));
    }
    std::printf("ironstep-record: recording %s: Escape stops the recording and keeps what was played\n", out.c_str());
    std::fflush(stdout);
    install_gamepad();
    watch_pause();
    Recording recording;
    const GLuint demo_banner = use_recording_banner();
    run_recorder(recording);
    restore_demo_banner(demo_banner);
    shut_down();
    if (stop_signal() != 0) {
        abandon_whole_file(writer);
        std::fprintf(stderr, "ironstep-record: stopped by SIG%s: %s left as it was\n", sigabbrev_np(stop_signal()),
                     out.c_str());
        return stop_exit_status(0);
    }
    if (const std::string fault = finish_whole_file(writer, demo_file_bytes(recording.records)); !fault.empty())
        return fail(fault);
    std::printf("ironstep-record: wrote %s: %d ticks recorded (%.2f s), the other %d of the demo's %d released\n",
                out.c_str(), recording.ticks, recording.ticks / 60.0, DEMO_LAST_RECORD - recording.ticks,
                DEMO_LAST_RECORD);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: ironstep-record OUT\n");
        return 2;
    }
    try {
        return record(argv[1]);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
}
END_OF_MAIN()
