#include "tests/process_runner.h"

#include <chrono>
#include <cstdint>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

ChildProcess start_child(const std::string& program, const std::string& cwd,
                         const std::vector<std::string>& env, const std::string& argv0,
                         const std::vector<std::string>& args)
{
    const std::string name = argv0.empty() ? program : argv0;
    ChildProcess child;
    child.out_path = cwd + "/stdout.txt";
    child.err_path = cwd + "/stderr.txt";

    std::vector<char*> envp;
    for (const std::string& entry : env)
        envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);

    child.pid = fork();
    if (child.pid == 0) {
        if (chdir(cwd.c_str()) != 0)
            _exit(126);
        const int in = open("/dev/null", O_RDONLY);
        const int out = open(child.out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = open(child.err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0)
            _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        std::vector<char*> argv = {const_cast<char*>(name.c_str())};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    return child;
}

namespace {

ChildOutcome outcome_of(int wait_status)
{
    ChildOutcome outcome;
    outcome.ended = true;
    outcome.exited = WIFEXITED(wait_status);
    if (outcome.exited)
        outcome.status = WEXITSTATUS(wait_status);
    else if (WIFSIGNALED(wait_status))
        outcome.signal = WTERMSIG(wait_status);
    return outcome;
}

} // namespace

bool poll_child(ChildProcess& child, ChildOutcome& outcome)
{
    if (child.pid <= 0)
        return false;
    int wait_status = 0;
    if (waitpid(child.pid, &wait_status, WNOHANG) != child.pid)
        return false;
    outcome = outcome_of(wait_status);
    child.pid = -1;
    return true;
}

ChildOutcome wait_child(ChildProcess& child, double timeout_seconds)
{
    ChildOutcome outcome;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout_seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        if (poll_child(child, outcome))
            return outcome;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (child.pid > 0) {
        kill(child.pid, SIGKILL);
        int wait_status = 0;
        waitpid(child.pid, &wait_status, 0);
        child.pid = -1;
    }
    return ChildOutcome{};
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool file_exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

std::string make_temp_folder()
{
    char pattern[] = "/tmp/ironstep-test-XXXXXX";
    const char* folder = mkdtemp(pattern);
    return folder != nullptr ? folder : "";
}

void remove_tree(const std::string& path)
{
    if (path.rfind("/tmp/ironstep-test-", 0) == 0)
        run_shell("rm -rf '" + path + "'");
}

int run_shell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ScreenCapture::Rgb ScreenCapture::at(int x, int y) const
{
    const unsigned char* p = &rgb[(std::size_t(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
}

namespace {

std::uint32_t big_endian_word(const std::string& data, std::size_t offset)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(data[offset + i]);
    return value;
}

int mask_shift(std::uint32_t mask)
{
    int shift = 0;
    while (mask != 0 && (mask & 1u) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

} // namespace

bool capture_screen(const std::string& display, const std::string& scratch_file, ScreenCapture& out)
{
    if (run_shell("xwd -root -silent -display '" + display + "' -out '" + scratch_file + "'") != 0)
        return false;
    const std::string data = read_file(scratch_file);
    // The header: 25 big-endian words, then the window name up to its size.
    if (data.size() < 100)
        return false;
    const auto word = [&](int i) { return big_endian_word(data, std::size_t(i) * 4); };
    const std::uint32_t header_size = word(0), format = word(2), width = word(4), height = word(5);
    const std::uint32_t byte_order = word(7), bits_per_pixel = word(11), bytes_per_line = word(12);
    const std::uint32_t red_mask = word(14), green_mask = word(15), blue_mask = word(16), colours = word(19);
    const std::size_t pixels = std::size_t(header_size) + std::size_t(colours) * 12;
    if (format != 2 || (bits_per_pixel != 32 && bits_per_pixel != 24) || width == 0 || height == 0 ||
        width > 8192 || height > 8192 || bytes_per_line < width * (bits_per_pixel / 8) ||
        data.size() < pixels + std::size_t(bytes_per_line) * height)
        return false;
    out.width = int(width);
    out.height = int(height);
    out.rgb.assign(std::size_t(width) * height * 3, 0);
    const std::size_t step = bits_per_pixel / 8;
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            const std::size_t at = pixels + std::size_t(y) * bytes_per_line + x * step;
            std::uint32_t value = 0;
            for (std::size_t i = 0; i < step; ++i) {
                const std::uint32_t byte = static_cast<unsigned char>(data[at + i]);
                value |= byte_order == 0 ? byte << (8 * i) : byte << (8 * (step - 1 - i));
            }
            unsigned char* p = &out.rgb[(std::size_t(y) * width + x) * 3];
            p[0] = static_cast<unsigned char>((value & red_mask) >> mask_shift(red_mask));
            p[1] = static_cast<unsigned char>((value & green_mask) >> mask_shift(green_mask));
            p[2] = static_cast<unsigned char>((value & blue_mask) >> mask_shift(blue_mask));
        }
    return true;
}
