// ironstep-timedemo: plays a recording one logic tick per drawn frame, as fast
// as the frames come, and prints the frame rate it reached.
//
// Usage: ironstep-timedemo [RECORDING] [--csv FILE]
//   RECORDING defaults to the showcase "vesk" beside the program; FILE
//   receives every frame's time. SIGTERM, SIGINT or SIGHUP stops it with no
//   figures and FILE left as it was.
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include <allegro.h>

#include "app/startup.h"
#include "input/demo.h"
#include "platform/signals.h"
#include "platform/whole_file.h"
#include "recording/driven_demo.h"
#include "recording/timedemo.h"

namespace {

constexpr unsigned RANDOM_SEED = 1; // the Walker wanders the same way every run

int usage()
{
    std::fprintf(stderr, "usage: ironstep-timedemo [RECORDING] [--csv FILE]\n");
    return 2;
}

int fail(const std::string& what)
{
    std::fprintf(stderr, "ironstep-timedemo: %s\n", what.c_str());
    return 1;
}

int time_recording(std::string recording, const std::string& csv)
{
    if (recording.empty()) {
        std::error_code error;
        recording = (std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / DEMO_FILE_NAME).string();
    }
    WholeFileWriter csv_file;
    if (!csv.empty()) {
        if (const std::string fault = open_whole_file(csv_file, csv); !fault.empty())
            return fail(fault);
        remove_on_abrupt_end(csv_file.temporary.empty() ? nullptr : csv_file.temporary.c_str());
    }
    std::string note;
    const std::string fault = start_driven_demo(nullptr, recording.c_str(), RANDOM_SEED, 0, &note);
    if (!note.empty())
        std::fprintf(stderr, "ironstep-timedemo: %s: %s\n", recording.c_str(), note.c_str());
    if (!fault.empty()) {
        abandon_whole_file(csv_file);
        return fail(fault);
    }
    std::vector<double> frame_ms;
    play_timedemo(frame_ms);
    shut_down();
    if (stop_signal() != 0) {
        abandon_whole_file(csv_file);
        std::fprintf(stderr, "ironstep-timedemo: stopped by SIG%s after %zu frames: no figures\n",
                     sigabbrev_np(stop_signal()), frame_ms.size());
        return stop_exit_status(0);
    }
    std::string summary = describe_timedemo(summarise_frame_times(frame_ms));
    if (!csv.empty()) {
        if (const std::string fault = finish_whole_file(csv_file, frame_times_csv(frame_ms)); !fault.empty())
            return fail(fault);
        summary += "; each frame's time in " + csv;
    }
    std::printf("ironstep-timedemo: %s\n", summary.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::string recording, csv;
    bool csv_given = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--csv" && i + 1 < argc && !csv_given) {
            csv = argv[++i];
            csv_given = true;
        } else if (!arg.empty() && arg[0] != '-' && recording.empty())
            recording = arg;
        else
            return usage();
    }
    // An empty FILE is refused as a name, like any other that cannot be written.
    if (csv_given && csv.empty())
        return fail("--csv: the file name is empty");
    try {
        return time_recording(recording, csv);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
}
END_OF_MAIN()
