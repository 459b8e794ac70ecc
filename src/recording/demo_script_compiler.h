// The demo script compiler: a readable script in, the demo's input records out.
//
// Script lines read "TICKS KEY KEY ...": for TICKS ticks exactly the named keys
// are held (the actions' script words: up down left right lshift z x pgup pgdn f;
// "-" or nothing for none).
// '#' starts a comment; blank lines are skipped. Record 0 is released, since
// the game starts playing at record 1, and the records are padded with
// released ones to the full demo length.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "input/demo.h"


// Compiles the whole script into records 0..DEMO_LAST_RECORD. Returns an empty
// string, or "LINE: REASON" for the first faulty line (records then hold
// what was compiled before it).
std::string compile_demo_script(std::istream& script, std::vector<ActionBytes>& records);

// The records one after the other, as the demo file holds them.
std::string demo_file_bytes(const std::vector<ActionBytes>& records);
