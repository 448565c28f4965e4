#include "potential_paint.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "client_line.h"
#include "paint_helpers.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

const QColor Background(250, 250, 200);
const QColor PanelFill(230, 230, 230);
const QColor NatalFill(200, 200, 255), CompareFill(255, 200, 200);
const QColor Grey(128, 128, 128), LightGrey(192, 192, 192);
const QColor NatalGuide(180, 180, 255), CompareGuide(255, 180, 180);
constexpr int SwatchWidth = 30, SwatchHeight = 16, SwatchGap = 4, ValueBox = 16;
constexpr int ShadedRows = 15;  // a bar's thickness with twelve abilities a page

QString Word(int id) { return Utf8(StringText(id)); }

// A rectangle by its edges, right and bottom outside it.
QRect Box(int left, int top, int right, int bottom) { return QRect(left, top, right - left, bottom - top); }

void Write(QPainter& p, const QRect& r, const QString& text, int align = Qt::AlignCenter) {
    p.setPen(Qt::black);
    p.drawText(r, align | Qt::TextSingleLine | Qt::TextDontClip, text);
}

void FilledText(QPainter& p, const QRect& r, const QColor& fill, const QString& text) {
    p.fillRect(r, fill);
    Write(p, r, text);
}

void Line(QPainter& p, const QColor& colour, QPoint from, QPoint to) {
    p.setPen(QPen(colour, 0));
    p.drawLine(from, to);
}

// The abilities of the page: a band or page of n from the scroll position on.
struct Page {
    int First = 0, Count = 0;
};
Page PageOf(const PotentialPicture& pic) {
    const int total = static_cast<int>(pic.Names.size());
    if (pic.Style == 7) return Page{0, total};
    const int first = std::min(total, pic.ScrollPos * pic.Layout.PerPage);
    return Page{first, std::min(pic.Layout.PerPage, total - first)};
}

// The swatches right of a 360-high panel (styles 1-4).
void SideLegend(QPainter& p, int panelRight, bool comparing) {
    const int left = panelRight + 2 * SwatchGap;
    const int mid = PotentialPanelHeight / 2;
    if (!comparing) {
        const int top = (PotentialPanelHeight - SwatchHeight) / 2;
        FilledText(p, Box(left, top, left + SwatchWidth, top + SwatchHeight), NatalFill, Word(PotentialNatalWord));
        return;
    }
    FilledText(p, Box(left, mid - 30 - SwatchHeight, left + SwatchWidth, mid - 30), NatalFill, Word(PotentialNatalWord));
    FilledText(p, Box(left, mid + 30, left + SwatchWidth, mid + 30 + SwatchHeight), CompareFill, Word(PotentialCompareWord));
}

// A cylinder-shaded bar: pairs of rows from the outer edges inward, each pair
// `step` lighter in the growing channels (R/G/B flags), capped at 255.
struct Shade {
    QColor Start;
    bool R, G, B;
    int Step;
};
void CylinderBar(QPainter& p, int left, int right, int top, int thickness, const Shade& s) {
    if (right <= left) return;
    // Solid underneath: a scaled painting leaves no seams between the rows, an odd thickness no hollow middle.
    p.fillRect(Box(left, top, right, top + thickness), s.Start);
    // The shading spreads over a thick bar as over a bar of a full page of 12, so
    // a bar of few abilities keeps its colour instead of turning white inside.
    const int rows = std::max(ShadedRows, thickness);
    for (int q = 0; q < thickness / 2; ++q) {
        auto grow = [&](int base, bool grows) { return grows ? std::min(255, base + q * s.Step * ShadedRows / rows) : base; };
        const QColor c(grow(s.Start.red(), s.R), grow(s.Start.green(), s.G), grow(s.Start.blue(), s.B));
        p.fillRect(Box(left, top + q, right, top + q + 1), c);
        p.fillRect(Box(left, top + thickness - 1 - q, right, top + thickness - q), c);
    }
}

// The rows of styles 1-4: each ability's part of the row (natal, then comparison).
struct RowParts {
    int Height = 0;                 // R
    int Thickness = 0;              // T
    int Top(int row, bool compare) const { return row * Height + Offset + (compare ? Thickness : 0); }
    int Offset = 0;
};
RowParts RowPartsOf(int perPage, bool comparing) {
    RowParts r;
    r.Height = PotentialPanelHeight / std::max(1, perPage);
    if (comparing) {
        r.Thickness = (r.Height >> 1) - 4;
        r.Offset = 4;
    } else {
        r.Thickness = (r.Height + 1) / 2;
        r.Offset = (r.Height >> 1) - (r.Thickness >> 1);
    }
    return r;
}

