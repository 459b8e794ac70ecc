// The file is opened first and judged by what is open (its kind and length
// from fstat), so what is judged is what is played.
#include "input/demo_open.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include <allegro.h>

#include "input/demo.h"
#include "input/demo_file_check.h"

namespace {

constexpr int DEMO_PATH_SIZE = 256;
constexpr int CANDIDATES = 2; // the current folder's, then the one beside the program

struct PassedOver {
    const char* path = nullptr;
    std::string fault;
};

// The stream of a recording fit to play, or nullptr with what is wrong; error
// is errno when the file could not be opened at all, else 0.
std::FILE* open_candidate(const char* path, DemoFileCheck& check, int& error)
{
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    error = fd < 0 ? errno : 0;
    if (fd < 0) {
        check = {DemoFileVerdict::unusable, std::strerror(error)};
        return nullptr;
    }
    check = check_demo_file(fd);
    std::FILE* stream = check.verdict == DemoFileVerdict::unusable ? nullptr : fdopen(fd, "rb");
    if (stream == nullptr)
        close(fd);
    return stream;
}

void say(const std::string& line)
{
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

} // namespace

std::FILE* open_demo_recording(const char* executable, bool& no_keys_reported)
{
    char beside[DEMO_PATH_SIZE];
    replace_filename(beside, executable, DEMO_FILE_NAME, sizeof beside);
    const char* const candidates[CANDIDATES] = {DEMO_FILE_NAME, beside};
    PassedOver passed[CANDIDATES];
    int passed_count = 0;
    std::FILE* stream = nullptr;
    const char* played = nullptr;
    DemoFileCheck check;
    for (const char* path : candidates) {
        int error = 0;
        stream = open_candidate(path, check, error);
        if (stream != nullptr) {
            played = path;
            break;
        }
        if (error != ENOENT)
            passed[passed_count++] = {path, error != 0 ? "cannot be read: " + check.fault : check.fault};
    }
    const std::string instead =
        played != nullptr ? "the demo plays \"" + std::string(played) + "\" instead" : "the demo plays with no keys pressed";
    for (int i = 0; i < passed_count; ++i)
        say("Demo recording \"" + std::string(passed[i].path) + "\" " + passed[i].fault + ": " + instead + ".");
    if (played != nullptr && check.verdict == DemoFileVerdict::flawed)
        say("Demo recording \"" + std::string(played) + "\" " + check.fault + ".");
    no_keys_reported = no_keys_reported || (played == nullptr && passed_count > 0);
    return stream;
}

std::FILE* open_named_recording(const char* path, std::string& refusal)
{
    DemoFileCheck check;
    int error = 0;
    std::FILE* const stream = open_candidate(path, check, error);
    if (stream == nullptr)
        refusal = error != 0 ? check.fault : check.fault + ", not a recording";
    else if (check.verdict == DemoFileVerdict::flawed)
        say("Demo recording \"" + std::string(path) + "\" " + check.fault + ".");
    return stream;
}
