// Demo playback: one record of the actions per tick from the demo file, read
// by the record's number, so a tick never depends on where the last read ended.
#include "input/demo.h"

#include <algorithm>
#include <cstdio>

#include "game/game_state.h"
#include "game/resources.h"
#include "input/demo_open.h"

ActionBytes input_record = {};
long demo_stream_offset = 0;

namespace {

bool missing_recording_reported = false;

// The stream's buffer is the game's own, so reading records during play
// never asks the C library for memory.
char demo_stream_buffer[BUFSIZ];

void play_without_recording()
{
    if (!missing_recording_reported) {
        std::printf("No demo recording \"vesk\" found: the demo plays with no keys pressed.\n");
        std::fflush(stdout);
        missing_recording_reported = true;
    }
    input_record = {};
}

// A stream that cannot seek (a named pipe a player gave as the recording) is read
// forward to the wanted record, discarding what lies before it; one already
// passed cannot be read again, and counts as the end of the stream.
std::size_t read_forward(long wanted, ActionBytes& bytes)
{
    ActionBytes discarded;
    while (demo_stream_offset < wanted) {
        const long gap = wanted - demo_stream_offset;
        const std::size_t got = std::fread(discarded.data(), 1, std::size_t(std::min<long>(gap, INPUT_RECORD_SIZE)), demo_file);
        if (got == 0)
            return 0;
        demo_stream_offset += long(got);
    }
    if (demo_stream_offset > wanted)
        return 0;
    const std::size_t count = std::fread(bytes.data(), 1, bytes.size(), demo_file);
    demo_stream_offset += long(count);
    return count;
}

} // namespace

void open_demo_file(const char* executable)
{
    demo_file = nullptr;
    use_demo_stream(open_demo_recording(executable, missing_recording_reported));
}

void use_demo_stream(std::FILE* stream)
{
    if (demo_file != nullptr)
        std::fclose(demo_file);
    demo_file = stream;
    demo_stream_offset = 0;
    if (demo_file != nullptr) {
        std::setvbuf(demo_file, demo_stream_buffer, _IOFBF, sizeof demo_stream_buffer);
        std::fseek(demo_file, 0, SEEK_SET);
    }
}

const ActionBytes& read_demo_record()
{
    if (demo_file == nullptr) {
        play_without_recording();
        return input_record;
    }
    ActionBytes bytes = {};
    std::size_t count = 0;
    const long wanted = long(INPUT_RECORD_SIZE) * game.demo_index;
    if (std::fseek(demo_file, wanted, SEEK_SET) == 0)
        count = std::fread(bytes.data(), 1, bytes.size(), demo_file);
    else
        count = read_forward(wanted, bytes);
    // A read error counts as the end of the file; the next seek starts afresh.
    std::clearerr(demo_file);
    // Nothing read: the last record keeps acting. A record cut short plays the
    // keys present and releases the rest rather than keep the previous tail.
    if (count > 0)
        input_record = bytes;
    return input_record;
}
