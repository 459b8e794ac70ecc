// Finding the demo recording and opening it without ever blocking start-up.
#pragma once

#include <cstdio>
#include <string>

// Opens "vesk" in the current folder, else the one beside the program named by
// executable, passing over what is not a recording (a folder, a device, an
// empty file, one with no record the demo plays). A named pipe is opened
// without waiting for a writer and read without waiting, so the demo plays
// what arrives. Says once on the console what is wrong with a file passed
// over or flawed, and what the demo does instead; no_keys_reported is then
// set when the demo is to play with no keys pressed. Returns the stream, or
// nullptr when there is none to play (and says nothing when none exists).
std::FILE* open_demo_recording(const char* executable, bool& no_keys_reported);

// Opens the recording a player named in its place, judged and opened as
// "vesk" is. What is no recording, or cannot be read, is refused: nullptr,
// with why in refusal ("is empty, not a recording", "No such file or
// directory"). What is wrong with one that still plays is said on the
// console, as for "vesk".
std::FILE* open_named_recording(const char* path, std::string& refusal);