// Panel, legend and names of styles 1-4.
void RowsFrame(QPainter& p, const PotentialPicture& pic, const Page& page, const RowParts& rows) {
    const int right = PotentialPanelLeft + PotentialPanelWidth(pic.Style);
    p.fillRect(Box(PotentialPanelLeft, 0, right, PotentialPanelHeight), PanelFill);
    SideLegend(p, right, pic.Comparing());
    for (int i = 0; i < page.Count; ++i)
        Write(p, Box(0, i * rows.Height, 120, (i + 1) * rows.Height), pic.Names[page.First + i],
              Qt::AlignRight | Qt::AlignVCenter);
}

// Both bars of a row: natal, then comparison.
template <typename Draw>
void EachBar(const PotentialPicture& pic, const Page& page, Draw draw) {
    for (int i = 0; i < page.Count; ++i) {
        draw(i, pic.Natal[page.First + i], false);
        if (pic.Comparing()) draw(i, pic.Compare[page.First + i], true);
    }
}

void ScoreFonts(QPainter& p, const PotentialPicture& pic) { p.setFont(pic.Comparing() ? pic.Small : pic.Label); }

}  // namespace

int PotentialPanelWidth(int style) { return style >= 5 ? 360 : 220; }

PotentialLayout LayoutPotentialWindow(QSize screen, const FrameMetrics& fm, int items, int style, bool relayout) {
    const QSize clamped = ScreenMetrics(screen);
    const int W = clamped.width(), H = clamped.height();
    PotentialLayout l;
    l.Base = W / 30;
    const int f = fm.ScrollBar + 2 * fm.Frame;
    const int c = W - W / 30 - f;
    if (items < (relayout ? 11 : 13)) {
        l.PerPage = items;
    } else {
        l.PerPage = 12;
        l.ScrollMax = (items + 11) / 12 - 1;
        l.ScrollBar = style != 7;
    }
    l.Column = (c - l.Base) / (2 * l.PerPage + 1);
    const int band = 2 * l.PerPage * l.Column;
    l.Margin = band / 30;
    l.Area = band + 2 * l.Margin;
    const int bottom = H - fm.Caption - fm.Frame - fm.ScrollBar;
    if (style == 0) {
        const int top = bottom - BandAreaHeight - fm.Caption - fm.Frame;
        const int left = (W - f - l.Area) >> 1;
        l.Frame = Box(left, top, left + f + l.Area, bottom);
    } else {
        const int top = bottom - (fm.Frame + fm.Caption + PotentialPanelHeight);
        const int right = W - fm.Frame;
        const int left = right - c - f - (style <= 4 ? fm.ScrollBar : 0);
        l.Frame = Box(left, top, right, bottom);
    }
    return l;
}

QRect PotentialClientRect(const PotentialLayout& l, const FrameMetrics& fm) {
    return l.Frame.adjusted(fm.Frame, fm.Caption + fm.Frame, -fm.Frame, -fm.Frame);
}

QSize PotentialDrawingSize(const PotentialLayout& l, const FrameMetrics& fm) {
    const QSize client = PotentialClientRect(l, fm).size();
    return QSize(client.width() - (l.ScrollBar ? fm.ScrollBar : 0), client.height());
}

QString PotentialCaption(const PotentialTable& table, int category) {
    QString name;
    if (table.TableReady && category >= 0 && category < table.CategoryCount)
        name = Utf8(PotentialNameText(table.Categories[category].Name));
    // A category without a name (or none at all) leaves no dangling dash.
    return name.isEmpty() ? Word(PotentialCaptionWord) : Word(PotentialCaptionWord) + QLatin1Char('-') + name;
}

