#include "picture_out.h"

#include <QGuiApplication>

#include "atomic_file.h"
#include "picture_file.h"

namespace qv::cli {
namespace {

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

}  // namespace

bool TakePictureOptions(Args& args, PictureOptions& options) {
    const auto out = args.TakeValue("--out");
    if (!out || !(EndsWith(*out, ".png") || EndsWith(*out, ".pdf"))) {
        Complain("--out chart.png|chart.pdf is required");
        return false;
    }
    options.Out = *out;
    options.Pdf = EndsWith(*out, ".pdf");
    std::optional<int> width;
    if (!TakeNumberOption(args, "--size", 256, 8192, width, "a width from 256 to 8192 pixels")) return false;
    options.Width = width.value_or(0);
    return true;
}

int WritePicture(const PictureOptions& options, QSize page, const PagePainter& paint) {
    // Drawing needs fonts but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char program[] = "quorvane-cli";
    char* argv[] = {program, nullptr};
    QGuiApplication app(argc, argv);
    const QByteArray bytes =
        ui::PagePictureBytes(options.Pdf, page, options.Width, QString::fromStdString(options.Title), paint);
    const Result written = bytes.isEmpty() ? Result::Failed(0, {})
                                           : WriteFileAtomically(options.Out, std::string_view(bytes.constData(), bytes.size()));
    if (!written.Ok) {
        Complain("cannot write " + options.Out + (written.Detail.empty() ? std::string() : ": " + written.Detail));
        return ExitBadInput;
    }
    return ExitOk;
}

}  // namespace qv::cli
