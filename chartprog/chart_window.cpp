#include "chart_window.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "fortune_paint.h"
#include "fortune_window.h"
#include "paint_helpers.h"
#include "picture_file.h"

namespace qv::chartprog {
namespace {

// A window of the curve's colours that says in one line why there is no chart.
std::unique_ptr<QDialog> NoticeWindow(const char* line) {
    auto window = std::make_unique<QDialog>();
    window->setObjectName(QStringLiteral("chartNotice"));
    auto* label = new QLabel(QString::fromUtf8(line), window.get());
    label->setObjectName(QStringLiteral("noticeLine"));
    label->setAlignment(Qt::AlignCenter);
    label->setFont(ui::MakeChartFont(0, 18, 400));
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, ui::CurveBackground);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    (new QVBoxLayout(window.get()))->addWidget(label);
    window->setFixedSize(480, 160);
    return window;
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

QIcon ProgramIcon() {
    std::string ignored;  // a window without its icon still works
    return QIcon(QPixmap::fromImage(ui::ReadPictureFile(ShippedDataDir() + "/" + IconFileName, ignored)));
}

std::unique_ptr<QDialog> MakeChartWindow(ChartSession& session, const ChartRequest& request) {
    std::unique_ptr<QDialog> window;
    ui::FortuneCurve curve;
    if (!session.Charted()) {
        window = NoticeWindow(NotChartedText);
    } else if (!ui::OpenCurve(curve, session.Record(), request.Category, request.Mode, request.Lifetime != 0,
                              session.OpeningPeriod())) {
        window = NoticeWindow(NoPeriodText);
    } else {
        window = std::make_unique<ui::CFortuneCurveWindow>(session.Record(), curve);
    }
    window->setWindowTitle(QString::fromUtf8(ChartWindowCaption));
    window->setWindowIcon(ProgramIcon());
    return window;
}

bool IsPicturePath(const std::string& path) { return EndsWith(path, ".png") || EndsWith(path, ".pdf"); }

Result RenderWindow(QDialog& window, const std::string& path, int width) {
    if (!IsPicturePath(path)) return Result::Failed(0, "--render takes a file ending in .png or .pdf, not " + path);
    const QString title = QString::fromUtf8(ChartWindowCaption);
    if (const auto* chart = qobject_cast<const ui::CFortuneCurveWindow*>(&window)) {
        // Whatever screen (or none) the program runs on: the window of a 1024 x 768 screen.
        const ui::CurveLayout layout = ui::LayoutCurve(chart->Curve(), ui::kLogicalPageWidth, ui::kLogicalPageHeight);
        const QSize page(layout.Width, layout.Depth);
        return ui::SavePagePicture(path, page, width, title, [&](QPainter& painter) {
            ui::PaintFortuneCurve(painter, chart->Curve(), chart->Record(), layout, QRect(QPoint(0, 0), page));
        });
    }
    return ui::SavePagePicture(path, window.size(), width, title, [&](QPainter& painter) { window.render(&painter); });
}

}  // namespace qv::chartprog
