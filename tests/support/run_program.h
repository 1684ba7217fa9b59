// Runs a program as a shell would, with its exit code, standard output and standard error; reads
// whole files back; checks refused commands.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace qzm::testing {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline std::string ShellQuote(const std::string& word) {
    std::string q = "'";
    for (char c : word) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

inline RunResult RunProgram(const std::string& program, const std::vector<std::string>& args) {
    const TempDir dir;
    // In English, whatever the language of the machine's user.
    std::string command = "LC_ALL=C.UTF-8 LANGUAGE= " + ShellQuote(program);
    for (const std::string& a : args) {
        command += " " + ShellQuote(a);
    }
    const std::filesystem::path errFile = dir.Path() / "stderr.txt";
    command += " 2>" + ShellQuote(errFile.string());
    RunResult r;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        r.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = ReadText(errFile);
    return r;
}

// The names in a directory, sorted: what a failed command must leave as it found it.
inline std::set<std::string> FileNames(const std::filesystem::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Runs `program` with `command` and each case's further arguments: each fails with its exit code and
// one line "qzmtool: ..." on standard error, and leaves `dir` as it found it.
using Refusal = std::pair<std::vector<std::string>, int>;
inline void ExpectRefusals(const std::string& program, const std::string& command,
                           std::span<const Refusal> cases, const std::filesystem::path& dir) {
    const std::set<std::string> before = FileNames(dir);
    for (const auto& [words, code] : cases) {
        SCOPED_TRACE(::testing::PrintToString(words.size() > 3 ? std::vector(words.begin(), words.begin() + 3)
                                                               : words));
        std::vector<std::string> args = {command};
        args.insert(args.end(), words.begin(), words.end());
        const RunResult r = RunProgram(program, args);
        EXPECT_EQ(r.exitCode, code) << r.err;
        EXPECT_TRUE(r.err.starts_with("qzmtool: ")) << r.err;
        EXPECT_EQ(std::ranges::count(r.err, '\n'), 1) << r.err;
        EXPECT_EQ(FileNames(dir), before);
    }
}

}  // namespace qzm::testing
