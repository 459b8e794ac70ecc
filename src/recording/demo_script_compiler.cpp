// Compiling a demo script into input records, line by line.
#include "recording/demo_script_compiler.h"

#include <sstream>

namespace {

constexpr int SCRIPTED_TICKS_MAX = DEMO_LAST_RECORD; // records 1..2499
constexpr std::size_t COUNT_DIGITS_MAX = 6;          // far above any valid count

int key_byte(const std::string& name)
{
    for (int i = 0; i < INPUT_RECORD_SIZE; ++i)
        if (name == ACTIONS[i].script_word)
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
std::string compile_line(std::string line, std::vector<ActionBytes>& records)
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
    ActionBytes record = {};
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

} // namespace

std::string compile_demo_script(std::istream& script, std::vector<ActionBytes>& records)
{
    records.assign(1, ActionBytes{}); // record 0 is never played
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        const std::string reason = compile_line(line, records);
        if (!reason.empty())
            return std::to_string(number) + ": " + reason;
    }
    records.resize(DEMO_LAST_RECORD + 1, ActionBytes{});
    return {};
}

std::string demo_file_bytes(const std::vector<ActionBytes>& records)
{
    std::string bytes;
    for (const ActionBytes& r : records)
        bytes.append(r.begin(), r.end());
    return bytes;
}
