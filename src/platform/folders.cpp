// The desktop's folders, and mkdir -p, one component at a time.
#include "platform/folders.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A user-dirs.dirs file is a few hundred bytes; anything past this is no such file.
constexpr std::size_t USER_DIRS_MOST_BYTES = 64 * 1024;

bool is_absolute(const std::string& path)
{
    return !path.empty() && path[0] == '/';
}

// The length of $HOME or ${HOME} at text[i], or 0 (there or a longer name).
std::size_t home_length_at(const std::string& text, std::size_t i)
{
    if (text.compare(i, 7, "${HOME}") == 0)
        return 7;
    if (text.compare(i, 5, "$HOME") != 0)
        return 0;
    const char next = i + 5 < text.size() ? text[i + 5] : '/';
    return std::isalnum(static_cast<unsigned char>(next)) || next == '_' ? 0 : 5;
}

// The shell word at the start of text, quotes removed, as long as nothing in
// it is expanded but a leading $HOME (said apart, and left out of the word);
// false for a word the shell would read otherwise.
bool read_shell_word(const std::string& text, std::string& word, bool& under_home)
{
    word.clear();
    char quote = '\0';
    std::size_t i = !text.empty() && text[0] == '"' ? 1 : 0;
    const std::size_t home = home_length_at(text, i);
    under_home = home != 0;
    if (under_home) {
        quote = i == 1 ? '"' : '\0';
        i += home;
    } else {
        i = 0;
    }
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (quote == '\'') {
            if (c == '\'')
                quote = '\0';
            else
                word += c;
        } else if (c == '\\' && i + 1 < text.size() && (quote == '\0' || std::strchr("\"\\$`", text[i + 1]))) {
            word += text[++i];
        } else if (c == '$' || c == '`') {
            return false; // another variable or a command: not a plain folder
        } else if (c == '"' || (c == '\'' && quote == '\0')) {
            quote = quote == c ? '\0' : c;
        } else if (quote == '\0' && (c == ' ' || c == '\t' || c == ';')) {
            break;
        } else {
            word += c;
        }
    }
    return quote == '\0';
}

// The start of an ordinary file; nothing from a pipe, a device or a folder,
// which are opened without waiting and never read.
std::string read_small_file(const std::string& path)
{
    std::string text;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return text;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        text.resize(USER_DIRS_MOST_BYTES);
        const ssize_t got = read(fd, text.data(), text.size());
        text.resize(got > 0 ? std::size_t(got) : 0);
    }
    close(fd);
    return text;
}

} // namespace

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

std::string user_dir_in(const std::string& file_text, const char* name, const char* home)
{
    const std::string assignment = std::string("XDG_") + name + "_DIR=";
    std::string value;
    bool usable = false, under_home = false;
    std::size_t start = 0;
    while (start < file_text.size()) {
        std::size_t end = file_text.find('\n', start);
        if (end == std::string::npos)
            end = file_text.size();
        const std::size_t first = file_text.find_first_not_of(" \t", start);
        if (first < end && file_text.compare(first, assignment.size(), assignment) == 0) {
            const std::size_t at = first + assignment.size();
            usable = read_shell_word(file_text.substr(at, end - at), value, under_home);
        }
        start = end + 1;
    }
    if (!usable)
        return {};
    if (under_home) {
        if (home == nullptr || home[0] == '\0')
            return {};
        value.insert(0, home);
    }
    while (value.size() > 1 && value.back() == '/')
        value.pop_back();
    return is_absolute(value) ? value : std::string();
}

std::string xdg_user_dir(const char* name)
{
    const char* home = std::getenv("HOME");
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string file;
    if (config != nullptr && config[0] == '/')
        file = std::string(config) + "/user-dirs.dirs";
    else if (home != nullptr && home[0] != '\0')
        file = std::string(home) + "/.config/user-dirs.dirs";
    if (!file.empty()) {
        const std::string folder = user_dir_in(read_small_file(file), name, home);
        if (!folder.empty())
            return folder;
    }
    const char* variable = std::getenv((std::string("XDG_") + name + "_DIR").c_str());
    return variable != nullptr && variable[0] == '/' ? std::string(variable) : std::string();
}