PotentialPicture MakePotentialPicture(const PotentialTable& table, const ChartRecord& rec, int category, int style,
                                      const PotentialLayout& layout) {
    PotentialPicture pic;
    pic.Style = std::clamp(style, 0, PotentialStyleCount - 1);
    pic.Layout = layout;
    pic.Small = MakeChartFont(8, layout.Base, 400);
    pic.Label = MakeChartFont(10, layout.Base, 400);
    const LocalDateTime& today = rec.Now;
    pic.Heading = PotentialCaption(table, category) + QStringLiteral("　") + QString::fromStdString(ClientLine(rec)) +
                  QStringLiteral("　製表：") +
                  QString::fromStdString(DisplayedYearText(today.Year, rec.YearDisplay) + std::to_string(today.Month) + "月" +
                                         std::to_string(today.Day) + "日");
    if (!table.TableReady || category < 0 || category >= table.CategoryCount) return pic;
    const PotentialCategory& cat = table.Categories[category];
    pic.CategoryDefined = true;
    const bool comparing = rec.ChartKind != 0;
    for (int i = 0; i < cat.ItemCount; ++i) {
        const int at = cat.FirstItem + i;
        if (at < 0 || at >= MaxPotentialItems) break;
        pic.Names << Utf8(PotentialNameText(table.Items[at].Name));
        pic.Natal.push_back(rec.PotentialIndex[NatalPotentials][at]);
        if (comparing) pic.Compare.push_back(rec.PotentialIndex[FlowPotentials][at]);
    }
    return pic;
}

QSize PotentialSourceSize(const PotentialPicture& pic) {
    // The band area is wider than any panel: style 0 prints all of it.
    if (pic.Style == 0) return QSize(pic.Layout.Area, BandAreaHeight);
    return QSize(PotentialPanelWidth(pic.Style) + 2 * SwatchGap + PotentialPanelLeft + SwatchWidth, PotentialPanelHeight);
}

void PaintPotentialPage(QPainter& painter, QSizeF page, const PotentialPicture& pic) {
    const QSize source = PotentialSourceSize(pic);
    const double heading = page.height() / 24;
    PaintClientLine(painter, QRectF(0, 0, page.width(), heading), pic.Heading);
    const double f = std::min(page.width() / source.width(), (page.height() - 1.5 * heading) / source.height());
    painter.save();
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(0, 1.5 * heading);
    painter.scale(f, f);
    DrawPotentialWindow(painter, pic, source);
    painter.restore();
}

void DrawPotentialWindow(QPainter& painter, const PotentialPicture& pic, QSize client) {
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), client), Background);
    painter.setBackgroundMode(Qt::TransparentMode);
    if (pic.Names.isEmpty()) {
        // The note wraps within the window, however narrow the style left it.
        painter.setFont(pic.Label);
        painter.setPen(Qt::black);
        const int margin = client.width() / 20;
        painter.drawText(QRect(QPoint(0, 0), client).adjusted(margin, margin, -margin, -margin),
                         Qt::AlignCenter | Qt::TextWordWrap,
                         pic.CategoryDefined ? QStringLiteral("此分類尚無潛能項目：請用「視窗 > 潛能 > 設定潛能參數...」設定")
                                             : QStringLiteral("尚未定義潛能分類：請用「視窗 > 潛能 > 設定潛能參數...」定義"));
    } else {
        switch (pic.Style) {
            case 0: DrawBarBands(painter, pic); break;
            case 1: DrawHorizontalBars(painter, pic); break;
            case 2: DrawMiddleBars(painter, pic); break;
            case 3:
            case 4: DrawProfileLines(painter, pic); break;
            case 5:
            case 6: DrawColumnProfile(painter, pic); break;
            default: DrawRadialChart(painter, pic); break;
        }
    }
    painter.restore();
}

void GradientBar(QPainter& p, const QRect& bar, int kind) {
    struct Colours {
        QColor Solid, Top;
        double R, G, B, dR, dG;  // dR, dG per row, times half
    };
    static const Colours kinds[] = {
        {QColor(0, 0, 255), QColor(200, 150, 255), 0, 0, 255, 200, 150},
        {QColor(255, 0, 0), QColor(255, 200, 0), 255, 0, 0, 0, 200},
        {QColor(100, 100, 255), QColor(220, 180, 255), 100, 100, 255, 120, 80},
    };
    const Colours& k = kinds[std::clamp(kind, 0, 2)];
    const int h = bar.height();
    if (h <= 0) return;
    const int half = h >> 1;
    double r = k.R, g = k.G;
    const int bottom = bar.top() + h;
    for (int row = 0; row < h; ++row) {
        const QRect line(bar.left(), bottom - 1 - row, bar.width(), 1);
        if (row == h - 1) {
            p.fillRect(line, k.Top);
        } else if (row < half) {
            p.fillRect(line, k.Solid);
        } else {
            r += k.dR / half;
            g += k.dG / half;
            auto channel = [](double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); };
            p.fillRect(line, QColor(channel(r), channel(g), static_cast<int>(k.B)));
        }
    }
}

