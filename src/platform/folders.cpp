// The desktop's folders, and mkdir -p, one component at a time.
#include "platform/folders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <sys/stat.h>

std::string make_folders(const std::string& path)
{
    std::size_t end = 0;
    do {
        end = path.find('/', end + 1);
        const std::string folder = path.substr(0, end);
        if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
            return folder + ": " + std::strerror(errno);
    } while (end != std::string::npos);
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return path + ": not a folder";
    return {};
}

std::string xdg_place(const char* variable, const char* under_variable, const char* under_home)
{
    const char* folder = std::getenv(variable);
    if (folder != nullptr && folder[0] == '/')
        return std::string(folder) + "/" + under_variable;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0')
        return {};
    return std::string(home) + "/" + under_home;
}
