// quorvane-picture: the commands of quorvane-cli that draw (render, curve).
// They need Qt, so they live in a program of their own that quorvane-cli
// starts; quorvane-cli's own table keeps their usage.
#include "calendar_command.h"
#include "cli.h"

namespace qv::cli {
namespace {

constexpr Command PictureCommands[] = {
    {"render", "", RunRender},
    {"curve", "", RunCurve},
    {"calendar", "", RunCalendarPicture},
    {"compare", "", RunComparePicture},
};

void PrintUsage(std::FILE* to) {
    std::fprintf(to, "usage: quorvane-cli [--data-dir DIR] render|curve ...   (quorvane-cli --help tells more)\n");
}

}  // namespace
}  // namespace qv::cli

int main(int argc, char** argv) {
    return qv::cli::RunCommandLine(argc, argv, qv::cli::PictureCommands, qv::cli::PrintUsage);
}
