// The demo script tool. Compiles a readable demo script into a recording (the
// build makes the demo file "vesk" so), or reads a recording back as a script.
//
// Usage: demo_script SCRIPT OUTPUT
//        demo_script --decompile RECORDING
//
// The script's form is that of recording/demo_script_compiler.h. A faulty script
// writes nothing; a recording the script cannot say exactly is still printed,
// each difference reported on standard error, and the status is then 1.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "recording/demo_script_compiler.h"
#include "recording/demo_script_decompiler.h"
#include "recording/whole_file.h"

namespace {

constexpr const char* USAGE = "usage: demo_script SCRIPT OUTPUT\n"
                              "       demo_script --decompile RECORDING\n";

int fail(const std::string& what)
{
    std::cerr << "demo_script: " << what << '\n';
    return 1;
}

int compile(const std::string& script, const std::string& output)
{
    std::ifstream in(script);
    if (!in)
        return fail(script + ": cannot be read");
    std::vector<DemoRecord> records;
    if (const std::string fault = compile_demo_script(in, records); !fault.empty())
        return fail(script + ":" + fault);
    if (const std::string fault = write_whole_file(output, demo_file_bytes(records)); !fault.empty())
        return fail(fault);
    std::cout << "demo_script: wrote " << output << ", " << records.size() << " records\n";
    return 0;
}

int decompile(const std::string& recording)
{
    std::ifstream in(recording, std::ios::binary);
    if (!in)
        return fail(recording + ": cannot be read");
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    if (in.bad())
        return fail(recording + ": cannot be read");
    std::vector<std::string> faults;
    decompile_demo(bytes, std::cout, faults);
    for (const std::string& fault : faults)
        std::cerr << "demo_script: " << recording << ": " << fault << '\n';
    return faults.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << USAGE;
        return 2;
    }
    if (std::string(argv[1]) == "--decompile")
        return decompile(argv[2]);
    if (argv[1][0] == '-' && argv[1][1] != '\0') {
        std::cerr << USAGE;
        return 2;
    }
    return compile(argv[1], argv[2]);
}
