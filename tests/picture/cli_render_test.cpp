// quorvane-cli's pictures: render, the chart view drawn into an image or a PDF;
// curve, a fortune curve of a known person with its printed page and banner;
// and the refusals of both.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <filesystem>
#include <fstream>

#include "json_tree.h"
#include "pdf_checks.h"
#include "run_program.h"

namespace qv {
namespace {

using test::With;

const std::vector<std::string> KnownRender = {"render", "--birth", "1990-02-04 09:05", "--sex", "m",
                                              "--name", "陳大文", "--today", "2026-12-07"};

class CliRender : public test::CliTest {
protected:
    // The known person rendered with more options into `name` in the data root: its path.
    std::string Render(const std::string& name, const std::vector<std::string>& more) {
        const std::string out = data_.Path() + "/" + name;
        const auto r = Cli(With(With(KnownRender, {"--out", out}), more));
        EXPECT_EQ(r.Status, 0) << r.Err;
        return out;
    }
    QImage Picture(const std::vector<std::string>& more) { return QImage(QString::fromStdString(Render("p.png", more))); }
    // Two abilities in one category, as potential-table import takes them.
    void DefinePotentials() {
        const std::string json = data_.Path() + "/potentials.json";
        std::ofstream(json, std::ios::binary)
            << "[\n{\"category\":1,\"name\":\"領導\",\"share\":30},\n"
               "{\"category\":1,\"item\":1,\"name\":\"決斷\",\"elements\":\"水 火\",\"tenGods\":\"比肩 正官\"},\n"
               "{\"category\":1,\"item\":2,\"name\":\"耐心\",\"elements\":\"土\",\"tenGods\":\"\"}\n]\n";
        const auto r = Cli({"potential-table", "import", json});
        ASSERT_EQ(r.Status, 0) << r.Err;
    }
};

// Dark pixels in a rectangle of the 1024 x 768 page, scaled to the image.
int Ink(const QImage& image, QRect page) {
    const double scale = image.width() / 1024.0;
    const QRect r(int(page.x() * scale), int(page.y() * scale), int(page.width() * scale), int(page.height() * scale));
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) ink += qGray(image.pixel(x, y)) < 128;
    return ink;
}

// The chart unit on the 1024 x 768 page is 20 pixels, its corner at (91, 2).
QRect Cells(double x0, double y0, double x1, double y1) {
    return QRect(91 + int(x0 * 20) + 2, 2 + int(y0 * 20) + 2, int((x1 - x0) * 20) - 4, int((y1 - y0) * 20) - 4);
}

TEST_F(CliRender, KnownPersonGivesAFullChartImage) {
    const QImage image = Picture({});
    ASSERT_EQ(image.size(), QSize(1024, 768));
    EXPECT_GT(Ink(image, Cells(26, 0, 34, 2)), 50);   // the name in the header
    EXPECT_GT(Ink(image, Cells(30, 4, 32, 14)), 100); // the lunar birth date
    for (int p = 0; p < 4; ++p) EXPECT_GT(Ink(image, Cells(8 + 4 * p, 4, 12 + 4 * p, 8)), 60) << "pillar " << p;
    for (int k = 0; k < 12; ++k) EXPECT_GT(Ink(image, Cells(2 * k, 23, 2 * k + 2, 27)), 40) << "period " << k;
    EXPECT_GT(Ink(image, QRect(8, 2, 75, 158)), 50);  // the chart-kind buttons
    EXPECT_GT(Ink(image, QRect(776, 2, 224, 663)), 2000);  // the 104-year table
    EXPECT_EQ(Ink(image, QRect(0, 720, 1024, 48)), 0);     // nothing below the chart
}

TEST_F(CliRender, SizeScalesTheWholePageAndAPdfIsAPage) {
    const QImage a = Picture({}), b = Picture({"--size", "2048"});
    ASSERT_EQ(b.size(), QSize(2048, 1536));
    // The same cells carry ink at both sizes.
    for (const QRect& cell : {Cells(26, 0, 34, 2), Cells(12, 4, 16, 6), Cells(0, 28.5, 24, 29.5)})
        EXPECT_EQ(Ink(a, cell) > 20, Ink(b, cell) > 20);
    EXPECT_EQ(test::ReadFileText(Render("chart.pdf", {})).substr(0, 5), "%PDF-");
}

// The selected period cell carries the selection shade RGB(255, 255, 200).
bool Selected(const QImage& image, int column) {
    const QRect cell = Cells(22 - 2 * column, 23, 24 - 2 * column, 27);
    return image.pixel(cell.left() + 1, cell.top() + 1) == qRgb(255, 255, 200);
}

TEST_F(CliRender, DrawsTheLuckPillarOrTheYearAsTheViewShowsIt) {
    const QImage l = Picture({"--luck", "4"}), y = Picture({"--year", "2026", "--kind", "2"}), n = Picture({});
    EXPECT_TRUE(Selected(l, 3));
    for (int c : {0, 1, 2, 4, 11}) EXPECT_FALSE(Selected(l, c)) << c;
    // Born in lunar 1990: 2026 is age 37, the third cell of a row from age 35.
    EXPECT_TRUE(Selected(y, 2));
    EXPECT_FALSE(Selected(y, 3));
    for (int c = 0; c < 12; ++c) EXPECT_FALSE(Selected(n, c)) << c;
    // The pressed button is the kind on show: its blue face.
    auto pressed = [](const QImage& image, int k) { return qBlue(image.pixel(12, 2 + 54 * k + 40)) > 150 && qRed(image.pixel(12, 2 + 54 * k + 40)) < 100; };
    EXPECT_TRUE(pressed(n, 0));
    EXPECT_TRUE(pressed(l, 1));
    EXPECT_FALSE(pressed(l, 0));
    EXPECT_TRUE(pressed(y, 2));
    // The side panels differ with the kind.
    EXPECT_NE(l.copy(776, 2, 224, 663), y.copy(776, 2, 224, 663));
    EXPECT_TRUE(Selected(Picture({"--kind", "2"}), 2)) << "--today 2026-12-07 is lunar 2026";
}

// The summary and health columns (0-8u across, 0-12u down) of a period chart
// show its own evaluation: each half of a luck pillar or a year differs from
// the natal chart and from the other half.
TEST_F(CliRender, HalfChoosesTheStemOrBranchEvaluationOfThePeriod) {
    auto readings = [&](const std::vector<std::string>& more) { return Picture(more).copy(Cells(0, 0, 8, 12)); };
    const QImage natal = readings({});
    for (const std::string period : {"--luck", "--year"}) {
        const std::string which = period == "--luck" ? "4" : "2026";
        const QImage stem = readings({period, which}), upper = readings({period, which, "--half", "stem"});
        const QImage branch = readings({period, which, "--half", "branch"});
        EXPECT_EQ(stem, upper) << period << ": the stem half unless told otherwise";
        EXPECT_NE(stem, natal) << period;
        EXPECT_NE(branch, natal) << period;
        EXPECT_NE(stem, branch) << period;
    }
    // The year chart says which half it reads: 2026 is 丙午.
    if (!test::PdfToolAvailable()) return;
    for (const auto& [half, line] : {std::pair{"stem", "上半年 丙"}, {"branch", "下半年 午"}})
        EXPECT_NE(test::PdfText(Render("half.pdf", {"--year", "2026", "--half", half})).find(line), std::string::npos) << half;
    // The year after the calendar's last has no months to list: the panel says why.
    const std::string last = test::PdfText(Render("last.pdf", {"--year", "2099"}));
    EXPECT_NE(last.find("萬年曆只到農曆2099年為止"), std::string::npos) << last;
}

TEST_F(CliRender, FlowYearsDrawTheSixtyYearStrip) {
    const QImage image = Picture({"--flow-years"});
    ASSERT_EQ(image.size(), QSize(750, 200));
    EXPECT_EQ(image.pixel(700 + 2, 2), qRgb(230, 230, 230)) << "cell 2";
    EXPECT_EQ(image.pixel(725 + 2, 2), qRgb(255, 255, 255)) << "cell 1";
    EXPECT_EQ(image.pixel(725 + 2, 102), qRgb(230, 230, 230)) << "cell 31";
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 2000) << "sixty cells of text";
    EXPECT_EQ(test::ReadFileText(Render("years.pdf", {"--flow-years"})).substr(0, 5), "%PDF-");
}

