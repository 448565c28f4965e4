// The potential window's picture: its layout on the clamped screen and the
// pixels each style puts where a hand-worked reading of its rules expects them.
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

#include "offscreen_app.h"
#include "paint_helpers.h"
#include "potential_paint.h"

namespace qv::test {
namespace {

using namespace qv::ui;

const FrameMetrics Frame{16, 3, 20};
const QColor Blue(0, 0, 255), Red(255, 0, 0), Panel(230, 230, 230), Back(250, 250, 200);

PotentialPicture Picture(int style, std::vector<int> natal, std::vector<int> compare = {}, bool relayout = false) {
    QtApp();  // the fonts need the application
    PotentialPicture pic;
    pic.Style = style;
    for (size_t i = 0; i < natal.size(); ++i) pic.Names << QStringLiteral("能力%1").arg(i + 1);
    pic.Natal = std::move(natal);
    pic.Compare = std::move(compare);
    pic.Layout = LayoutPotentialWindow(QSize(1280, 1024), Frame, pic.Names.size(), style, relayout);
    pic.Small = MakeChartFont(8, pic.Layout.Base, 400);
    pic.Label = MakeChartFont(10, pic.Layout.Base, 400);
    return pic;
}

QImage Draw(const PotentialPicture& pic, QSize size = QSize(560, 360)) {
    QtApp();
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    DrawPotentialWindow(painter, pic, size);
    painter.end();
    // QUORVANE_PICTURES=DIR keeps each picture to look at.
    if (const char* dir = std::getenv("QUORVANE_PICTURES")) {
        static int n = 0;
        image.save(QStringLiteral("%1/potential_%2_style%3.png").arg(dir).arg(++n).arg(pic.Style));
    }
    return image;
}

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

TEST(PotentialWindowLayout, ScrollBarFromThirteenItemsAndFromElevenOnARelayout) {
    // W = 1024 after clamping: s = 34, f = 16 + 6, c = 1024 - 34 - 22 = 968.
    const PotentialLayout twelve = LayoutPotentialWindow(QSize(1280, 1024), Frame, 12, 1, false);
    EXPECT_FALSE(twelve.ScrollBar);
    EXPECT_EQ(twelve.PerPage, 12);
    EXPECT_EQ(twelve.Base, 34);
    EXPECT_EQ(twelve.Column, (968 - 34) / 25);
    EXPECT_EQ(twelve.Margin, 2 * 12 * twelve.Column / 30);
    const PotentialLayout thirteen = LayoutPotentialWindow(QSize(1024, 768), Frame, 13, 1, false);
    EXPECT_TRUE(thirteen.ScrollBar);
    EXPECT_EQ(thirteen.PerPage, 12);
    EXPECT_EQ(thirteen.ScrollMax, 1);
    const PotentialLayout again = LayoutPotentialWindow(QSize(1024, 768), Frame, 11, 1, true);
    EXPECT_TRUE(again.ScrollBar);
    EXPECT_EQ(again.ScrollMax, 0);
    EXPECT_FALSE(LayoutPotentialWindow(QSize(1024, 768), Frame, 30, 7, false).ScrollBar);
    // Shapes: bottom = 768 - 20 - 3 - 16 = 729; styles 1-4 end at the screen's right less a frame.
    EXPECT_EQ(thirteen.Frame.bottom() + 1, 729);
    EXPECT_EQ(thirteen.Frame.top(), 729 - 383);
    EXPECT_EQ(thirteen.Frame.right() + 1, 1021);
    EXPECT_EQ(thirteen.Frame.left(), 1021 - 968 - 22 - 16);
    const PotentialLayout bands = LayoutPotentialWindow(QSize(1024, 768), Frame, 13, 0, false);
    EXPECT_EQ(bands.Frame.height(), 155 + 23);
    EXPECT_EQ(bands.Frame.width(), 22 + bands.Area);
}

TEST(GradientBar, LowerHalfSolidThenLighterRowsAndTheTopRowItsOwn) {
    QtApp();
    QImage image(10, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    GradientBar(p, QRect(0, 10, 5, 10), 0);  // h 10, half 5
    GradientBar(p, QRect(5, 19, 5, 1), 1);   // h 1: only the top row
    GradientBar(p, QRect(5, 0, 5, 0), 1);    // h 0: nothing
    p.end();
    for (int y = 15; y < 20; ++y) EXPECT_EQ(At(image, 2, y), Blue) << y;
    EXPECT_EQ(At(image, 2, 14), QColor(40, 30, 255));  // one step of 200/5, 150/5
    EXPECT_EQ(At(image, 2, 11), QColor(160, 120, 255));
    EXPECT_EQ(At(image, 2, 10), QColor(200, 150, 255));
    EXPECT_EQ(At(image, 7, 19), QColor(255, 200, 0));
    EXPECT_EQ(At(image, 7, 0), Qt::white);
}

TEST(PotentialStyles, BarBandsOneBarPerItemOrTwoWithComparison) {
    PotentialPicture pic = Picture(0, {60, 0, 30});
    const QImage one = Draw(pic, QSize(pic.Layout.Area, 155));
    const int k = pic.Layout.Column, m = pic.Layout.Margin, bottom = 130;
    EXPECT_EQ(At(one, m + k / 2 + 1, bottom - 1), Blue);
    EXPECT_EQ(At(one, m + k / 2 + 1, bottom - 60), QColor(200, 150, 255));
    EXPECT_EQ(At(one, m + k / 2 + 1, bottom - 61), Panel);
    // A score of 0: no bar, only its "0" above the band bottom.
    const int x1 = m + 2 * k + k / 2;
    for (int x = x1; x < x1 + k; ++x) EXPECT_NE(At(one, x, bottom - 1), Blue);
    int ink = 0;
    for (int y = bottom - 21; y < bottom - 1; ++y)
        for (int x = x1; x < x1 + k; ++x) ink += At(one, x, y) != Panel;
    EXPECT_GT(ink, 0);
    pic.Compare = {40, 70, 10};
    const QImage two = Draw(pic, QSize(pic.Layout.Area, 155));
    const int split = m + k / 2 + (k - k / 2);
    EXPECT_EQ(At(two, split - 1, bottom - 1), Blue);
    EXPECT_EQ(At(two, split, bottom - 1), Red);
    EXPECT_EQ(At(two, split, bottom - 40), QColor(255, 200, 0));
}

TEST(PotentialStyles, HorizontalBarsStopAtTwoHundredPixels) {
    const QImage image = Draw(Picture(1, {150, 50}));
    // Two rows of 180: T = 90, centred: top 45 - 45 = 0 ... the outer pair is pure blue.
    const int top = 90 - 45;
    EXPECT_EQ(At(image, 349, top), Blue);
    EXPECT_EQ(At(image, 351, top), Panel);
    EXPECT_EQ(At(image, 249, 180 + top), Blue);
    EXPECT_EQ(At(image, 251, 180 + top), Panel);
    // The shading spreads over the whole thickness (a sixth of a step a row): solid, never white inside.
    EXPECT_EQ(At(image, 349, top + 1), QColor(5, 5, 255));
    EXPECT_EQ(At(image, 349, top + 44), QColor(220, 220, 255));
    EXPECT_EQ(At(image, 390, 180), QColor(200, 200, 255));     // the single legend swatch
}

TEST(PotentialStyles, MiddleBarsOfFiftyAreOnePixelRightOfTheCentre) {
    const QImage image = Draw(Picture(2, {50, 20}));
    const int top = 45;
    EXPECT_EQ(At(image, 260, 5), QColor(128, 128, 128));
    EXPECT_EQ(At(image, 261, top), Blue);
    EXPECT_EQ(At(image, 262, top), Panel);
    // 20 lies left: from 260 - 60 to the centre, lighter blue.
    EXPECT_EQ(At(image, 200, 180 + top), QColor(100, 150, 255));
    EXPECT_EQ(At(image, 199, 180 + top), Panel);
}

TEST(PotentialStyles, ProfileBoxesSitAtTheirScoreWithAGuideInStyleFour) {
    const QImage image = Draw(Picture(4, {50, 100}));
    // Row 0: box at 150 + 110 = 260, 16 wide, rows 45-134; the guide through its middle.
    EXPECT_EQ(At(image, 261, 47), QColor(200, 200, 255));
    EXPECT_EQ(At(image, 200, 45 + 45), QColor(180, 180, 255));
    EXPECT_EQ(At(image, 150 + 22, 10), QColor(128, 128, 128));
}

TEST(PotentialStyles, ColumnProfileBoxBottomsFollowTheScore) {
    PotentialPicture pic = Picture(5, {100, 0});
    const QImage image = Draw(pic);
    const int m = pic.Layout.Margin, w = (480 - m) / 2, left = m + 16 + w / 4;
    // Score 100: the box's bottom at 210 - 206 = 4, so it lies above the plot.
    EXPECT_EQ(At(image, left + 1, 214 + 1), QColor(200, 200, 255));
    EXPECT_EQ(At(image, left + w + 1, 209), QColor(200, 200, 255));  // score 0: just above 210
    EXPECT_EQ(At(image, m + 16, 100), QColor(128, 128, 128));         // the left axis
}

TEST(PotentialStyles, RadialChartPutsItemOneUpAndItemTwoAtSeventyTwoDegrees) {
    EXPECT_EQ(RadialPoint(0, 5, 148), QPoint(314, 40));
    EXPECT_EQ(RadialPoint(1, 5, 148), QPoint(314 + int(std::lround(148 * std::sin(72 * M_PI / 180))),
                                             188 - int(std::lround(148 * std::cos(72 * M_PI / 180)))));
    const QImage image = Draw(Picture(7, {100, 50, 50, 50, 50}, {}, false));
    // A score of 100 reaches the outer circle: its mark sits on item 1's spoke end.
    EXPECT_EQ(At(image, 314, 40), QColor(200, 200, 255));
    EXPECT_EQ(At(image, 4, 3), QColor(192, 192, 192));  // number box of row 0
    PotentialPicture many = Picture(7, std::vector<int>(30, 40));
    EXPECT_FALSE(many.Layout.ScrollBar);
    const QImage all = Draw(many);
    EXPECT_EQ(At(all, 101, 29 * 12 + 1), QColor(200, 200, 255));  // row 30 of 12 pixels
}

TEST(PotentialStyles, NoAbilitiesDrawsOneLineOfText) {
    PotentialPicture pic = Picture(1, {});
    const QImage image = Draw(pic);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ink += At(image, x, y) != Back;
    EXPECT_GT(ink, 0);
    EXPECT_EQ(At(image, 260, 10), Back) << "no panel";
}

TEST(PotentialStyles, ACategoryWithoutAbilitiesIsToldApartFromNoCategory) {
    PotentialTable table{};
    ResetPotentialTable(table);
    AddPotentialCategory(table, 30, 0);
    const auto rec = std::make_unique<ChartRecord>();
    const PotentialLayout layout = Picture(1, {}).Layout;
    const PotentialPicture empty = MakePotentialPicture(table, *rec, 0, 1, layout);
    const PotentialPicture none = MakePotentialPicture(table, *rec, 1, 1, layout);
    EXPECT_TRUE(empty.CategoryDefined);
    EXPECT_FALSE(none.CategoryDefined);
    EXPECT_NE(Draw(empty), Draw(none)) << "two different lines";
    // In a narrow window the note wraps: its ink keeps off both edges.
    const QImage narrow = Draw(none, QSize(300, 360));
    int inkAtEdges = 0, ink = 0;
    for (int y = 0; y < narrow.height(); ++y)
        for (int x = 0; x < narrow.width(); ++x) {
            const bool inked = At(narrow, x, y) != At(narrow, 0, 0);
            ink += inked;
            inkAtEdges += inked && (x < 5 || x >= narrow.width() - 5);
        }
    EXPECT_GT(ink, 0);
    EXPECT_EQ(inkAtEdges, 0);
}

}  // namespace
}  // namespace qv::test
