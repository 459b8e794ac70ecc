// The tools' reader of a recording and the judgement of one over any bytes as
// the file: the read stops one byte past the demo's length, the judgement
// follows the length, the decompiler reports faults exactly when the file is
// no exact recording, and its script compiles to the records as played.
#include <fcntl.h>
#include <sstream>
#include <unistd.h>

#include "fuzz/fuzz_support.h"
#include "input/demo_file_check.h"
#include "recording/demo_script_compiler.h"
#include "recording/demo_script_decompiler.h"
#include "recording/recording_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const char* path = input_as_file(data, size);
    RecordingBytes read;
    const std::size_t bound = std::size_t(DEMO_FILE_LENGTH);
    if (!read_recording(path, read).empty() || read.length != (long long)size ||
        read.bytes != std::vector<std::uint8_t>(data, data + std::min(size, bound + 1)))
        fuzz_fault("not the file's length, or not its first bytes up to one past the demo's length");
    const int fd = open(path, O_RDONLY);
    const DemoFileCheck check = check_demo_file(fd);
    close(fd);
    if ((check.verdict == DemoFileVerdict::whole) != (size == bound) || check.fault.empty() != (size == bound) ||
        (check.verdict == DemoFileVerdict::unusable) != (size <= std::size_t(INPUT_RECORD_SIZE)))
        fuzz_fault("the judgement does not follow the length");

    std::ostringstream script;
    std::vector<std::string> faults;
    decompile_demo(read.bytes, read.length, script, faults);
    bool exact = size == bound;
    for (std::size_t i = 0; i < std::min(size, bound); ++i)
        exact = exact && (data[i] == 0 || (data[i] == INPUT_PRESSED && i >= std::size_t(INPUT_RECORD_SIZE)));
    if (faults.empty() != exact)
        fuzz_fault("faults reported for an exact recording, or none for another");
    std::istringstream again(script.str());
    std::vector<ActionBytes> records;
    if (!compile_demo_script(again, records).empty())
        fuzz_fault("the script printed does not compile");
    for (std::size_t i = INPUT_RECORD_SIZE; i < bound; ++i)
        if (records[i / INPUT_RECORD_SIZE][i % INPUT_RECORD_SIZE] != (i < size && data[i] != 0 ? INPUT_PRESSED : 0))
            fuzz_fault("the script does not say the records as the game plays them");
    return 0;
}
