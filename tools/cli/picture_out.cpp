#include "picture_out.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPdfWriter>

#include "atomic_file.h"
#include "paint_helpers.h"

namespace qv::cli {
namespace {

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

void PaintOnto(QPaintDevice& device, QSize page, const PagePainter& paint) {
    QPainter painter(&device);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ui::ScaleToLogicalPage(painter, page, QSize(device.width(), device.height()));
    paint(painter);
}

QByteArray Encode(const PictureOptions& options, QSize page, const PagePainter& paint) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (options.Pdf) {
        QPdfWriter writer(&buffer);
        writer.setResolution(96);
        writer.setTitle(QString::fromStdString(options.Title));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setPageSize(QPageSize(QSizeF(page.width() * 72.0 / 96, page.height() * 72.0 / 96), QPageSize::Point));
        PaintOnto(writer, page, paint);
    } else {
        const int width = options.Width ? options.Width : page.width();
        QImage image(width, width * page.height() / page.width(), QImage::Format_RGB32);
        image.fill(Qt::white);
        PaintOnto(image, page, paint);
        image.save(&buffer, "PNG");
    }
    return bytes;
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
    const QByteArray bytes = Encode(options, page, paint);
    std::string error;
    if (bytes.isEmpty() || !WriteFileAtomically(options.Out, std::string_view(bytes.constData(), bytes.size()), error)) {
        Complain("cannot write " + options.Out + (error.empty() ? std::string() : ": " + error));
        return ExitBadInput;
    }
    return ExitOk;
}

}  // namespace qv::cli