void DrawBarBands(QPainter& p, const PotentialPicture& pic) {
    p.setFont(pic.Small);
    const PotentialLayout& l = pic.Layout;
    const int total = static_cast<int>(pic.Names.size());
    const int n = std::max(1, l.PerPage), k = l.Column;
    const int bands = total == l.PerPage ? 1 : (total + n - 1) / n - pic.ScrollPos;
    for (int b = 0; b < bands; ++b) {
        const int top = 10 + 140 * b, bottom = top + 120;
        p.fillRect(Box(l.Margin, top, l.Area - l.Margin, bottom), PanelFill);
        const int first = (pic.ScrollPos + b) * n;
        for (int j = 0; j < n && first + j < total; ++j) {
            const int x0 = l.Margin + 2 * k * j, slot = x0 + k / 2;
            Write(p, Box(x0, bottom, x0 + 2 * k, bottom + 20), pic.Names[first + j]);
            auto bar = [&](int left, int right, int score, int kind) {
                GradientBar(p, Box(left, bottom - score, right, bottom), kind);
                const int barTop = bottom - std::max(0, score);
                Write(p, Box(left, barTop - 21, right, barTop - 1), QString::number(score));
            };
            if (!pic.Comparing()) {
                bar(slot, slot + k, pic.Natal[first + j], 0);
            } else {
                const int split = slot + (k - k / 2);
                bar(slot, split, pic.Natal[first + j], 0);
                bar(split, slot + k, pic.Compare[first + j], 1);
            }
        }
    }
}

void DrawHorizontalBars(QPainter& p, const PotentialPicture& pic) {
    p.setFont(pic.Label);
    const Page page = PageOf(pic);
    const RowParts rows = RowPartsOf(pic.Layout.PerPage, pic.Comparing());
    RowsFrame(p, pic, page, rows);
    const int step = pic.Comparing() ? 51 : 30;
    ScoreFonts(p, pic);
    EachBar(pic, page, [&](int i, int score, bool compare) {
        const int top = rows.Top(i, compare), T = rows.Thickness;
        const int end = PotentialPanelLeft + std::clamp(2 * score, 0, 200);
        const Shade shade = compare ? Shade{QColor(255, 0, 0), false, true, true, step}
                                    : Shade{QColor(0, 0, 255), true, true, false, step};
        CylinderBar(p, PotentialPanelLeft, end, top, T, shade);
        Write(p, Box(end, top, end + 20, top + T), QString::number(score));
        FilledText(p, Box(124, top, 140, top + T), compare ? CompareFill : NatalFill, QString::number(score));
    });
}

void DrawMiddleBars(QPainter& p, const PotentialPicture& pic) {
    p.setFont(pic.Label);
    const Page page = PageOf(pic);
    const RowParts rows = RowPartsOf(pic.Layout.PerPage, pic.Comparing());
    RowsFrame(p, pic, page, rows);
    const int centre = PotentialPanelLeft + PotentialPanelWidth(pic.Style) / 2;
    p.fillRect(Box(centre, 0, centre + 1, PotentialPanelHeight), Grey);
    const int step = pic.Comparing() ? 51 : 30, lowStep = pic.Comparing() ? 25 : 15;
    ScoreFonts(p, pic);
    EachBar(pic, page, [&](int i, int v, bool compare) {
        const int top = rows.Top(i, compare), T = rows.Thickness;
        const QString text = QString::number(v);
        if (v >= 50) {
            const int right = centre + 1 + std::max(1, 2 * (v - 50));
            const Shade shade = compare ? Shade{QColor(255, 0, 0), false, true, true, step}
                                        : Shade{QColor(0, 0, 255), true, true, false, step};
            CylinderBar(p, centre + 1, right, top, T, shade);
            Write(p, Box(right, top, right + 20, top + T), text);
        } else {
            const int left = centre - (100 - 2 * v);
            const Shade shade = compare ? Shade{QColor(255, 100, 150), false, true, true, lowStep}
                                        : Shade{QColor(100, 150, 255), true, true, false, lowStep};
            CylinderBar(p, left, centre, top, T, shade);
            Write(p, Box(left - 20, top, left, top + T), text);
        }
        FilledText(p, Box(124, top, 140, top + T), compare ? CompareFill : NatalFill, text);
    });
}

