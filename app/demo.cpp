// Demo playback: one 10-byte input record per tick from the demo file, read
// by the record's number, so a tick never depends on where the last read ended.
#include "app/demo.h"

#include <cstdio>

#include "app/game_state.h"
#include "app/resources.h"

std::array<std::uint8_t, INPUT_RECORD_SIZE> input_record = {};

namespace {

bool missing_recording_reported = false;

void play_without_recording()
{
    if (!missing_recording_reported) {
        std::printf("No demo recording \"vesk\" found: the demo plays with no keys pressed.\n");
        std::fflush(stdout);
        missing_recording_reported = true;
    }
    input_record = {};
}

} // namespace

void read_demo_record()
{
    if (demo_file == nullptr) {
        play_without_recording();
        game.demo_index += 1;
        return;
    }
    std::array<std::uint8_t, INPUT_RECORD_SIZE> bytes = {};
    std::size_t count = 0;
    if (std::fseek(demo_file, long(INPUT_RECORD_SIZE) * game.demo_index, SEEK_SET) == 0)
        count = std::fread(bytes.data(), 1, bytes.size(), demo_file);
    // A read error counts as the end of the file; the next seek starts afresh.
    std::clearerr(demo_file);
    // Nothing read: the last record keeps acting. A record cut short plays the
    // keys present and releases the rest rather than keep the previous tail.
    if (count > 0)
        input_record = bytes;
    game.demo_index += 1;
}