// The chart's and the potential window's options, refused before and after
// potentials are defined; a refusal leaves no file behind.
TEST_F(CliRender, RefusesBadInputWithAReason) {
    const std::string out = data_.Path() + "/chart.png";
    auto known = [&](std::vector<std::string> more) { return With(With(KnownRender, {"--out", out}), more); };
    const auto none = Cli(known({"--potential-style", "1"}));
    EXPECT_EQ(none.Status, 1);
    EXPECT_NE(none.Err.find("no potential categories"), std::string::npos) << none.Err;
    DefinePotentials();
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {With(KnownRender, {"--out", data_.Path() + "/chart.gif"}), "--out"},
        {known({"--size", "10"}), "--size"},
        {known({"--year-display", "2"}), "--year-display"},
        {known({"--today", "2026-13-01"}), "--today"},
        {{"render", "--birth", "1990-02-04 09:05", "--sex", "m", "--name", "😀", "--out", out}, "Big5"},
        {{"render", "--birth", "1990-02-30 09:05", "--sex", "m", "--out", out}, "quorvane-cli: "},
        {{"render", "--birth", "1700-02-03 09:05", "--sex", "m", "--out", out}, "no chart"},
        {With(KnownRender, {"--out", data_.Path() + "/missing/chart.png"}), "cannot write"},
        {known({"--kind", "3"}), "--kind"},
        {known({"--luck", "13"}), "--luck"},
        {known({"--luck", "2", "--kind", "2"}), "--kind 1"},
        {known({"--luck", "2", "--year", "2000"}), "give one"},
        {known({"--year", "1988"}), "before the birth"},
        {known({"--half", "branch"}), "--half goes with"},
        {known({"--luck", "2", "--half", "top"}), "--half takes"},
        {known({"--year", "2100"}), "--year"},
        {known({"--flow-years", "--kind", "1"}), "--flow-years"},
        {known({"--potential-style", "8"}), "--potential-style takes 0 to 7"},
        {known({"--potential-style", "x"}), "--potential-style"},
        {known({"--compare-year", "2026"}), "belong to --potential-style"},
        {known({"--potential-style", "1", "--compare-year", "2100"}), "--compare-year"},
        {known({"--potential-style", "1", "--compare-year", "1985"}), "before the birth"},
        {known({"--potential-style", "1", "--year", "2026"}), "--compare-year"},
        {known({"--potential-style", "1", "--flow-years"}), "--flow-years"},
        {known({"--potential-style", "1", "--category", "2"}), "--category takes 1-1"},
    };
    for (const auto& [args, reason] : cases) ExpectRefused(args, reason);
    EXPECT_FALSE(std::filesystem::exists(out));
    // A damaged table file is told and left as it is.
    const std::string table = data_.Path() + "/program/EngyInfo.tbl";
    std::ofstream(table, std::ios::binary | std::ios::trunc) << std::string(1731, '\0');
    const auto damaged = Cli(known({"--potential-style", "1"}));
    EXPECT_EQ(damaged.Status, 2);
    EXPECT_NE(damaged.Err.find("EngyInfo.tbl"), std::string::npos) << damaged.Err;
    EXPECT_EQ(test::ReadFileText(table), std::string(1731, '\0'));
}

