// The text program's side of the drawing commands: it hands them, whole, to
// the picture program installed beside it.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "cli.h"

namespace qv::cli {

int RunInPictureProgram(std::string_view command, const Args& args) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::string program = (self.parent_path() / PictureProgramName).string();
    std::vector<std::string> words{program};
    if (!args.DataDir.empty()) words.insert(words.end(), {"--data-dir", args.DataDir});
    words.emplace_back(command);
    words.insert(words.end(), args.Items.begin(), args.Items.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    if (!ec) execv(program.c_str(), argv.data());
    Complain("cannot start " + program + ", which draws the pictures: " + std::strerror(ec ? ec.value() : errno));
    return ExitNoData;
}

}  // namespace qv::cli
