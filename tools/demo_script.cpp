// Compiles a readable demo script into the demo file "vesk": one 10-byte
// input record a tick. Usage: demo_script SCRIPT OUTPUT
//
// Script lines read "TICKS KEY KEY ...": for TICKS ticks exactly the named keys
// are held (up down left right lshift z x pgup pgdn f; "-" or nothing for none).
// '#' starts a comment; blank lines are skipped. Record 0 is written released,
// since the game starts playing at record 1, and the stream is padded with
// released records to the full demo length. A faulty script writes nothing.
#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/demo.h"

namespace {

using Record = std::array<std::uint8_t, INPUT_RECORD_SIZE>;

// Key names in record byte order.
constexpr std::array<const char*, INPUT_RECORD_SIZE> KEY_NAMES = {
    "up", "down", "left", "right", "lshift", "z", "x", "pgup", "pgdn", "f",
};
constexpr int SCRIPTED_TICKS_MAX = DEMO_LAST_RECORD; // records 1..2499
constexpr std::size_t COUNT_DIGITS_MAX = 6;          // far above any valid count

int key_byte(const std::string& name)
{
    for (int i = 0; i < INPUT_RECORD_SIZE; ++i)
        if (name == KEY_NAMES[i])
            return i;
    return -1;
}

bool parse_count(const std::string& word, int& count)
{
    if (word.empty() || word.size() > COUNT_DIGITS_MAX)
        return false;
    for (char c : word)
        if (c < '0' || c > '9')
            return false;
    count = std::stoi(word);
    return count > 0;
}

// Parses one line into records; returns an empty string or the reason it is refused.
std::string compile_line(std::string line, std::vector<Record>& records)
{
    if (const auto hash = line.find('#'); hash != std::string::npos)
        line.erase(hash);
    std::istringstream words(line);
    std::string word;
    if (!(words >> word))
        return {};
    int count = 0;
    if (!parse_count(word, count))
        return "bad tick count \"" + word + "\" (a positive whole number comes first)";
    Record record = {};
    bool none = false;
    bool any = false;
    while (words >> word) {
        if (word == "-") {
            none = true;
            continue;
        }
        const int byte = key_byte(word);
        if (byte < 0)
            return "unknown key \"" + word + "\"";
        record[byte] = INPUT_PRESSED;
        any = true;
    }
    if (none && any)
        return "\"-\" (no key) mixed with keys";
    if (int(records.size()) - 1 + count > SCRIPTED_TICKS_MAX)
        return "more than " + std::to_string(SCRIPTED_TICKS_MAX) + " scripted ticks";
    records.insert(records.end(), std::size_t(count), record);
    return {};
}

bool write_records(const std::string& path, const std::vector<Record>& records)
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const Record& r : records)
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
    std::vector<Record> records(1, Record{}); // record 0 is never played
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string reason = compile_line(line, records);
        if (!reason.empty()) {
            std::cerr << script << ":" << number << ": " << reason << "\n";
            return 1;
        }
    }
    records.resize(DEMO_LAST_RECORD + 1, Record{});
    if (!write_records(argv[2], records)) {
        std::cerr << argv[2] << ": cannot be written\n";
        return 1;
    }
    return 0;
}