// The window on a 1024 x 768 screen with 16-pixel scroll bars, 3-pixel frame
// edges and a 20-pixel caption: styles 1-4 are 1024 - 3 - (968 + 22 + 16) wide
// less the two edges, 360 + 23 high less the caption and two edges; style 0's
// band area for two abilities is 4 · 186 + 2 · 24 wide plus the frame.
TEST_F(CliRender, PotentialStylesDrawTheWindowAtItsOwnSize) {
    DefinePotentials();
    const QImage image = Picture({"--potential-style", "1"});
    EXPECT_EQ(image.size(), QSize(1000, 357));
    EXPECT_EQ(image.pixel(5, 5), qRgb(250, 250, 200)) << "the window's background";
    EXPECT_EQ(image.pixel(160, 2), qRgb(230, 230, 230)) << "the panel";
    EXPECT_EQ(image.pixel(380, 175), qRgb(200, 200, 255)) << "the natal swatch alone";
    EXPECT_EQ(Picture({"--potential-style", "0"}).size(), QSize(808, 152));
    for (int style = 2; style < 8; ++style)
        EXPECT_EQ(test::ReadFileText(Render("style.pdf", {"--potential-style", std::to_string(style)})).substr(0, 5),
                  "%PDF-") << style;
}

TEST_F(CliRender, ThePotentialWindowsPrintedPageIsDrawnWithItsTexts) {
    DefinePotentials();
    const std::string pdf = Render("page.pdf", {"--potential-style", "3", "--print"});
    test::ExpectVectorPdf(pdf, 0, "決斷");
    // Whom and what it is about, and when it was made, across the top.
    if (test::PdfToolAvailable()) {
        const std::string text = test::PdfText(pdf);
        for (const char* part : {"潛能分析表-領導", "陳大文", "出生：民國79年2月4日 9時5分", "製表：民國115年12月7日"})
            EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    }
    const QImage page = Picture({"--potential-style", "1", "--print"});
    ASSERT_EQ(page.size(), QSize(794, 1123));
    // Under that line the window's 408 x 360 part fills the page's width.
    EXPECT_EQ(page.pixel(4, 4), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(4, 80), qRgb(250, 250, 200));
    EXPECT_EQ(page.pixel(790, 80), qRgb(250, 250, 200));
    EXPECT_EQ(page.pixel(400, 900), qRgb(255, 255, 255));
}