void DrawProfileLines(QPainter& p, const PotentialPicture& pic) {
    p.setFont(pic.Label);
    const Page page = PageOf(pic);
    const RowParts rows = RowPartsOf(pic.Layout.PerPage, pic.Comparing());
    RowsFrame(p, pic, page, rows);
    const int width = PotentialPanelWidth(pic.Style), step = width / 10;
    for (int j = 0; j <= 10; ++j)
        Line(p, Grey, QPoint(PotentialPanelLeft + step * j, 0), QPoint(PotentialPanelLeft + step * j, PotentialPanelHeight));
    const int T = rows.Thickness;
    if (pic.Style == 4) {
        for (int i = 0; i < page.Count; ++i) {
            for (bool compare : {false, true}) {
                if (compare && !pic.Comparing()) continue;
                const int y = rows.Top(i, compare) + T / 2;
                Line(p, compare ? CompareGuide : NatalGuide, QPoint(PotentialPanelLeft, y),
                     QPoint(PotentialPanelLeft + width, y));
            }
        }
    }
    ScoreFonts(p, pic);
    QPoint previous[2];
    EachBar(pic, page, [&](int i, int score, bool compare) {
        const int top = rows.Top(i, compare);
        const int x = PotentialPanelLeft + score * width / 100;
        const QColor fill = compare ? CompareFill : NatalFill;
        const QString text = QString::number(score);
        FilledText(p, Box(x, top, x + (compare ? 20 : ValueBox), top + T), fill, text);
        const QPoint joint(x, top + T / 2);
        if (i > 0) Line(p, compare ? QColor(255, 0, 0) : QColor(0, 0, 255), previous[compare], joint);
        previous[compare] = joint;
        FilledText(p, Box(124, top, 140, top + T), fill, text);
    });
}

void DrawColumnProfile(QPainter& p, const PotentialPicture& pic) {
    p.setFont(pic.Label);
    const Page page = PageOf(pic);
    const int m = pic.Layout.Margin;
    const int left = m + 16, right = PotentialPanelLeft + PotentialPanelWidth(pic.Style) - 30 + 16;
    constexpr int PlotTop = 4, PlotBottom = PotentialPanelHeight - PotentialPanelLeft;  // 210
    p.fillRect(Box(left, PlotTop, right, PlotBottom), PanelFill);
    const int w = (480 - m) / std::max(1, pic.Layout.PerPage);
    const bool comparing = pic.Comparing();
    const int b = comparing ? (w >> 1) - 4 : w >> 1;
    auto boxLeft = [&](int j, bool compare) {
        const int start = left + j * w;
        return comparing ? start + 4 + (compare ? b : 0) : start + (w >> 2);
    };
    const int gridStep = (PlotBottom - PlotTop) / 10;
    for (int y = PlotBottom, i = 0; i <= 10; ++i, y -= gridStep) Line(p, Grey, QPoint(left, y), QPoint(right, y));
    Line(p, Grey, QPoint(left, PlotBottom), QPoint(left, PlotTop));
    if (pic.Style == 6) {
        for (int j = 0; j < page.Count; ++j) {
            for (bool compare : {false, true}) {
                if (compare && !comparing) continue;
                const int x = boxLeft(j, compare) + b / 2;
                Line(p, compare ? CompareGuide : NatalGuide, QPoint(x, PlotTop), QPoint(x, PlotBottom));
            }
        }
    }
    const int legendLeft = m / 2;
    auto legend = [&](int top, int bottom, const QColor& fill, int word) {
        const QRect r = Box(legendLeft, top, legendLeft + 17, bottom);
        p.fillRect(r, fill);
        p.setPen(Qt::black);
        DrawVerticalText(p, Word(word), r, 15);
    };
    if (comparing) {
        legend(60, 90, NatalFill, PotentialNatalWord);
        legend(120, 150, CompareFill, PotentialCompareWord);
    } else {
        legend(90, 120, NatalFill, PotentialNatalWord);
    }
    for (int j = 0; j < page.Count; ++j) {
        p.setPen(Qt::black);
        DrawVerticalText(p, pic.Names[page.First + j], Box(left + j * w, 240, left + (j + 1) * w, PotentialPanelHeight), 15);
    }
    ScoreFonts(p, pic);
    QPoint previous[2];
    EachBar(pic, page, [&](int j, int score, bool compare) {
        const int x = boxLeft(j, compare);
        const QColor fill = compare ? CompareFill : NatalFill;
        const QString text = QString::number(score);
        FilledText(p, Box(x, 214, x + b, 230), fill, text);
        const int bottom = PlotBottom - std::clamp(score, 0, 100) * (PlotBottom - PlotTop) / 100;
        // A top score's box stays inside the picture, below its upper edge.
        const int boxTop = std::max(0, bottom - ValueBox);
        FilledText(p, Box(x, boxTop, x + b, boxTop + ValueBox), fill, text);
        const QPoint joint(x + b / 2, bottom);
        if (j > 0) Line(p, compare ? QColor(255, 0, 0) : QColor(0, 0, 255), previous[compare], joint);
        previous[compare] = joint;
    });
}

