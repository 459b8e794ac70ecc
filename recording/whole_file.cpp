// The temporary file is made with mkstemp, so two writers of one path never
// share it, and a stale one left by a killed program is never reused.
#include "recording/whole_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string system_fault(const std::string& path)
{
    return path + ": " + std::strerror(errno);
}

} // namespace

std::string open_whole_file(WholeFileWriter& writer, const std::string& path)
{
    writer.path = path;
    // A folder in the way would only be found at the rename, after the work.
    struct stat existing;
    if (stat(path.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode))
        return path + ": is a folder";
    std::string name = path + ".XXXXXX";
    writer.fd = mkstemp(name.data());
    if (writer.fd < 0)
        return system_fault(path) + " (cannot create a file in its folder)";
    writer.temporary = name;
    return {};
}

std::string finish_whole_file(WholeFileWriter& writer, const std::string& bytes)
{
    std::string fault;
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(writer.fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            fault = system_fault(writer.temporary);
            break;
        }
        done += std::size_t(n);
    }
    // mkstemp makes the file private; the file gets the modes any new file would.
    const mode_t mask = umask(0);
    umask(mask);
    if (fault.empty() && fchmod(writer.fd, 0666 & ~mask) != 0)
        fault = system_fault(writer.temporary);
    if (close(writer.fd) != 0 && fault.empty())
        fault = system_fault(writer.temporary);
    writer.fd = -1;
    if (fault.empty() && std::rename(writer.temporary.c_str(), writer.path.c_str()) != 0)
        fault = system_fault(writer.path);
    if (!fault.empty())
        std::remove(writer.temporary.c_str());
    return fault;
}

void abandon_whole_file(WholeFileWriter& writer)
{
    if (writer.fd >= 0)
        close(writer.fd);
    writer.fd = -1;
    if (!writer.temporary.empty())
        std::remove(writer.temporary.c_str());
}

std::string write_whole_file(const std::string& path, const std::string& bytes)
{
    WholeFileWriter writer;
    if (std::string fault = open_whole_file(writer, path); !fault.empty())
        return fault;
    return finish_whole_file(writer, bytes);
}