TEST_F(CliRender, CompareYearAddsTheYearsScores) {
    DefinePotentials();
    const QImage n = Picture({"--potential-style", "1"}), y = Picture({"--potential-style", "1", "--compare-year", "2026"});
    ASSERT_EQ(n.size(), y.size());
    EXPECT_NE(n, y);
    // The legend: 本質 above the middle and 短期 below it, instead of 本質 alone.
    EXPECT_EQ(y.pixel(380, 137), qRgb(200, 200, 255));
    EXPECT_EQ(y.pixel(380, 213), qRgb(255, 200, 200));
    EXPECT_NE(n.pixel(380, 213), qRgb(255, 200, 200));
    // The year's branch half rates the abilities by another evaluation.
    EXPECT_NE(Picture({"--potential-style", "1", "--compare-year", "2026", "--half", "branch"}), y);
}

// ---- curve ----

const std::vector<std::string> KnownPerson = {"--birth", "1990-02-04 09:05", "--sex", "m"};

class CliCurve : public test::CliTest {
protected:
    // The known person's curve drawn with more options into `name`: its path.
    std::string Curve(const std::string& name, const std::vector<std::string>& more) {
        const std::string out = data_.Path() + "/" + name;
        Out(With(With(With({"curve"}, KnownPerson), more), {"--out", out}));
        return out;
    }
    // The luck values as `fortune --luck --json` gives them.
    std::vector<int> LuckValues() {
        std::vector<int> values;
        for (const std::string& line : test::Lines(Cli(With({"fortune", "--luck", "--json"}, KnownPerson)).Out))
            values.push_back(static_cast<int>(test::ParseJson(line)["Value"].Int()));
        return values;
    }
};

// Level colours 最優 … 最累, and the level of a value in steps of 10.
QColor LevelColour(int v) {
    static const QColor colours[] = {{255, 0, 0},   {255, 50, 0},  {255, 100, 0}, {255, 150, 0},
                                     {255, 200, 0}, {255, 255, 0}, {150, 255, 0}, {0, 255, 0},
                                     {0, 200, 255}, {0, 100, 255}, {0, 0, 255},   {0, 0, 128}};
    const int q = v / 10;
    return colours[v >= 0 ? 5 - std::min(q, 5) : 6 + std::min(-q, 5)];
}

