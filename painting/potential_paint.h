#pragma once
// The potential-analysis picture: the window's layout on the logical screen
// and the eight drawing styles, each over any QPainter so the window, its
// printout and the command line draw the same pixels.
#include <QFont>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <vector>

#include "engine/chart/chart_record.h"
#include "engine/fortune/potential.h"

class QPainter;

namespace qv::ui {

inline constexpr int PotentialStyleCount = 8;
inline constexpr int PotentialPanelLeft = 150;
inline constexpr int PotentialPanelHeight = 360;
inline constexpr int BandAreaHeight = 155;  // client height of the style-0 window

// Panel width of a style: 220 for styles 1-4, 360 for 5-7.
int PotentialPanelWidth(int style);

// The frame parts of a tool window the layout leaves room for.
struct FrameMetrics {
    int ScrollBar = 16;  // width of a vertical scroll bar
    int Frame = 3;       // one dialog frame edge
    int Caption = 20;    // caption height
};

struct PotentialLayout {
    int Base = 0;       // s: a thirtieth of the screen width, the fonts' base size
    int Column = 0;     // k
    int PerPage = 0;    // n: items per band or page
    int Margin = 0;     // m
    int Area = 0;       // A: the band area's width
    int ScrollMax = 0;  // the scroll range is 0 … ScrollMax
    bool ScrollBar = false;
    QRect Frame;        // the window with its frame, in screen coordinates
};

// Lays the window out for a category of `items` abilities. A re-layout (after
// a category or style change) asks for a scroll bar from 11 items on, so a
// category of 11 or 12 shows one with a single position.
PotentialLayout LayoutPotentialWindow(QSize screen, const FrameMetrics& frame, int items, int style, bool relayout);
// The window's client (its frame less the edges and the caption), in screen
// coordinates, and the part of it a paint draws on (less the scroll bar).
QRect PotentialClientRect(const PotentialLayout& layout, const FrameMetrics& frame);
QSize PotentialDrawingSize(const PotentialLayout& layout, const FrameMetrics& frame);

// What one paint draws: a category's abilities with their scores.
struct PotentialPicture {
    int Style = 1;
    QStringList Names;         // every ability of the category (未命名 for an empty name)
    std::vector<int> Natal;    // one score per name
    std::vector<int> Compare;  // empty, or one score per name while a period is shown
    PotentialLayout Layout;
    int ScrollPos = 0;         // skips ScrollPos × PerPage abilities (never in style 7)
    QFont Small, Label;
    bool CategoryDefined = false;  // the table holds the category (its abilities may be none)
    QString Heading;               // the printed page's: category, person and birth, today's date
    bool Comparing() const { return !Compare.empty(); }
};

// The picture of category `category` as the window shows it: natal scores and,
// for chart kinds other than 0, the selected period's scores beside them.
PotentialPicture MakePotentialPicture(const PotentialTable& table, const ChartRecord& rec, int category, int style,
                                      const PotentialLayout& layout);
// "潛能分析表-" + the category name; "潛能分析表" alone for a category without one.
QString PotentialCaption(const PotentialTable& table, int category);

// The window's client: the background, then the style (a text line instead
// when the table holds no category or the category no ability, naming the
// menu entry that defines them).
void DrawPotentialWindow(QPainter& painter, const PotentialPicture& picture, QSize client);
// The size a style draws (what the printout scales onto the page).
QSize PotentialSourceSize(const PotentialPicture& picture);
// The printed page: the heading line across its top, then that part of the
// window scaled to the page's width or the depth left, whichever is reached first.
void PaintPotentialPage(QPainter& painter, QSizeF page, const PotentialPicture& picture);

// One style's drawing, on the scores of the page.
void DrawBarBands(QPainter& painter, const PotentialPicture& picture);         // style 0
void DrawHorizontalBars(QPainter& painter, const PotentialPicture& picture);   // style 1
void DrawMiddleBars(QPainter& painter, const PotentialPicture& picture);       // style 2
void DrawProfileLines(QPainter& painter, const PotentialPicture& picture);     // styles 3, 4
void DrawColumnProfile(QPainter& painter, const PotentialPicture& picture);    // styles 5, 6
void DrawRadialChart(QPainter& painter, const PotentialPicture& picture);      // style 7

// A bar filled row by row from the bottom: kind 0 blue, 1 red, 2 pale blue.
void GradientBar(QPainter& painter, const QRect& bar, int kind);

// The point of ability i of `count` at radius r around the radial chart's centre.
QPoint RadialPoint(int i, int count, double r);
inline constexpr int RadialRadius = 148;
inline constexpr QPoint RadialCentre{314, 188};

}  // namespace qv::ui
