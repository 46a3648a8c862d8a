#include "support.hpp"

#include "chkprotogen.hpp"
#include "streams.hpp"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace chkprotogen::testing {

ProcessResult run_filter(const std::string& input) {
    karvo::testing::InputStream in(input);
    karvo::testing::OutputStream out;
    karvo::testing::OutputStream err;
    ProcessResult result;
    result.status = run(in.get(), out.get(), err.get());
    result.out = out.text();
    result.err = err.text();
    return result;
}

ProcessResult run_with_stdin(const std::string& program, const std::vector<std::string>& argv,
                             int stdin_fd, const std::filesystem::path& stdout_path,
                             long* max_rss_kib) {
    const karvo::testing::TempDir capture;
    const auto out_path = stdout_path.empty() ? capture.path() / "stdout" : stdout_path;
    const auto err_path = capture.path() / "stderr";

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
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, args.data(), environ);
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
        result.out = karvo::testing::read_file(out_path);
    result.err = karvo::testing::read_file(err_path);
    return result;
}

} // namespace chkprotogen::testing
