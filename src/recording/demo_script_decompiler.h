// Reading a recording back as the demo script that compiles into it: one line
// per run of equal key states, so a recording can be trimmed or edited.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// Writes the script of a recording's bytes: a comment line giving its length,
// then one line per run of equal key states over the records the demo plays
// (1..DEMO_LAST_RECORD). For a whole recording of the demo's length, with
// record 0 released and every key byte 0 or INPUT_PRESSED, compiling the
// script gives back the same bytes. Anything else the script cannot say is
// added to faults, one line each naming the record and the byte of the file;
// the script still says what can be read (a key byte other than 0 as pressed,
// a record cut short with its missing keys released).
// length is the recording's whole length when known (an ordinary file), or
// -1: bytes may then stop one past the demo's length, which only says that
// the recording is longer.
void decompile_demo(const std::vector<std::uint8_t>& bytes, long long length, std::ostream& script,
                    std::vector<std::string>& faults);
