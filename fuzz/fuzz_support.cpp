#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include <sys/mman.h>
#include <unistd.h>

const char* input_as_file(const std::uint8_t* data, std::size_t size)
{
    static const int fd = memfd_create("fuzz_input", 0);
    static char path[64];
    if (fd < 0 || ftruncate(fd, 0) != 0)
        fuzz_fault("no in-memory file");
    for (std::size_t done = 0; done < size;) {
        const ssize_t wrote = pwrite(fd, data + done, size - done, off_t(done));
        if (wrote <= 0)
            fuzz_fault("the in-memory file cannot be written");
        done += std::size_t(wrote);
    }
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    return path;
}

void fuzz_fault(const char* what)
{
    std::fprintf(stderr, "fuzz fault: %s\n", what);
    std::abort();
}
