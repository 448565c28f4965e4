// Test helper: runs a built program with arguments and stdin, capturing its output.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace qv::test {

struct ProgramResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};

inline std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// Runs a shell command line with the given stdin, capturing its output.
inline ProgramResult RunCommandLine(const std::string& commandLine, const std::string& input = {}) {
    char dir[] = "/tmp/quorvane-run-XXXXXX";
    ProgramResult r;
    if (!mkdtemp(dir)) return r;
    const std::string base(dir);
    std::ofstream(base + "/in", std::ios::binary) << input;
    const std::string cmd = commandLine + " <" + base + "/in >" + base + "/out 2>" + base + "/err";
    const int raw = std::system(cmd.c_str());
    r.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.Out = ReadFileText(base + "/out");
    r.Err = ReadFileText(base + "/err");
    std::system(("rm -rf " + ShellQuote(base)).c_str());
    return r;
}

// Runs QUORVANE_BIN_DIR/<program> through the shell with the given stdin.
inline ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::string& input = {}) {
    std::string cmd = ShellQuote(std::string(QUORVANE_BIN_DIR "/") + program);
    for (const std::string& a : args) cmd += " " + ShellQuote(a);
    return RunCommandLine(cmd, input);
}

// A fresh empty folder under /tmp, removed when the object goes.
class TempDir {
public:
    TempDir() {
        char dir[] = "/tmp/quorvane-test-XXXXXX";
        path_ = mkdtemp(dir) ? dir : "/tmp";
    }
    ~TempDir() { std::system(("rm -rf " + ShellQuote(path_)).c_str()); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Runs quorvane-cli on a data root of its own, so no test sees another's files.
inline ProgramResult RunCli(const TempDir& data, std::vector<std::string> args, const std::string& input = {}) {
    args.insert(args.begin(), {"--data-dir", data.Path()});
    return RunProgram("quorvane-cli", args, input);
}

// The arguments with more after them.
inline std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// A test of quorvane-cli on a data root of its own.
class CliTest : public ::testing::Test {
protected:
    ProgramResult Cli(std::vector<std::string> args, const std::string& input = {}) {
        return RunCli(data_, std::move(args), input);
    }
    // The output of a run that must succeed.
    std::string Out(std::vector<std::string> args, const std::string& input = {}) {
        const ProgramResult r = Cli(std::move(args), input);
        EXPECT_EQ(r.Status, 0) << r.Err;
        return r.Out;
    }
    // A run refused with status 1, nothing on its output and a message that says `says`.
    void ExpectRefused(std::vector<std::string> args, const std::string& says) {
        const ProgramResult r = Cli(std::move(args));
        EXPECT_EQ(r.Status, 1) << says;
        EXPECT_EQ(r.Out, "") << says;
        EXPECT_NE(r.Err.find(says), std::string::npos) << r.Err;
    }
    TempDir data_;
};

// The lines of a program's output, or the fields of a line split at `at`.
inline std::vector<std::string> Lines(const std::string& text, char at = '\n') {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line, at);) lines.push_back(line);
    return lines;
}
inline std::vector<std::string> Fields(const std::string& line) { return Lines(line, '\t'); }

}  // namespace qv::test
