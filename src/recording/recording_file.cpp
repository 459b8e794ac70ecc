// Read with plain system calls into a buffer of the bound's size: a stream
// without end (/dev/zero) costs one recording's worth of memory and time.
#include "recording/recording_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string read_recording(const std::string& path, RecordingBytes& recording)
{
    recording = {};
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return path + ": " + std::strerror(errno);
    struct stat info;
    std::string fault;
    if (fstat(fd, &info) != 0)
        fault = path + ": " + std::strerror(errno);
    else if (S_ISDIR(info.st_mode))
        fault = path + ": is a folder, not a recording";
    else if (S_ISREG(info.st_mode))
        recording.length = info.st_size;
    recording.bytes.resize(std::size_t(DEMO_FILE_LENGTH) + 1);
    std::size_t got = 0;
    while (fault.empty() && got < recording.bytes.size()) {
        const ssize_t n = read(fd, recording.bytes.data() + got, recording.bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fault = path + ": " + std::strerror(errno);
        if (n <= 0)
            break;
        got += std::size_t(n);
    }
    recording.bytes.resize(got);
    // A file that grew or shrank while it was read is judged by what was read.
    if (recording.length >= 0)
        recording.length = got <= std::size_t(DEMO_FILE_LENGTH) ? (long long)got : std::max(recording.length, (long long)got);
    close(fd);
    return fault;
}
