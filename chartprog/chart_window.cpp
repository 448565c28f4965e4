#include "chart_window.h"

#include <QBuffer>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QVBoxLayout>

#include "atomic_file.h"
#include "fortune_paint.h"
#include "fortune_window.h"
#include "paint_helpers.h"

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

QByteArray PdfOf(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(96);
    writer.setTitle(QString::fromUtf8(ChartWindowCaption));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(QSizeF(picture.width() * 72.0 / 96, picture.height() * 72.0 / 96), QPageSize::Point));
    QPainter painter(&writer);
    painter.drawImage(QRect(0, 0, writer.width(), writer.height()), picture);
    painter.end();
    return bytes;
}

QByteArray PngOf(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

QIcon ProgramIcon() { return QIcon(QString::fromStdString(ShippedDataDir() + "/" + IconFileName)); }

std::unique_ptr<QDialog> MakeChartWindow(ChartSession& session, const ChartRequest& request) {
    std::unique_ptr<QDialog> window;
    ui::FortuneCurve curve;
    if (!session.Charted()) {
        window = NoticeWindow(NotChartedText);
    } else if (!ui::OpenCurve(curve, session.Record(), request.Category, request.Mode, request.Lifetime != 0,
                              session.OpeningPeriod())) {
        window = NoticeWindow(NoPeriodText);
    } else {
        auto chart = std::make_unique<ui::CFortuneCurveWindow>(session.Record(), curve);
        chart->EnableExplanations();
        window = std::move(chart);
    }
    window->setWindowTitle(QString::fromUtf8(ChartWindowCaption));
    window->setWindowIcon(ProgramIcon());
    return window;
}

QImage WindowPicture(QDialog& window, int width) {
    const QImage picture = window.grab().toImage();
    if (width <= 0 || width == picture.width()) return picture;
    return picture.scaledToWidth(width, Qt::SmoothTransformation);
}

bool IsPicturePath(const std::string& path) { return EndsWith(path, ".png") || EndsWith(path, ".pdf"); }

bool WritePicture(const QImage& picture, const std::string& path, std::string& error) {
    if (!IsPicturePath(path)) {
        error = "--render takes a file ending in .png or .pdf, not " + path;
        return false;
    }
    const QByteArray bytes = EndsWith(path, ".pdf") ? PdfOf(picture) : PngOf(picture);
    if (bytes.isEmpty()) {
        error = "cannot draw " + path;
        return false;
    }
    return WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()), error);
}

}  // namespace qv::chartprog