TEST_F(CliCurve, LuckChartOfAKnownPersonHasItsBars) {
    const QImage image(QString::fromStdString(Curve("luck.png", {"--mode", "0", "--category", "1"})));
    // Luck from age 11: 13 bars of 64 pixels (960 / 15), the chart 15 units wide and 8 deep.
    ASSERT_EQ(image.size(), QSize(960, 512));
    const std::vector<int> luck = LuckValues();
    ASSERT_EQ(luck.size(), 12u);
    // The blue base line runs across the plot from its left edge.
    int baseY = -1;
    for (int y = 0; y < image.height() && baseY < 0; ++y)
        if (image.pixelColor(66, y) == QColor(100, 100, 255)) baseY = y;
    ASSERT_GT(baseY, 0);
    int checked = 0;
    for (int k = 0; k < 12; ++k) {
        if (std::abs(luck[k]) < 5) continue;  // too short to test a pixel of it
        const int x = 64 + 64 * (k + 1) + 32;
        const int y = luck[k] > 0 ? baseY - 3 : baseY + 4;
        EXPECT_EQ(image.pixelColor(x, y), LevelColour(luck[k])) << "luck pillar " << k << " value " << luck[k];
        ++checked;
    }
    EXPECT_GE(checked, 6);
}

TEST_F(CliCurve, PdfCarriesTheTitle) {
    const std::string pdf = test::ReadFileText(Curve("years.pdf", {"--mode", "1", "--category", "5", "--luck", "2"}));
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    // Luck pillar 2 starts at age 31; born before 立春 1990, age 1 is 1989: the ten years
    // 2019-2028, as the document's title.
    const QString title = QStringLiteral("農曆 2019年 - 2028年財運圖");
    std::string utf16 = "\xFE\xFF";
    for (QChar c : title) utf16 += {char(c.unicode() >> 8), char(c.unicode() & 0xFF)};
    EXPECT_NE(pdf.find(utf16), std::string::npos);
}

TEST_F(CliCurve, PrintedPageHasTheBannerAboveTheChart) {
    const QImage page(QString::fromStdString(
        Curve("page.png", {"--mode", "3", "--category", "7", "--year", "2024", "--month", "2", "--print"})));
    ASSERT_EQ(page.size(), QSize(794, 1123));
    auto coloured = [&](int top, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; y += 2)
            for (int x = 0; x < page.width(); x += 2) n += page.pixelColor(x, y) != Qt::white;
        return n;
    };
    EXPECT_GT(coloured(0, 1123 / 5), 20000);        // the banner in the top fifth
    EXPECT_GT(coloured(1123 / 5, 1123 / 2), 50000);  // the chart under it
    EXPECT_GT(coloured(1123 * 5 / 8, 1123 - 30), 0);   // the client's line under it
    EXPECT_EQ(coloured(1123 - 30, 1123), 0);           // nothing at the foot of the page
}

TEST_F(CliCurve, PrintedPdfDrawsTheChartAsTextAndLinesWithTheSameValues) {
    const std::string out = Curve("page.pdf", {"--mode", "0", "--category", "1", "--print", "--name", "陳大文"});
    test::ExpectVectorPdf(out, 1, "終身運勢圖");  // the banner is the one picture
    if (!test::PdfToolAvailable()) return;
    const std::string text = test::PdfText(out);
    for (const char* part : {"陳大文", "出生：1990年2月4日 9時5分"}) EXPECT_NE(text.find(part), std::string::npos) << part;
    int found = 0;
    for (int v : LuckValues()) found += std::abs(v) >= 10 && text.find(std::to_string(v)) != std::string::npos;
    EXPECT_GE(found, 3) << text;
}

TEST_F(CliCurve, RefusesBadRequestsWithAReason) {
    const std::string out = data_.Path() + "/c.png";
    const struct {
        std::vector<std::string> Args;
        const char* Reason;
    } cases[] = {
        {{"--out", out}, "--mode"},
        {{"--mode", "4", "--out", out}, "--mode"},
        {{"--mode", "0", "--category", "2", "--out", out}, "--category"},
        {{"--mode", "1", "--lifetime", "--out", out}, "--lifetime"},
        {{"--mode", "1", "--luck", "11", "--out", out}, "--luck"},
        {{"--mode", "2", "--luck", "1", "--out", out}, "--luck"},
        {{"--mode", "2", "--year", "2024", "--month", "3", "--out", out}, "--month"},
        {{"--mode", "2", "--year", "2150", "--out", out}, "outside"},
        {{"--mode", "2", "--out", data_.Path() + "/c.gif"}, "--out"},
    };
    for (const auto& c : cases) ExpectRefused(With(With({"curve"}, KnownPerson), c.Args), c.Reason);
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace qv
