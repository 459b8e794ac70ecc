#include "tests/process_runner.h"

#include <chrono>
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
                         const std::vector<std::string>& env, const std::string& argv0)
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
        char* argv[] = {const_cast<char*>(name.c_str()), nullptr};
        execve(program.c_str(), argv, envp.data());
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
