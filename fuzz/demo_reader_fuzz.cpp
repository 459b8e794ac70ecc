// The demo reader over any byte stream as the recording, found and opened as
// start-up does ("vesk" in the current folder): every record the demo plays,
// and a few read while the logic catches up past its end. A file with no
// record the demo plays is passed over; in any other the input record must
// always be what the stream holds for that tick: the record's bytes, 0 for
// keys beyond the end of a record cut short, and the last record read again
// once the stream has ended.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "app/demo.h"
#include "app/game_state.h"
#include "app/resources.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr int CATCH_UP_RECORDS = 4;

char scratch_folder[] = "/tmp/ironstep-fuzz-XXXXXX";
std::string scratch_vesk;

void remove_scratch_folder()
{
    unlink(scratch_vesk.c_str());
    rmdir(scratch_folder);
}

// Opens the recording as start-up does, started in the scratch folder.
void open_in_scratch_folder()
{
    const int started_in = open(".", O_RDONLY | O_DIRECTORY);
    if (started_in < 0 || chdir(scratch_folder) != 0)
        fuzz_fault("cannot enter the scratch folder");
    open_demo_file("/nonexistent/ironstep");
    if (fchdir(started_in) != 0)
        fuzz_fault("cannot leave the scratch folder");
    close(started_in);
}

} // namespace

// A scratch folder whose "vesk" leads to the input, removed on the way out;
// what the game says of a flawed file goes nowhere.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (mkdtemp(scratch_folder) == nullptr)
        fuzz_fault("no scratch folder");
    scratch_vesk = std::string(scratch_folder) + "/vesk";
    if (symlink(input_as_file(nullptr, 0), scratch_vesk.c_str()) != 0 || std::atexit(remove_scratch_folder) != 0 ||
        std::freopen("/dev/null", "w", stdout) == nullptr)
        fuzz_fault("no scratch folder");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    input_as_file(data, size);
    open_in_scratch_folder();
    if ((demo_file == nullptr) != (size <= std::size_t(INPUT_RECORD_SIZE)))
        fuzz_fault("a recording passed over, or one with no record played taken");
    input_record = {};
    std::array<std::uint8_t, INPUT_RECORD_SIZE> expected = {};
    for (game.demo_index = 1; game.demo_index <= DEMO_LAST_RECORD + CATCH_UP_RECORDS;) {
        const std::size_t start = std::size_t(INPUT_RECORD_SIZE) * std::size_t(game.demo_index);
        if (start < size) {
            expected = {};
            std::memcpy(expected.data(), data + start, std::min<std::size_t>(INPUT_RECORD_SIZE, size - start));
        }
        const int index = game.demo_index;
        read_demo_record();
        if (game.demo_index != index + 1)
            fuzz_fault("the record number does not move on by one");
        if (input_record != expected)
            fuzz_fault("the input record is not the stream's record for the tick");
    }
    if (demo_file != nullptr)
        std::fclose(demo_file);
    demo_file = nullptr;
    return 0;
}
