#include "paint_helpers.h"

#include <QFontDatabase>
#include <QPaintDevice>
#include <algorithm>

#include "engine/texts/string_table.h"

namespace qv::ui {

QString Utf8(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString Text(int id) { return Utf8(StringText(id)); }
namespace {


}  // namespace

QSize ScreenMetrics(QSize deviceSize) {
    return {std::min(deviceSize.width(), kLogicalPageWidth), std::min(deviceSize.height(), kLogicalPageHeight)};
}

QSize ScreenMetrics(const QPaintDevice& device) { return ScreenMetrics(QSize(device.width(), device.height())); }

QTransform LogicalPageTransform(QSize logical, QSize target) {
    if (logical.isEmpty() || target.isEmpty()) return {};
    const double scale = std::min(double(target.width()) / logical.width(), double(target.height()) / logical.height());
    QTransform t;
    t.translate((target.width() - logical.width() * scale) / 2, (target.height() - logical.height() * scale) / 2);
    t.scale(scale, scale);
    return t;
}

void ScaleToLogicalPage(QPainter& painter, QSize logical, QSize target) {
    painter.setTransform(LogicalPageTransform(logical, target), true);
}

QString ChartFontFamily() {
    // "新細明體" is not shipped on this platform; these two serif faces carry every
    // Traditional-Chinese character the program shows.
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* candidate : {"AR PL UMing TW", "Noto Serif CJK TC"}) {
            if (installed.contains(QString::fromLatin1(candidate))) return QString::fromLatin1(candidate);
        }
        return QStringLiteral("serif");
    }();
    return family;
}

int ChartFontPixelSize(int mode, int s) {
    // The eighth, quarter and half are shifts: they floor where a division would truncate.
    switch (mode) {
        case 0: return s - s / 5;
        case 1:
        case 7: return s - (s >> 3);
        case 2:
        case 4: return s - (s >> 2);
        case 3: return s + (s >> 1);
        case 5: return 5 * s / 9;
        case 6: return s >> 1;
        case 8: return s / 3;
        case 9: return s - s / 3;
        case 10: return 2 * s / 5;
        case 11: return 4 * s;
        case 12: return (s + 24) / 48;
        default: return 0;
    }
}

QFont MakeChartFont(int mode, int baseSize, int weight) {
    QFont font(ChartFontFamily());
    font.setPixelSize(std::max(1, ChartFontPixelSize(mode, baseSize)));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QStringList VerticalLines(const QString& text) {
    // A line holds one double-byte character; single-byte characters pair up,
    // except that a number keeps its digits together: an odd run ends in a
    // line of three, so a three-digit year never reads as a two-digit one.
    QStringList lines;
    QString line;
    int width = 0;
    auto flush = [&] {
        if (!line.isEmpty()) lines << line;
        line.clear();
        width = 0;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isLowSurrogate() && !line.isEmpty()) {
            line += c;
            continue;
        }
        if (c.isDigit() && c.unicode() < 0x80) {
            qsizetype end = i;
            while (end < text.size() && text[end].isDigit() && text[end].unicode() < 0x80) ++end;
            flush();
            for (qsizetype left = end - i; left > 0;) {
                const qsizetype take = left == 3 ? 3 : std::min<qsizetype>(2, left);
                lines << text.mid(end - left, take);
                left -= take;
            }
            i = end - 1;
            continue;
        }
        const int charWidth = c.unicode() < 0x80 ? 1 : 2;
        if (width + charWidth > 2) flush();
        line += c;
        width += charWidth;
    }
    flush();
    return lines;
}

void DrawVerticalText(QPainter& painter, const QString& text, const QRect& rect, int lineHeight) {
    const QStringList lines = VerticalLines(text);
    for (int k = 0; k < lines.size(); ++k) {
        const QRect line(rect.left(), rect.top() + 1 + k * lineHeight, rect.width(), lineHeight);
        painter.drawText(line, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, lines[k]);
    }
}

std::string EraYearText(int westernYear) {
    const int republic = westernYear - 1911;
    if (republic == 1) return std::string(StringText(FirstRepublicYearText));
    const std::string year(StringText(YearText));
    if (republic > 1) return std::string(StringText(RepublicText)) + std::to_string(republic) + year;
    return std::string(StringText(BeforeRepublicText)) + std::to_string(1 - republic) + year;
}

std::string DisplayedYearText(int westernYear, int yearDisplay) {
    return yearDisplay == 1 ? EraYearText(westernYear) : std::to_string(westernYear) + std::string(StringText(YearText));
}

}  // namespace qv::ui
