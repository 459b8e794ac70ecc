// The tools' reader of a recording and the judgement of its length over any
// bytes as the file: the read stops one byte past the demo's length, the
// length is the file's, the judgement agrees with the decompiler's faults,
// and the script printed compiles to the records as the game plays them.
#include <sstream>
#include <string>

#include "app/demo_file_check.h"
#include "fuzz/fuzz_support.h"
#include "recording/demo_script_compiler.h"
#include "recording/demo_script_decompiler.h"
#include "recording/recording_file.h"

namespace {

// Record r as the game plays it: a byte not 0 pressed, bytes past the end released.
DemoRecord played(const std::uint8_t* data, std::size_t size, std::size_t r)
{
    DemoRecord record = {};
    for (std::size_t k = 0; k < std::size_t(INPUT_RECORD_SIZE); ++k) {
        const std::size_t i = r * INPUT_RECORD_SIZE + k;
        if (i < size && data[i] != 0)
            record[k] = INPUT_PRESSED;
    }
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RecordingBytes recording;
    if (!read_recording(input_as_file(data, size), recording).empty())
        fuzz_fault("an ordinary file refused");
    const std::size_t bound = std::size_t(DEMO_FILE_LENGTH) + 1;
    if (recording.length != (long long)size || recording.bytes.size() != std::min(size, bound) ||
        !std::equal(recording.bytes.begin(), recording.bytes.end(), data))
        fuzz_fault("not the file's first bytes, up to one past the demo's length");

    const DemoFileCheck check = check_demo_length((long long)size);
    if ((check.verdict == DemoFileVerdict::whole) != (size == std::size_t(DEMO_FILE_LENGTH)) ||
        (check.verdict == DemoFileVerdict::unusable) != (size <= std::size_t(INPUT_RECORD_SIZE)) ||
        (check.verdict == DemoFileVerdict::whole) != check.fault.empty())
        fuzz_fault("the judgement does not follow the length");

    std::ostringstream script;
    std::vector<std::string> faults;
    decompile_demo(recording.bytes, recording.length, script, faults);
    bool exact = size == std::size_t(DEMO_FILE_LENGTH);
    for (std::size_t i = 0; i < std::min(size, bound); ++i)
        exact = exact && (data[i] == 0 || (data[i] == INPUT_PRESSED && i >= std::size_t(INPUT_RECORD_SIZE)));
    if (faults.empty() != exact)
        fuzz_fault("faults reported for an exact recording, or none for an inexact one");

    std::istringstream again(script.str());
    std::vector<DemoRecord> records;
    if (!compile_demo_script(again, records).empty())
        fuzz_fault("the printed script does not compile");
    const std::size_t held = std::min<std::size_t>((size + INPUT_RECORD_SIZE - 1) / INPUT_RECORD_SIZE, DEMO_LAST_RECORD + 1);
    for (std::size_t r = 1; r < records.size(); ++r)
        if (records[r] != (r < held ? played(data, size, r) : DemoRecord{}))
            fuzz_fault("the script does not say the records as the game plays them");
    return 0;
}
