// render: draws a person's chart as the program's chart view shows it, into a PNG or PDF.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>
#include <cstring>

#include "atomic_file.h"
#include "big5.h"
#include "chart_draw.h"
#include "charting.h"
#include "cli.h"
#include "paint_helpers.h"

namespace qv::cli {
namespace {

struct RenderOptions {
    std::string Out;
    int Width = ui::kLogicalPageWidth;
    bool Pdf = false;
    std::string Name;
    int YearDisplay = 1;
    ui::ChartDrawContext Context;
};

bool EndsWith(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool TakeRenderOptions(Args& args, RenderOptions& options) {
    const auto out = args.TakeValue("--out");
    if (!out || !(EndsWith(*out, ".png") || EndsWith(*out, ".pdf"))) {
        Complain("--out chart.png|chart.pdf is required");
        return false;
    }
    options.Out = *out;
    options.Pdf = EndsWith(*out, ".pdf");
    if (const auto size = args.TakeValue("--size"); size && (!ParseInt(*size, options.Width) || options.Width < 256 || options.Width > 8192)) {
        Complain("--size takes a width from 256 to 8192 pixels, not " + *size);
        return false;
    }
    if (const auto display = args.TakeValue("--year-display"); display && (!ParseInt(*display, options.YearDisplay) || (options.YearDisplay != 0 && options.YearDisplay != 1))) {
        Complain("--year-display takes 0 (AD) or 1 (ROC), not " + *display);
        return false;
    }
    if (const auto today = args.TakeValue("--today")) {
        CivilDate date{};
        if (!ParseDate(*today, date)) {
            Complain("--today takes YYYY-MM-DD, not " + *today);
            return false;
        }
        options.Context.todayYear = date.Year;
        options.Context.todayMonth = date.Month;
        options.Context.todayDay = date.Day;
    }
    if (const auto name = args.TakeValue("--name")) options.Name = *name;
    return true;
}

// The name as the records keep it: Big5, at most 31 bytes.
bool StoreName(PersonRecord& person, const std::string& name) {
    std::string big5;
    if (!Utf8ToBig5(name, big5)) {
        Complain("--name has characters that Big5 cannot hold");
        return false;
    }
    if (big5.size() >= sizeof person.name) {
        Complain("--name is longer than " + std::to_string(sizeof person.name - 1) + " Big5 bytes");
        return false;
    }
    std::memcpy(person.name, big5.data(), big5.size());
    return true;
}

// The logical page drawn onto any device, scaled to fill it.
void PaintPage(QPaintDevice& device, ChartRecord& rec, const ui::ChartDrawContext& context) {
    QPainter painter(&device);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QSize page(ui::kLogicalPageWidth, ui::kLogicalPageHeight);
    ui::ScaleToLogicalPage(painter, page, QSize(device.width(), device.height()));
    const ui::ChartLayout layout = ui::ViewChartLayout(page.width(), page.height());
    ui::DrawChart(painter, rec, context, page.width(), page.height(), layout.side);
}

QByteArray Encode(ChartRecord& rec, const RenderOptions& options) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (options.Pdf) {
        QPdfWriter writer(&buffer);
        writer.setResolution(96);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setPageSize(QPageSize(QSizeF(ui::kLogicalPageWidth * 72.0 / 96, ui::kLogicalPageHeight * 72.0 / 96), QPageSize::Point));
        PaintPage(writer, rec, options.Context);
    } else {
        QImage image(options.Width, options.Width * ui::kLogicalPageHeight / ui::kLogicalPageWidth, QImage::Format_RGB32);
        PaintPage(image, rec, options.Context);
        image.save(&buffer, "PNG");
    }
    return bytes;
}

}  // namespace

int RunRender(Args& args) {
    RenderOptions options;
    if (!TakeRenderOptions(args, options)) return ExitBadInput;
    Charting charting;
    Birth birth;
    if (const int code = ChartOneBirth(args, charting, birth); code != ExitOk) return code;
    ChartRecord& rec = *charting.Rec;
    rec.Person.sex = birth.Sex;
    if (!options.Name.empty() && !StoreName(rec.Person, options.Name)) return ExitBadInput;
    rec.YearDisplay = static_cast<int16_t>(options.YearDisplay);
    rec.ChartKind = 0;
    // Drawing needs fonts but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char program[] = "quorvane-cli";
    char* argv[] = {program, nullptr};
    QGuiApplication app(argc, argv);
    const QByteArray bytes = Encode(rec, options);
    std::string error;
    if (bytes.isEmpty() || !WriteFileAtomically(options.Out, std::string_view(bytes.constData(), bytes.size()), error)) {
        Complain("cannot write " + options.Out + (error.empty() ? std::string() : ": " + error));
        return ExitBadInput;
    }
    return ExitOk;
}

}  // namespace qv::cli
