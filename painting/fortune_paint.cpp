#include "fortune_paint.h"

#include <algorithm>
#include <cstdlib>

#include <QFontMetrics>

#include "engine/fortune/levels.h"
#include "paint_helpers.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

constexpr QRgb LevelColors[LevelCount] = {
    qRgb(255, 0, 0),   qRgb(255, 50, 0),  qRgb(255, 100, 0), qRgb(255, 150, 0), qRgb(255, 200, 0), qRgb(255, 255, 0),
    qRgb(150, 255, 0), qRgb(0, 255, 0),   qRgb(0, 200, 255), qRgb(0, 100, 255), qRgb(0, 0, 255),   qRgb(0, 0, 128),
};

// The other brushes and pens.
const QColor TitleFill(255, 200, 200);
const QColor TitleEdge(255, 150, 150);
const QColor Ink(32, 32, 32);
const QColor BarEdge(128, 128, 128);
const QColor BaseLine(100, 100, 255);
const QColor HeadingFill(150, 150, 255);
const QColor RowEdge(150, 150, 100);
const QColor RowFill(220, 220, 150);
const QColor BandLine(255, 0, 0);

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The painter's font, made smaller where the widest line would not fit `width`.
void FitFont(QPainter& p, const QStringList& lines, int width) {
    const QFont font = p.font();
    int widest = 0;
    for (const QString& line : lines) widest = std::max(widest, QFontMetrics(font).horizontalAdvance(line));
    if (widest <= width || font.pixelSize() <= 0) return;
    QFont smaller = font;
    smaller.setPixelSize(std::max(5, font.pixelSize() * width / widest));
    p.setFont(smaller);
}

// A text in a cell: on one line, or as a column of `lines` lines; a line a
// little wider than its slot (a lunar date, a value) shrinks to fit.
void CellText(QPainter& p, const QRect& cell, const QString& text, int lines, int lineHeight) {
    if (text.isEmpty()) return;
    const QFont font = p.font();
    if (lines <= 1) {
        FitFont(p, {text}, cell.width() - 2);
        p.drawText(cell, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, text);
    } else {
        const QStringList column = VerticalLines(text);
        FitFont(p, column, cell.width());
        const int used = static_cast<int>(column.size()) * lineHeight;
        DrawVerticalText(p, text, QRect(cell.left(), cell.top() + (cell.height() - used) / 2 - 1, cell.width(), used),
                         lineHeight);
    }
    p.setFont(font);
}

struct Sheet {
    QPainter& P;
    const FortuneCurve& C;
    const ChartRecord& Rec;
    const CurveLayout& L;

    QRect Slot(int i, int top, int height) const { return QRect(L.BarsLeft + i * L.Unit, top, L.Unit, height); }
    int PlotRight() const { return L.BarsLeft + C.Count * L.Unit; }
};

void DrawTitle(const Sheet& s, int width) {
    const QRect band(0, 0, width, s.L.TitleHeight);
    s.P.fillRect(band, TitleFill);
    s.P.setPen(TitleEdge);
    s.P.drawRect(band.adjusted(0, 0, -1, -1));
    s.P.setPen(Ink);
    s.P.setFont(MakeChartFont(3, s.L.TextSize, 700));
    s.P.drawText(band, Qt::AlignCenter | Qt::TextSingleLine, Q(CurveTitle(s.C, s.Rec)));
    s.P.setFont(MakeChartFont(0, s.L.TextSize, 400));
    s.P.drawText(band.adjusted(0, 0, -s.L.TextSize / 2, 0), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                 Q(std::string(StringText(ForReferenceText))));
}

// A line across the plot with its value in the heading column.
void DrawLevelLine(const Sheet& s, int y, const QPen& pen, int label) {
    s.P.setPen(pen);
    s.P.drawLine(s.L.BarsLeft, y, s.PlotRight(), y);
    s.P.setPen(Ink);
    const int h = s.L.LineHeight;
    s.P.drawText(QRect(0, y - h / 2, s.L.BarsLeft - 3, h), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                 QString::number(label));
}

void DrawLines(const Sheet& s) {
    const CurveLayout& l = s.L;
    s.P.setPen(Ink);
    s.P.setBrush(Qt::NoBrush);
    s.P.drawRect(QRect(l.BarsLeft, l.PlotTop, s.C.Count * l.Unit, l.PlotHeight));
    const int band = BandOffset(s.C.Band, s.C.Axis, l.HalfSpan);
    const QPen bandPen(BandLine, 1, Qt::DashLine);
    DrawLevelLine(s, l.BaseY - band, bandPen, s.C.Baseline + s.C.Band);
    DrawLevelLine(s, l.BaseY + band, bandPen, s.C.Baseline - s.C.Band);
    DrawLevelLine(s, l.BaseY, QPen(BaseLine, 2), s.C.Baseline);
}

// A value reading upwards in its slot, shrunk where it would overrun it.
void TurnedText(QPainter& p, const QRect& cell, const QString& text) {
    const QFont font = p.font();
    FitFont(p, {text}, cell.height());
    p.save();
    p.translate(cell.center());
    p.rotate(-90);
    const QRect along(-cell.height() / 2, -cell.width() / 2, cell.height(), cell.width());
    p.fillRect(p.fontMetrics().boundingRect(along, Qt::AlignCenter, text), CurveBackground);
    p.drawText(along, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip, text);
    p.restore();
    p.setFont(font);
}

