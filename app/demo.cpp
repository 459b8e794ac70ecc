// Demo playback: one 10-byte input record per tick from the demo file, read
// by the record's number, so a tick never depends on where the last read ended.
#include "app/demo.h"

#include <cstdio>

#include "app/game_state.h"
#include "app/resources.h"

std::array<std::uint8_t, INPUT_RECORD_SIZE> input_record = {};

namespace {

bool missing_recording_reported = false;

// The stream's buffer is the game's own, so reading records during play
// never asks the C library for memory.
char demo_stream_buffer[BUFSIZ];

constexpr int DEMO_PATH_SIZE = 256;

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

void open_demo_file(const char* executable)
{
    demo_file = std::fopen(DEMO_FILE_NAME, "rb");
    if (demo_file == nullptr) {
        char path[DEMO_PATH_SIZE];
        replace_filename(path, executable, DEMO_FILE_NAME, sizeof path);
        demo_file = std::fopen(path, "rb");
    }
    if (demo_file != nullptr) {
        std::setvbuf(demo_file, demo_stream_buffer, _IOFBF, sizeof demo_stream_buffer);
        std::fseek(demo_file, 0, SEEK_SET);
    }
}

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
