// Writes the header banner of printed fortune charts: a 740 x 178 Windows
// bitmap of 24 bits per pixel. A rising and falling row of bars in the twelve
// level colours of the charts runs under the report's name.
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cmath>

#include "fortune_paint.h"
#include "picture_tool.h"
#include "engine/fortune/levels.h"
#include "fortune_print.h"
#include "paint_helpers.h"

namespace {

void DrawBars(QPainter& p, const QRect& strip) {
    constexpr int Bars = 37;
    const int width = strip.width() / Bars;
    for (int i = 0; i < Bars; ++i) {
        const double wave = std::sin(i * 0.45) * 0.5 + 0.5;
        const int height = int(strip.height() * (0.25 + 0.75 * wave));
        const int level = std::lround((1 - wave) * (qv::LevelCount - 1));
        p.fillRect(QRect(strip.left() + i * width + 2, strip.bottom() - height, width - 4, height),
                   qv::ui::LevelColor(level));
    }
}

QImage Banner() {
    using namespace qv::ui;
    QImage image(BannerWidth, BannerHeight, QImage::Format_RGB888);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient paper(0, 0, 0, BannerHeight);
    paper.setColorAt(0, QColor(250, 250, 255));
    paper.setColorAt(1, CurveBackground);
    p.fillRect(image.rect(), paper);
    DrawBars(p, QRect(20, 104, BannerWidth - 40, 56));
    p.setPen(QPen(QColor(100, 100, 255), 3));
    p.drawLine(20, 161, BannerWidth - 20, 161);
    p.setPen(QPen(QColor(32, 32, 32), 2));
    p.drawRect(QRect(6, 6, BannerWidth - 13, BannerHeight - 13));
    p.setFont(MakeChartFont(3, 30, 700));
    p.drawText(QRect(0, 14, BannerWidth, 56), Qt::AlignCenter, QStringLiteral("八字運勢報表"));
    p.setFont(MakeChartFont(0, 20, 400));
    p.drawText(QRect(0, 68, BannerWidth, 28), Qt::AlignCenter, QStringLiteral("Varnex  Quorvane"));
    return image;
}

}  // namespace

int main(int argc, char** argv) { return qv::ui::RunPictureTool(argc, argv, "BMP", Banner); }
