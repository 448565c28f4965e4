// render: draws a person's chart as the program's chart view shows it (natal, a luck
// pillar or a year), or the sixty-year strip of the flow-year window, into a PNG or PDF.
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>
#include <cstring>

#include "atomic_file.h"
#include "big5.h"
#include "calendar.h"
#include "chart_draw.h"
#include "chart_period.h"
#include "charting.h"
#include "cli.h"
#include "flow_year_window.h"
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
    int Kind = -1;      // -1: from --luck / --year, else the natal chart
    int Luck = 0;       // 1-12: the luck pillar of the 十年盤
    int Year = 0;       // the lunar year of the 流年盤
    bool FlowYears = false;
};

// Takes an optional number option within [low, high]; false after a complaint.
bool TakeNumber(Args& args, std::string_view name, int low, int high, int& out, const char* what) {
    const auto value = args.TakeValue(name);
    if (!value) return true;
    if (ParseInt(*value, out) && out >= low && out <= high) return true;
    Complain(std::string(name) + " takes " + what + ", not " + *value);
    return false;
}

// --kind, --luck, --year and --flow-years, checked against each other.
bool TakePeriodOptions(Args& args, RenderOptions& options) {
    if (!TakeNumber(args, "--kind", 0, 2, options.Kind, "0 (本命盤), 1 (十年盤) or 2 (流年盤)") ||
        !TakeNumber(args, "--luck", 1, LuckPillarCount, options.Luck, "a luck pillar from 1 to 12") ||
        !TakeNumber(args, "--year", LunarFirstYear, LunarLastYear, options.Year, "a year from 1900 to 2099"))
        return false;
    options.FlowYears = args.TakeFlag("--flow-years");
    if (options.Luck && options.Year) {
        Complain("--luck and --year choose different charts; give one");
        return false;
    }
    const int implied = options.Luck ? ui::LuckKind : options.Year ? ui::YearKind : -1;
    if (implied >= 0 && options.Kind >= 0 && options.Kind != implied) {
        Complain(std::string(options.Luck ? "--luck" : "--year") + " needs --kind " + std::to_string(implied));
        return false;
    }
    if (options.FlowYears && (options.Kind >= 0 || implied >= 0)) {
        Complain("--flow-years draws the sixty-year strip and takes no --kind, --luck or --year");
        return false;
    }
    if (options.Kind < 0) options.Kind = implied >= 0 ? implied : ui::NatalKind;
    return true;
}

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
    return TakePeriodOptions(args, options);
}

// The chart kind and period of the options, chosen as the view's clicks would.
bool ChoosePeriod(ChartRecord& rec, const RenderOptions& options) {
    ui::ClearPeriod(rec);
    if (options.Context.todayYear) {
        rec.Now = LocalDateTime{static_cast<int16_t>(options.Context.todayYear), static_cast<int16_t>(options.Context.todayMonth),
                                static_cast<int16_t>(options.Context.todayDay), 12, 0};
    } else {
        ReadCurrentDateTime(rec);
    }
    if (options.Year) {
        if (ui::AgeInYear(rec, options.Year) < 1) {
            Complain("--year " + std::to_string(options.Year) + " lies before the birth year");
            return false;
        }
        ui::ChooseYear(rec, options.Year);
    } else if (options.Luck) {
        ui::ChooseCell(rec, options.Luck - 1, true);
    } else if (options.Kind != ui::NatalKind) {
        ui::ChooseKind(rec, options.Kind);
    }
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

// The sixty-year strip of the flow-year window, its unit a fortieth of the width.
void PaintFlowYears(QPaintDevice& device, const ChartRecord& rec, int unit) {
    QPainter painter(&device);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRect(0, 0, device.width(), device.height()), Qt::white);
    painter.scale(double(device.width()) / (30 * unit), double(device.height()) / (8 * unit));
    ui::DrawFlowYears(painter, rec, unit);
}

QByteArray Encode(ChartRecord& rec, const RenderOptions& options) {
    const int unit = options.Width / 40;
    const QSize size = options.FlowYears ? QSize(30 * unit, 8 * unit)
                                         : QSize(options.Width, options.Width * ui::kLogicalPageHeight / ui::kLogicalPageWidth);
    auto paint = [&](QPaintDevice& device) {
        if (options.FlowYears)
            PaintFlowYears(device, rec, unit);
        else
            PaintPage(device, rec, options.Context);
    };
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (options.Pdf) {
        QPdfWriter writer(&buffer);
        writer.setResolution(96);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        const QSize page = options.FlowYears ? size : QSize(ui::kLogicalPageWidth, ui::kLogicalPageHeight);
        writer.setPageSize(QPageSize(QSizeF(page.width() * 72.0 / 96, page.height() * 72.0 / 96), QPageSize::Point));
        paint(writer);
    } else {
        QImage image(size, QImage::Format_RGB32);
        paint(image);
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
    if (!ChoosePeriod(rec, options)) return ExitBadInput;
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
