// The box runs while the console's two outputs point at /dev/null; both are
// put back before anything else is written.
#include "platform/message_box.h"

#include <cstdio>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include <allegro.h>

namespace {

// Runs show with standard output and error sent to /dev/null.
template <typename Show>
void with_console_silenced(Show show)
{
    std::fflush(stdout);
    std::fflush(stderr);
    const int nothing = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const int out = dup(STDOUT_FILENO), err = dup(STDERR_FILENO);
    if (nothing < 0 || out < 0 || err < 0) {
        for (int fd : {nothing, out, err})
            if (fd >= 0)
                close(fd);
        return; // the text is on standard error already; no box rather than noise
    }
    dup2(nothing, STDOUT_FILENO);
    dup2(nothing, STDERR_FILENO);
    show();
    std::fflush(stdout);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    for (int fd : {nothing, out, err})
        close(fd);
}

} // namespace

void report_failure(const char* text, bool with_box)
{
    std::string line = text;
    while (!line.empty() && line.back() == '\n')
        line.pop_back();
    std::fprintf(stderr, "ironstep: %s\n", line.c_str());
    std::fflush(stderr);
    if (with_box)
        with_console_silenced([text] { allegro_message("%s", text); });
}
