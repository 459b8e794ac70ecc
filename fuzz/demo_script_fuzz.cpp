// The demo script compiler over any bytes as a script. A compiled script is
// the whole demo, record 0 released, every key byte released or pressed; a
// refused one names a line that exists. A compiled demo read back as a
// script is reported clean and compiles to the same records.
#include <cstdlib>
#include <sstream>
#include <string>

#include "fuzz/fuzz_support.h"
#include "recording/demo_script_compiler.h"
#include "recording/demo_script_decompiler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream script(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<ActionBytes> records;
    const std::string fault = compile_demo_script(script, records);
    if (!fault.empty()) {
        const int line = std::atoi(fault.c_str());
        if (line < 1 || std::size_t(line) > size + 1 || fault.find(": ") == std::string::npos)
            fuzz_fault("the refusal does not name a line of the script");
        return 0;
    }
    if (records.size() != std::size_t(DEMO_LAST_RECORD + 1) || records[0] != ActionBytes{})
        fuzz_fault("the compiled demo is not records 0..DEMO_LAST_RECORD from a released record 0");
    for (const ActionBytes& record : records)
        for (std::uint8_t key : record)
            if (key != 0 && key != INPUT_PRESSED)
                fuzz_fault("a key byte neither released nor pressed");
    std::ostringstream read_back;
    std::vector<std::string> faults;
    const std::string bytes = demo_file_bytes(records);
    decompile_demo(std::vector<std::uint8_t>(bytes.begin(), bytes.end()), -1, read_back, faults);
    if (!faults.empty())
        fuzz_fault("a compiled demo read back with faults");
    std::istringstream again(read_back.str());
    std::vector<ActionBytes> recompiled;
    if (!compile_demo_script(again, recompiled).empty() || recompiled != records)
        fuzz_fault("a compiled demo read back does not compile to the same records");
    return 0;
}
