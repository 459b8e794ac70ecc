// Demo playback state: the demo's record of the current tick, and the reader
// that fetches it from the demo file.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>

#include "game/actions.h"

constexpr int DEMO_LAST_RECORD = 2499;
constexpr int INPUT_RECORD_SIZE = ACTION_COUNT; // bytes in a record: one per recorded action
constexpr const char* DEMO_FILE_NAME = "vesk";

// The record last read from the demo file: it keeps acting past the file's
// end. Stays all 0 in play mode.
extern ActionBytes input_record;

// Bytes read so far from a demo stream that cannot seek (a pipe): 0 when the
// stream is opened. A file that can seek is read by offset and leaves it alone.
extern long demo_stream_offset;

// Opens the demo recording as demo_file: "vesk" in the current folder, where
// players and scripts may put their own, else the one beside the program
// named by executable (where the build and the package put it), passing over
// what is not a recording and saying so (input/demo_open.h). demo_file stays
// null when there is none; play mode works without it.
void open_demo_file(const char* executable);

// Makes stream the demo's recording in place of the one open (a recording
// the program was given), read through the game's own buffer from its first
// byte.
void use_demo_stream(std::FILE* stream);

// Reads record game.demo_index of the demo file into input_record and returns
// it; the demo's tick moves demo_index on. Past the end of the file the last
// record keeps acting; keys beyond the end of a record cut short are
// released. A stream that cannot seek is read forward to the record. Without
// a demo file the demo plays with no keys pressed (and says so once on the
// console).
const ActionBytes& read_demo_record();
