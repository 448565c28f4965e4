// Writes the flow-year chart program's icon "Velmaro.png": 64 x 64 pixels, a
// short row of bars in the charts' level colours standing on a blue base line,
// on the window's pale background in a rounded frame.
#include <QImage>
#include <QPainter>

#include "fortune_paint.h"
#include "picture_tool.h"

namespace {

constexpr int Size = 64;

QImage Icon() {
    QImage image(Size, Size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(100, 100, 255), 3));
    p.setBrush(qv::ui::CurveBackground);
    p.drawRoundedRect(QRectF(2, 2, Size - 4, Size - 4), 10, 10);
    constexpr int heights[] = {14, 26, 38, 22, -12};
    constexpr int levels[] = {4, 2, 0, 3, 8};
    const int base = 42;
    for (int i = 0; i < 5; ++i) {
        const int h = heights[i];
        p.fillRect(QRect(9 + i * 10, h > 0 ? base - h : base, 8, h > 0 ? h : -h), qv::ui::LevelColor(levels[i]));
    }
    p.setPen(QPen(QColor(100, 100, 255), 2));
    p.drawLine(7, base, Size - 7, base);
    return image;
}

}  // namespace

int main(int argc, char** argv) { return qv::ui::RunPictureTool(argc, argv, "PNG", Icon); }
