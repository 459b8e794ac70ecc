// The temporary file is made with mkstemp, so two writers of one path never
// share it, and a stale one left by a killed program is never reused.
#include "tools/demo_file.h"

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

std::string open_demo_file(DemoFileWriter& writer, const std::string& path)
{
    writer.path = path;
    std::string name = path + ".XXXXXX";
    writer.fd = mkstemp(name.data());
    if (writer.fd < 0)
        return system_fault(path) + " (cannot create a file in its folder)";
    writer.temporary = name;
    return {};
}

std::string finish_demo_file(DemoFileWriter& writer, const std::vector<DemoRecord>& records)
{
    std::string fault;
    for (const DemoRecord& r : records) {
        if (write(writer.fd, r.data(), r.size()) != ssize_t(r.size())) {
            fault = system_fault(writer.temporary);
            break;
        }
    }
    // mkstemp makes the file private; a recording gets the modes any new file would.
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

void abandon_demo_file(DemoFileWriter& writer)
{
    if (writer.fd >= 0)
        close(writer.fd);
    writer.fd = -1;
    if (!writer.temporary.empty())
        std::remove(writer.temporary.c_str());
}
