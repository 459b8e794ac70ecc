// Compiles a readable demo script into the demo file "vesk": one 10-byte
// input record a tick. Usage: demo_script SCRIPT OUTPUT
//
// The script's form is that of tools/demo_script_compiler.h. A faulty script
// writes nothing.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "tools/demo_script_compiler.h"

namespace {

bool write_records(const std::string& path, const std::vector<DemoRecord>& records)
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const DemoRecord& r : records)
            out.write(reinterpret_cast<const char*>(r.data()), r.size());
        if (!out.flush()) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: demo_script SCRIPT OUTPUT\n";
        return 2;
    }
    const std::string script = argv[1];
    std::ifstream in(script);
    if (!in) {
        std::cerr << script << ": cannot be read\n";
        return 1;
    }
    std::vector<DemoRecord> records;
    if (const std::string fault = compile_demo_script(in, records); !fault.empty()) {
        std::cerr << script << ":" << fault << "\n";
        return 1;
    }
    if (!write_records(argv[2], records)) {
        std::cerr << argv[2] << ": cannot be written\n";
        return 1;
    }
    return 0;
}
