// The demo script tool. Compiles a readable demo script into a recording (the
// build makes the demo file "vesk" so), or reads a recording back as a script.
//
// Usage: demo_script SCRIPT OUTPUT
//        demo_script --decompile RECORDING
//
// The script's form is that of recording/demo_script_compiler.h. A faulty script
// writes nothing; a recording the script cannot say exactly is still printed,
// each difference reported on standard error, and the status is then 1.
#include <exception>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "platform/whole_file.h"
#include "recording/demo_script_compiler.h"
#include "recording/demo_script_decompiler.h"
#include "recording/recording_file.h"

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
    struct stat info;
    if (stat(script.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        return fail(script + ": is a folder, not a script");
    std::ifstream in(script);
    if (!in)
        return fail(script + ": cannot be read");
    std::vector<ActionBytes> records;
    if (const std::string fault = compile_demo_script(in, records); !fault.empty())
        return fail(script + ":" + fault);
    if (const std::string fault = write_whole_file(output, demo_file_bytes(records)); !fault.empty())
        return fail(fault);
    std::cout << "demo_script: wrote " << output << ", " << records.size() << " records\n";
    return 0;
}

int decompile(const std::string& path)
{
    RecordingBytes recording;
    if (const std::string fault = read_recording(path, recording); !fault.empty())
        return fail(fault);
    std::vector<std::string> faults;
    decompile_demo(recording.bytes, recording.length, std::cout, faults);
    for (const std::string& fault : faults)
        std::cerr << "demo_script: " << path << ": " << fault << '\n';
    return faults.empty() ? 0 : 1;
}

int run(int argc, char** argv)
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

} // namespace

int main(int argc, char** argv)
{
    // Out of memory or a stream that fails in a way not foreseen: a message
    // and status 1, never an abort.
    try {
        return run(argc, argv);
    } catch (const std::exception& e) {
        return fail(e.what());
    }
}