QPoint RadialPoint(int i, int count, double r) {
    const double theta = i * 6.28318 / std::max(1, count);
    return QPoint(static_cast<int>(std::lround(RadialCentre.x() + r * std::sin(theta))),
                  static_cast<int>(std::lround(RadialCentre.y() - r * std::cos(theta))));
}

void DrawRadialChart(QPainter& p, const PotentialPicture& pic) {
    p.setFont(pic.Small);
    const int N = static_cast<int>(pic.Names.size());
    const int R = RadialRadius, cx = RadialCentre.x();
    p.fillRect(Box(PotentialPanelLeft, 0, PotentialPanelLeft + 360, PotentialPanelHeight), PanelFill);
    if (pic.Comparing()) {
        FilledText(p, Box(cx - 38, 4, cx - 8, 20), NatalFill, Word(PotentialNatalWord));
        FilledText(p, Box(cx + 8, 4, cx + 38, 20), CompareFill, Word(PotentialCompareWord));
    } else {
        FilledText(p, Box(cx - 15, 4, cx + 15, 20), NatalFill, Word(PotentialNatalWord));
    }
    p.setBrush(Qt::white);
    for (int ring = 5; ring >= 1; --ring) {
        const int r = static_cast<int>(std::lround(R * ring / 5.0));
        p.setPen(QPen(ring == 5 ? Grey : LightGrey, 0));
        p.drawEllipse(RadialCentre, r, r);
    }
    p.setBrush(Qt::NoBrush);
    auto pointOf = [&](int i, int score) { return RadialPoint(i, N, R * score / 100.0); };
    for (int i = 0; i < N; ++i) {
        Line(p, Grey, RadialCentre, RadialPoint(i, N, R));
        if (pic.Comparing()) Line(p, Grey, RadialCentre, pointOf(i, pic.Compare[i]));
        const QPoint label = RadialPoint(i, N, R + 5);
        FilledText(p, Box(label.x() - 8, label.y() - 7, label.x() + 8, label.y() + 5), LightGrey, QString::number(i + 1));
    }
    auto outline = [&](const std::vector<int>& scores, const QColor& pen, const QColor& mark) {
        for (int i = 0; i < N; ++i) Line(p, pen, pointOf(i, scores[i]), pointOf((i + 1) % N, scores[(i + 1) % N]));
        for (int i = 0; i < N; ++i) {
            const QPoint at = pointOf(i, scores[i]);
            p.fillRect(Box(at.x() - 2, at.y() - 2, at.x() + 3, at.y() + 3), mark);
        }
    };
    outline(pic.Natal, QColor(0, 0, 255), NatalFill);
    if (pic.Comparing()) outline(pic.Compare, QColor(255, 0, 0), CompareFill);
    const int h = std::min(PotentialPanelHeight / std::max(1, N), 16);
    for (int i = 0; i < N; ++i) {
        const int mid = i * h + h / 2;
        FilledText(p, Box(3, mid - 6, 19, mid + 6), LightGrey, QString::number(i + 1));
        Write(p, Box(22, mid - 6, 100, mid + 6), pic.Names[i], Qt::AlignLeft | Qt::AlignVCenter);
        FilledText(p, Box(100, mid - 6, 116, mid + 6), NatalFill, QString::number(pic.Natal[i]));
        if (pic.Comparing()) FilledText(p, Box(119, mid - 6, 135, mid + 6), CompareFill, QString::number(pic.Compare[i]));
    }
}

}  // namespace qv::ui