// A bar's value: on the background, so the band lines never run through it.
void ValueLabel(const Sheet& s, const QRect& cell, const QString& text) {
    if (text.isEmpty()) return;
    if (s.L.ValueTurned) return TurnedText(s.P, cell, text);
    if (s.L.ValueLines <= 1) {
        const QFont font = s.P.font();
        FitFont(s.P, {text}, cell.width() - 2);
        s.P.fillRect(s.P.fontMetrics().boundingRect(cell, Qt::AlignCenter, text), CurveBackground);
        s.P.setFont(font);
    } else {
        s.P.fillRect(cell, CurveBackground);
    }
    CellText(s.P, cell, text, s.L.ValueLines, s.L.LineHeight);
}

void DrawBars(const Sheet& s) {
    const CurveLayout& l = s.L;
    const int gap = std::max(1, l.Unit / 5);
    const int labelHeight = l.ValueLines * l.LineHeight;
    for (int i = 0; i < s.C.Count; ++i) {
        const int value = s.C.Bars[i].Value;
        if (!s.C.Bars[i].Drawn()) continue;
        const int length = BarLength(value, s.C.Axis, l.HalfSpan);
        const QRect bar(l.BarsLeft + i * l.Unit + gap / 2, std::min(l.BaseY, l.BaseY - length), l.Unit - gap,
                        std::abs(length));
        s.P.fillRect(bar, LevelColor(LevelOf(value, s.C.Step)));
        if (l.Unit > 4 && length != 0) {
            s.P.setPen(BarEdge);
            s.P.drawRect(bar.adjusted(0, 0, -1, -1));
        }
        const int top = value >= 0 ? l.BaseY - length - labelHeight - 1 : l.BaseY - length + 1;
        s.P.setPen(value < 0 ? NegativeValueColor : Ink);
        ValueLabel(s, s.Slot(i, top, labelHeight), Q(ValueText(s.C, i)));
    }
}

// One row of texts under the bars, its heading in the left column.
// span: the slots one text may cover (the lifetime chart names every tenth year).
void DrawRow(const Sheet& s, int& top, int lines, const char* heading, std::string (*text)(const Sheet&, int),
             int span = 1) {
    const CurveLayout& l = s.L;
    const int height = RowHeight(l, lines);
    const QRect head(0, top, l.BarsLeft, height);
    s.P.fillRect(head, HeadingFill);
    s.P.fillRect(QRect(l.BarsLeft, top, s.C.Count * l.Unit, height), RowFill);
    s.P.setPen(RowEdge);
    s.P.drawRect(QRect(0, top, s.PlotRight(), height));
    s.P.setPen(Ink);
    s.P.drawText(head, Qt::AlignCenter | Qt::TextSingleLine, QString::fromUtf8(heading));
    for (int i = 0; i < s.C.Count; ++i) {
        const QString t = Q(text(s, i));
        if (t.isEmpty()) continue;
        const QRect cell(l.BarsLeft + i * l.Unit, top, std::min(span, s.C.Count - i) * l.Unit, height);
        if (span == 1 && i > 0) {
            s.P.setPen(RowEdge);
            s.P.drawLine(cell.topLeft(), cell.bottomLeft());
        }
        s.P.setPen(Ink);
        CellText(s.P, cell, t, lines, l.LineHeight);
    }
    top += height;
}

void DrawRows(const Sheet& s) {
    int top = s.L.RowsTop;
    s.P.setFont(MakeChartFont(0, s.L.RowFontSize, 400));
    DrawRow(s, top, s.L.FeelingLines, "感受", [](const Sheet& t, int i) { return FeelingRowText(t.C, t.Rec, i); });
    DrawRow(s, top, s.L.PillarLines, "干支", [](const Sheet& t, int i) { return PillarRowText(t.C, i); });
    if (HasLunarRow(s.C)) DrawRow(s, top, 1, "農曆", [](const Sheet& t, int i) { return LunarRowText(t.C, i); });
    const std::string bottom = BottomRowHeading(s.C);
    DrawRow(s, top, 1, bottom.c_str(), [](const Sheet& t, int i) { return AgeRowText(t.C, i); },
            s.C.Lifetime ? 10 : 1);
}

}  // namespace

QColor LevelColor(int level) { return level >= 0 && level < LevelCount ? QColor(LevelColors[level]) : CurveBackground; }

void PaintFortuneCurve(QPainter& painter, const FortuneCurve& curve, const ChartRecord& rec,
                       const CurveLayout& layout, const QRect& area) {
    painter.save();
    painter.fillRect(area, CurveBackground);
    painter.translate(area.topLeft());
    const Sheet sheet{painter, curve, rec, layout};
    DrawTitle(sheet, layout.Width);
    painter.setFont(MakeChartFont(0, layout.RowFontSize, 400));
    DrawLines(sheet);
    painter.setFont(MakeChartFont(0, layout.ValueFontSize, 400));
    DrawBars(sheet);
    DrawRows(sheet);
    painter.restore();
}

void PaintCurveTitle(QPainter& painter, const FortuneCurve& curve, const ChartRecord& rec, const CurveLayout& layout,
                     int width) {
    painter.save();
    DrawTitle(Sheet{painter, curve, rec, layout}, width);
    painter.restore();
}

QImage CurvePicture(const FortuneCurve& curve, const ChartRecord& rec, const CurveLayout& layout) {
    QImage picture(layout.Width, layout.Depth + 2 * layout.RowUnit, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintFortuneCurve(painter, curve, rec, layout, picture.rect());
    return picture;
}

}  // namespace qv::ui
