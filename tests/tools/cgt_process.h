#pragma once
// The cgt tool as a user runs it: a separate process in a given folder, its standard output,
// standard error and exit status captured.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/store_fixture.h"

extern char** environ;

namespace cgt::test {

struct CgtOutcome {
    int status = -1; // exit status, or 128 + signal
    std::string out;
    std::string err;
};

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs cgt with `args` in `folder`; its output passes through files in `capture`.
inline CgtOutcome RunCgt(const std::vector<std::string>& args, const std::filesystem::path& folder,
                         const TempFolder& capture) {
    const std::string outPath = capture.file("stdout");
    const std::string errPath = capture.file("stderr");
    std::vector<std::string> argStrings{CGT_TOOL_PATH};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStrings)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, CGT_TOOL_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    CgtOutcome outcome;
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << CGT_TOOL_PATH << ": " << std::strerror(spawned);
        return outcome;
    }
    int wstatus = 0;
    while (waitpid(pid, &wstatus, 0) < 0 && errno == EINTR) {
    }
    outcome.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    outcome.out = ReadText(outPath);
    outcome.err = ReadText(errPath);
    return outcome;
}

} // namespace cgt::test
