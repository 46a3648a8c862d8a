#include "process.hpp"

#include "files.hpp"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace karvo::testing {
namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            close(fd);
    }
};

} // namespace

ProcessResult run_process_with_stdin_fd(const std::string& program,
                                        const std::vector<std::string>& argv, int stdin_fd,
                                        const std::filesystem::path& stdout_path,
                                        long* max_rss_kib) {
    TempDir capture;
    const auto out_path = stdout_path.empty() ? capture / "stdout" : stdout_path;
    const auto err_path = capture / "stderr";

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, stdin_fd, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    pid_t pid = 0;
    const int spawned =
        posix_spawnp(&pid, program.c_str(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot start " + program);

    int wait_status = 0;
    rusage usage{};
    while (wait4(pid, &wait_status, 0, &usage) != pid)
        if (errno != EINTR)
            throw std::runtime_error("wait4 failed");
    if (max_rss_kib != nullptr)
        *max_rss_kib = usage.ru_maxrss;

    ProcessResult result;
    if (WIFEXITED(wait_status))
        result.status = WEXITSTATUS(wait_status);
    else if (WIFSIGNALED(wait_status))
        result.status = 128 + WTERMSIG(wait_status);
    if (stdout_path.empty())
        result.out = read_file(out_path);
    result.err = read_file(err_path);
    return result;
}

ProcessResult run_process(const std::string& program, const std::vector<std::string>& argv,
                          const std::filesystem::path& stdin_path,
                          const std::filesystem::path& stdout_path) {
    const Descriptor input{open(stdin_path.c_str(), O_RDONLY)};
    if (input.fd < 0)
        throw std::runtime_error("cannot open " + stdin_path.string());
    return run_process_with_stdin_fd(program, argv, input.fd, stdout_path);
}

std::optional<ProcessResult> run_process_on_terminal(const std::string& program,
                                                     const std::vector<std::string>& argv) {
    const Descriptor terminal{posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)};
    if (terminal.fd < 0 || grantpt(terminal.fd) != 0 || unlockpt(terminal.fd) != 0)
        return std::nullopt;
    const Descriptor input{open(ptsname(terminal.fd), O_RDWR | O_NOCTTY | O_CLOEXEC)};
    if (input.fd < 0)
        return std::nullopt;
    return run_process_with_stdin_fd(program, argv, input.fd);
}

} // namespace karvo::testing
