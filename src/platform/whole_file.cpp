// The unnamed file (O_TMPFILE) has no name until it is complete, so a program
// killed at any point, even by SIGKILL, leaves nothing behind. Where the file
// system makes no unnamed files, a temporary made by mkstemp stands in: two
// writers of one path never share it, and one left by a killed program is
// never reused.
#include "platform/whole_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int MAX_LINKS = 40;           // as many as the kernel follows in one path
constexpr int LINK_NAME_ATTEMPTS = 100; // names tried beside the path before giving up

std::string system_fault(const std::string& path)
{
    return path + ": " + std::strerror(errno);
}

std::string folder_of(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// "" for an ordinary file; else what the thing at the path is.
const char* kind_refused(mode_t mode)
{
    if (S_ISREG(mode))
        return "";
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISFIFO(mode))
        return "a named pipe";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not an ordinary file";
}

// Follows symbolic links from path to what is to be written, which must be a
// name not taken yet or an ordinary file.
std::string follow_links(const std::string& path, std::string& target)
{
    if (path.empty())
        return "the file name is empty";
    target = path;
    for (int hop = 0; hop <= MAX_LINKS; ++hop) {
        struct stat info;
        if (lstat(target.c_str(), &info) != 0)
            return errno == ENOENT ? "" : system_fault(path);
        if (S_ISLNK(info.st_mode)) {
            char link[PATH_MAX];
            const ssize_t n = readlink(target.c_str(), link, sizeof link - 1);
            if (n < 0)
                return system_fault(path);
            link[n] = '\0';
            target = link[0] == '/' ? std::string(link) : folder_of(target) + "/" + link;
            continue;
        }
        const std::string kind = kind_refused(info.st_mode);
        if (kind.empty())
            return "";
        if (target == path)
            return path + ": is " + kind + ", not an ordinary file; nothing was written";
        return path + ": leads to " + target + ", " + kind + ", not an ordinary file; nothing was written";
    }
    return path + ": too many symbolic links";
}

std::string open_named(WholeFileWriter& writer, const std::string& given)
{
    std::string name = writer.path + ".XXXXXX";
    writer.fd = mkstemp(name.data());
    if (writer.fd < 0)
        return system_fault(given) + " (cannot create a file in its folder)";
    writer.temporary = name;
    // mkstemp makes the file private; the file gets the modes any new file would.
    const mode_t mask = umask(0);
    umask(mask);
    if (fchmod(writer.fd, 0666 & ~mask) != 0) {
        const std::string fault = system_fault(writer.temporary);
        abandon_whole_file(writer);
        return fault;
    }
    return {};
}

// Gives the complete unnamed file the path's name: directly when the name is
// free, else under a fresh name beside it, renamed over the path.
std::string link_into_place(WholeFileWriter& writer)
{
    char proc_path[64];
    std::snprintf(proc_path, sizeof proc_path, "/proc/self/fd/%d", writer.fd);
    if (linkat(AT_FDCWD, proc_path, AT_FDCWD, writer.path.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return {};
    if (errno != EEXIST)
        return system_fault(writer.path);
    for (int attempt = 0; attempt < LINK_NAME_ATTEMPTS; ++attempt) {
        const std::string beside =
            writer.path + "." + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".new";
        if (linkat(AT_FDCWD, proc_path, AT_FDCWD, beside.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST)
                continue;
            return system_fault(writer.path);
        }
        if (std::rename(beside.c_str(), writer.path.c_str()) != 0) {
            const std::string fault = system_fault(writer.path);
            unlink(beside.c_str());
            return fault;
        }
        return {};
    }
    return writer.path + ": no free name beside it";
}

std::string open_checked(WholeFileWriter& writer, const std::string& path, bool unnamed)
{
    writer = {};
    if (std::string fault = follow_links(path, writer.path); !fault.empty())
        return fault;
    if (!unnamed)
        return open_named(writer, path);
    writer.fd = open(folder_of(writer.path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (writer.fd >= 0)
        return {};
    // A kernel without O_TMPFILE takes it for O_DIRECTORY and refuses to
    // write a folder; a file system without it says it is not supported.
    if (errno == EOPNOTSUPP || errno == EISDIR)
        return open_named(writer, path);
    return system_fault(path) + " (cannot create a file in its folder)";
}

} // namespace

std::string open_whole_file(WholeFileWriter& writer, const std::string& path)
{
    return open_checked(writer, path, true);
}

std::string open_whole_file_named(WholeFileWriter& writer, const std::string& path)
{
    return open_checked(writer, path, false);
}

std::string finish_whole_file(WholeFileWriter& writer, const std::string& bytes)
{
    std::string fault;
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(writer.fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            fault = system_fault(writer.path);
            break;
        }
        done += std::size_t(n);
    }
    // Whatever was put at the path since it was opened is looked at again.
    std::string target;
    if (fault.empty())
        fault = follow_links(writer.path, target);
    if (fault.empty() && writer.temporary.empty())
        fault = link_into_place(writer);
    if (close(writer.fd) != 0 && fault.empty())
        fault = system_fault(writer.path);
    writer.fd = -1;
    if (fault.empty() && !writer.temporary.empty() && std::rename(writer.temporary.c_str(), writer.path.c_str()) != 0)
        fault = system_fault(writer.path);
    if (fault.empty())
        writer.temporary.clear();
    abandon_whole_file(writer);
    return fault;
}

void abandon_whole_file(WholeFileWriter& writer)
{
    if (writer.fd >= 0)
        close(writer.fd);
    writer.fd = -1;
    if (!writer.temporary.empty())
        std::remove(writer.temporary.c_str());
    writer.temporary.clear();
}

std::string write_whole_file(const std::string& path, const std::string& bytes)
{
    WholeFileWriter writer;
    if (std::string fault = open_whole_file(writer, path); !fault.empty())
        return fault;
    return finish_whole_file(writer, bytes);
}
