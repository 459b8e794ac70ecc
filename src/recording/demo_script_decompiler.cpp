// Decompiling a recording: records are compared key by key as the game plays
// them (0 released, anything else pressed), and each run becomes a line.
#include "recording/demo_script_decompiler.h"

#include <algorithm>
#include <cstdio>

#include "recording/demo_script_compiler.h"

namespace {

constexpr int ODD_BYTES_REPORTED = 10; // then only their number, so a wrong file does not flood the terminal
constexpr int DEMO_RECORDS = DEMO_LAST_RECORD + 1;

std::string hex(std::uint8_t byte)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", unsigned(byte));
    return text;
}

std::string at(long record, long byte)
{
    return "record " + std::to_string(record) + " (byte " + std::to_string(byte) + ")";
}

// The record as played: a byte that is not 0 is a pressed key; bytes past
// the end of a record cut short are released.
ActionBytes played_record(const std::vector<std::uint8_t>& bytes, long r)
{
    ActionBytes record = {};
    for (int k = 0; k < INPUT_RECORD_SIZE; ++k) {
        const std::size_t i = std::size_t(r * INPUT_RECORD_SIZE + k);
        if (i < bytes.size() && bytes[i] != 0)
            record[k] = INPUT_PRESSED;
    }
    return record;
}

void check_length(const std::vector<std::uint8_t>& bytes, long long length, std::vector<std::string>& faults)
{
    const long size = length >= 0 ? long(length) : long(bytes.size());
    if (length < 0 && size > long(DEMO_RECORDS) * INPUT_RECORD_SIZE) {
        faults.push_back(at(DEMO_RECORDS, long(DEMO_RECORDS) * INPUT_RECORD_SIZE) +
                         ": the recording goes on past the demo's " + std::to_string(DEMO_RECORDS) +
                         " records; the script leaves out this record and those after it");
        return;
    }
    const long whole = size / INPUT_RECORD_SIZE;
    const long cut = size % INPUT_RECORD_SIZE;
    if (cut != 0)
        faults.push_back(at(whole, whole * INPUT_RECORD_SIZE) + ": the file ends " + std::to_string(cut) +
                         (cut == 1 ? " byte" : " bytes") + " into it; the script gives it whole, " +
                         "its missing keys released");
    const long records = (size + INPUT_RECORD_SIZE - 1) / INPUT_RECORD_SIZE;
    if (records > DEMO_RECORDS)
        faults.push_back(at(DEMO_RECORDS, long(DEMO_RECORDS) * INPUT_RECORD_SIZE) + ": the recording holds " +
                         std::to_string(records) + " records, longer than the demo's " +
                         std::to_string(DEMO_RECORDS) + "; the script leaves out this record and those after it");
    else if (records < DEMO_RECORDS)
        faults.push_back(at(records, records * INPUT_RECORD_SIZE) + ": the recording ends before it, " +
                         std::to_string(records) + " of the demo's " + std::to_string(DEMO_RECORDS) +
                         " records; past its end the game holds the last record's keys, the script releases them");
}

void check_key_bytes(const std::vector<std::uint8_t>& bytes, std::vector<std::string>& faults)
{
    const long played_bytes = std::min<long>(long(bytes.size()), long(DEMO_RECORDS) * INPUT_RECORD_SIZE);
    for (long i = 0; i < INPUT_RECORD_SIZE && i < played_bytes; ++i)
        if (bytes[std::size_t(i)] != 0) {
            faults.push_back(at(0, i) + ": record 0 is never played and a script gives it released, but " +
                             ACTIONS[std::size_t(i)].script_word + " is " + hex(bytes[std::size_t(i)]));
            break;
        }
    int odd = 0;
    for (long i = INPUT_RECORD_SIZE; i < played_bytes; ++i) {
        const std::uint8_t b = bytes[std::size_t(i)];
        if (b == 0 || b == INPUT_PRESSED)
            continue;
        if (++odd <= ODD_BYTES_REPORTED)
            faults.push_back(at(i / INPUT_RECORD_SIZE, i) + ": " + ACTIONS[std::size_t(i % INPUT_RECORD_SIZE)].script_word +
                             " is " + hex(b) + ", neither released (0x00) nor pressed (0xFF); the game plays it " +
                             "pressed, and so does the script");
    }
    if (odd > ODD_BYTES_REPORTED)
        faults.push_back("and " + std::to_string(odd - ODD_BYTES_REPORTED) + " more key bytes neither 0x00 nor 0xFF");
}

void write_line(std::ostream& script, long count, const ActionBytes& record)
{
    std::string keys;
    for (int k = 0; k < INPUT_RECORD_SIZE; ++k)
        if (record[k] != 0)
            keys += std::string(keys.empty() ? "" : " ") + ACTIONS[std::size_t(k)].script_word;
    char number[24];
    std::snprintf(number, sizeof number, "%-4ld ", count);
    script << number << (keys.empty() ? "-" : keys) << '\n';
}

} // namespace

void decompile_demo(const std::vector<std::uint8_t>& bytes, long long length, std::ostream& script,
                    std::vector<std::string>& faults)
{
    check_length(bytes, length, faults);
    check_key_bytes(bytes, faults);
    const long records = std::min<long>((long(bytes.size()) + INPUT_RECORD_SIZE - 1) / INPUT_RECORD_SIZE, DEMO_RECORDS);
    const long ticks = std::max<long>(records - 1, 0);
    char heading[96];
    std::snprintf(heading, sizeof heading, "# %ld ticks, %.2f seconds at 60 a second: ", ticks, double(ticks) / 60.0);
    script << heading << "the count of ticks first, then the keys held\n";
    long run_start = 1;
    for (long r = 2; r <= records; ++r)
        if (r == records || played_record(bytes, r) != played_record(bytes, run_start)) {
            write_line(script, r - run_start, played_record(bytes, run_start));
            run_start = r;
        }
}
