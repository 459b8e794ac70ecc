// What a demo recording holds, judged by its kind and length before it is
// played, so that what is wrong with it can be said once, in words.
#pragma once

#include <string>

#include "input/demo.h"

// Bytes in a recording of the demo's whole length: records 0..DEMO_LAST_RECORD.
constexpr long long DEMO_FILE_LENGTH = (DEMO_LAST_RECORD + 1LL) * INPUT_RECORD_SIZE;

enum class DemoFileVerdict {
    whole,    // the demo's length, or a stream whose length is known only as it is read
    flawed,   // plays, but cut short, shorter or longer than the demo
    unusable, // not a recording: a folder, a device, a socket, or no record the demo plays
};

struct DemoFileCheck {
    DemoFileVerdict verdict = DemoFileVerdict::whole;
    std::string fault; // "is empty", "holds 370 of the demo's 2500 records: ...", or ""
};

// An ordinary file of length bytes. A flawed file's fault also says what
// playing it does.
DemoFileCheck check_demo_length(long long length);

// The open file fd, by its kind and, for an ordinary file, its length.
DemoFileCheck check_demo_file(int fd);
