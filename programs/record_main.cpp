// ironstep-record: play the game from the demo's start with the live keyboard
// and save what was played as a demo recording.
//
// Usage: ironstep-record OUT
//   Escape, or the end of the demo's length, stops the recording; OUT is then
//   written whole (record 0 and the ticks after the last one released).
#include <cstdio>
#include <string>

#include <allegro.h>

#include "app/demo.h"
#include "app/startup.h"
#include "recording/driven_demo.h"
#include "recording/recorder.h"
#include "recording/whole_file.h"

namespace {

int fail(const std::string& what)
{
    std::fprintf(stderr, "ironstep-record: %s\n", what.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: ironstep-record OUT\n");
        return 2;
    }
    const std::string out = argv[1];
    // A path that cannot be written is refused before the game starts.
    WholeFileWriter writer;
    if (const std::string fault = open_whole_file(writer, out); !fault.empty())
        return fail(fault);
    if (const int status = start_up_quietly(nullptr); status != EXIT_NORMAL) {
        abandon_whole_file(writer);
        return fail(start_up_fault(status));
    }
    Recording recording;
    const bool fed = run_recorder(recording);
    shut_down();
    if (!fed) {
        abandon_whole_file(writer);
        return fail("the keys could not be handed to the game");
    }
    if (const std::string fault = finish_whole_file(writer, demo_file_bytes(recording.records)); !fault.empty())
        return fail(fault);
    std::printf("ironstep-record: wrote %s: %d ticks recorded (%.2f s), the other %d of the demo's %d released\n",
                out.c_str(), recording.ticks, recording.ticks / 60.0, DEMO_LAST_RECORD - recording.ticks,
                DEMO_LAST_RECORD);
    return 0;
}
END_OF_MAIN()
