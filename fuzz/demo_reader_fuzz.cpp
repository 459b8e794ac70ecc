// The demo reader over any byte stream as the recording: every record the
// demo plays, and a few read while the logic catches up past its end. The
// input record must always be what the stream holds for that tick: the
// record's bytes, 0 for keys beyond the end of a record cut short, and the
// last record read again once the stream has ended.
#include <algorithm>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "game/game_state.h"
#include "game/resources.h"
#include "input/demo.h"

namespace {
constexpr int CATCH_UP_RECORDS = 4;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    demo_file = std::fopen(input_as_file(data, size), "rb");
    if (demo_file == nullptr)
        fuzz_fault("the recording cannot be opened");
    input_record = {};
    ActionBytes expected = {};
    for (game.demo_index = 1; game.demo_index <= DEMO_LAST_RECORD + CATCH_UP_RECORDS; ++game.demo_index) {
        const std::size_t start = std::size_t(INPUT_RECORD_SIZE) * std::size_t(game.demo_index);
        if (start < size) {
            expected = {};
            std::memcpy(expected.data(), data + start, std::min<std::size_t>(INPUT_RECORD_SIZE, size - start));
        }
        if (read_demo_record() != expected || input_record != expected)
            fuzz_fault("the input record is not the stream's record for the tick");
    }
    std::fclose(demo_file);
    demo_file = nullptr;
    return 0;
}
