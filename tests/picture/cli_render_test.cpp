// quorvane-cli render: the chart view drawn into an image or a PDF, and its refusals.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "pdf_checks.h"
#include "run_program.h"

namespace qv {
namespace {

using test::RunCli;
using test::TempDir;

const std::vector<std::string> KnownRender = {"render", "--birth", "1990-02-04 09:05", "--sex", "m",
                                              "--name", "陳大文", "--today", "2026-12-07"};

std::vector<std::string> With(std::vector<std::string> args, std::initializer_list<std::string> more) {
    args.insert(args.end(), more);
    return args;
}

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

TEST(CliRender, KnownPersonGivesAFullChartImage) {
    TempDir data;
    const std::string out = data.Path() + "/chart.png";
    const auto r = RunCli(data, With(KnownRender, {"--out", out}));
    ASSERT_EQ(r.Status, 0) << r.Err;
    const QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize(1024, 768));
    EXPECT_GT(Ink(image, Cells(26, 0, 34, 2)), 50);   // the name in the header
    EXPECT_GT(Ink(image, Cells(30, 4, 32, 14)), 100); // the lunar birth date
    for (int p = 0; p < 4; ++p) EXPECT_GT(Ink(image, Cells(8 + 4 * p, 4, 12 + 4 * p, 8)), 60) << "pillar " << p;
    for (int k = 0; k < 12; ++k) EXPECT_GT(Ink(image, Cells(2 * k, 23, 2 * k + 2, 27)), 40) << "period " << k;
    EXPECT_GT(Ink(image, QRect(8, 2, 75, 158)), 50);  // the chart-kind buttons
    EXPECT_GT(Ink(image, QRect(776, 2, 224, 663)), 2000);  // the 104-year table
    EXPECT_EQ(Ink(image, QRect(0, 720, 1024, 48)), 0);     // nothing below the chart
}

TEST(CliRender, SizeScalesTheWholePage) {
    TempDir data;
    const std::string small = data.Path() + "/small.png", large = data.Path() + "/large.png";
    ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", small})).Status, 0);
    ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", large, "--size", "2048"})).Status, 0);
    const QImage a(QString::fromStdString(small)), b(QString::fromStdString(large));
    ASSERT_EQ(b.size(), QSize(2048, 1536));
    // The same cells carry ink at both sizes.
    for (const QRect& cell : {Cells(26, 0, 34, 2), Cells(12, 4, 16, 6), Cells(0, 28.5, 24, 29.5)})
        EXPECT_EQ(Ink(a, cell) > 20, Ink(b, cell) > 20);
}

TEST(CliRender, WritesAPdfPage) {
    TempDir data;
    const std::string out = data.Path() + "/chart.pdf";
    ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", out})).Status, 0);
    EXPECT_EQ(test::ReadFileText(out).substr(0, 5), "%PDF-");
}

// The selected period cell carries the selection shade RGB(255, 255, 200).
bool Selected(const QImage& image, int column) {
    const QRect cell = Cells(22 - 2 * column, 23, 24 - 2 * column, 27);
    return image.pixel(cell.left() + 1, cell.top() + 1) == qRgb(255, 255, 200);
}

TEST(CliRender, DrawsTheLuckPillarOrTheYearAsTheViewShowsIt) {
    TempDir data;
    const std::string luck = data.Path() + "/luck.png", year = data.Path() + "/year.png", natal = data.Path() + "/natal.png";
    ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", luck, "--luck", "4"})).Status, 0);
    ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", year, "--year", "2026", "--kind", "2"})).Status, 0);
    ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", natal})).Status, 0);
    const QImage l(QString::fromStdString(luck)), y(QString::fromStdString(year)), n(QString::fromStdString(natal));
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

    const auto today = RunCli(data, With(KnownRender, {"--out", year, "--kind", "2"}));
    ASSERT_EQ(today.Status, 0) << today.Err;
    EXPECT_TRUE(Selected(QImage(QString::fromStdString(year)), 2)) << "--today 2026-12-07 is lunar 2026";
}

// The summary and health columns (0-8u across, 0-12u down) of a period chart
// show its own evaluation: each half of a luck pillar or a year differs from
// the natal chart and from the other half.
TEST(CliRender, HalfChoosesTheStemOrBranchEvaluationOfThePeriod) {
    TempDir data;
    auto readings = [&](std::initializer_list<std::string> more) {
        const std::string out = data.Path() + "/half.png";
        const auto r = RunCli(data, With(With(KnownRender, {"--out", out}), more));
        EXPECT_EQ(r.Status, 0) << r.Err;
        return QImage(QString::fromStdString(out)).copy(Cells(0, 0, 8, 12));
    };
    const QImage natal = readings({});
    for (const char* period : {"--luck", "--year"}) {
        const std::string which = period == std::string("--luck") ? "4" : "2026";
        const QImage stem = readings({period, which}), upper = readings({period, which, "--half", "stem"});
        const QImage branch = readings({period, which, "--half", "branch"});
        EXPECT_EQ(stem, upper) << period << ": the stem half unless told otherwise";
        EXPECT_NE(stem, natal) << period;
        EXPECT_NE(branch, natal) << period;
        EXPECT_NE(stem, branch) << period;
    }
    // The year chart says which half it reads: 2026 is 丙午.
    if (!test::PdfToolAvailable()) return;
    for (const auto& [half, line] : {std::pair{"stem", "上半年 丙"}, {"branch", "下半年 午"}}) {
        const std::string pdf = data.Path() + "/half.pdf";
        ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", pdf, "--year", "2026", "--half", half})).Status, 0);
        EXPECT_NE(test::PdfText(pdf).find(line), std::string::npos) << half;
    }
    // The year after the calendar's last has no months to list: the panel says why.
    const std::string last = data.Path() + "/last.pdf";
    ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", last, "--year", "2099"})).Status, 0);
    EXPECT_NE(test::PdfText(last).find("萬年曆只到農曆2099年為止"), std::string::npos) << test::PdfText(last);
}

TEST(CliRender, FlowYearsDrawTheSixtyYearStrip) {
    TempDir data;
    const std::string out = data.Path() + "/years.png", pdf = data.Path() + "/years.pdf";
    ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", out, "--flow-years"})).Status, 0);
    const QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize(750, 200));
    EXPECT_EQ(image.pixel(700 + 2, 2), qRgb(230, 230, 230)) << "cell 2";
    EXPECT_EQ(image.pixel(725 + 2, 2), qRgb(255, 255, 255)) << "cell 1";
    EXPECT_EQ(image.pixel(725 + 2, 102), qRgb(230, 230, 230)) << "cell 31";
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(dark, 2000) << "sixty cells of text";
    ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", pdf, "--flow-years"})).Status, 0);
    EXPECT_EQ(test::ReadFileText(pdf).substr(0, 5), "%PDF-");
}

TEST(CliRender, RefusesBadInputWithAReason) {
    TempDir data;
    const std::string out = data.Path() + "/chart.png";
    struct Case {
        std::vector<std::string> Args;
        const char* Reason;
    };
    const Case cases[] = {
        {With(KnownRender, {"--out", data.Path() + "/chart.gif"}), "--out"},
        {With(KnownRender, {"--out", out, "--size", "10"}), "--size"},
        {With(KnownRender, {"--out", out, "--year-display", "2"}), "--year-display"},
        {With(KnownRender, {"--out", out, "--today", "2026-13-01"}), "--today"},
        {{"render", "--birth", "1990-02-04 09:05", "--sex", "m", "--name", "😀", "--out", out}, "Big5"},
        {{"render", "--birth", "1990-02-30 09:05", "--sex", "m", "--out", out}, "quorvane-cli: "},
        {{"render", "--birth", "1700-02-03 09:05", "--sex", "m", "--out", out}, "no chart"},
        {With(KnownRender, {"--out", data.Path() + "/missing/chart.png"}), "cannot write"},
        {With(KnownRender, {"--out", out, "--kind", "3"}), "--kind"},
        {With(KnownRender, {"--out", out, "--luck", "13"}), "--luck"},
        {With(KnownRender, {"--out", out, "--luck", "2", "--kind", "2"}), "--kind 1"},
        {With(KnownRender, {"--out", out, "--luck", "2", "--year", "2000"}), "give one"},
        {With(KnownRender, {"--out", out, "--year", "1988"}), "before the birth"},
        {With(KnownRender, {"--out", out, "--half", "branch"}), "--half goes with"},
        {With(KnownRender, {"--out", out, "--luck", "2", "--half", "top"}), "--half takes"},
        {With(KnownRender, {"--out", out, "--year", "2100"}), "--year"},
        {With(KnownRender, {"--out", out, "--flow-years", "--kind", "1"}), "--flow-years"},
    };
    for (const Case& c : cases) {
        const auto r = RunCli(data, c.Args);
        EXPECT_EQ(r.Status, 1) << c.Reason;
        EXPECT_NE(r.Err.find(c.Reason), std::string::npos) << r.Err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));  // a refusal leaves no file behind
}

// Two abilities in one category, as potential-table import takes them.
void DefinePotentials(const TempDir& data) {
    const std::string json = data.Path() + "/potentials.json";
    std::ofstream(json, std::ios::binary)
        << "[\n{\"category\":1,\"name\":\"領導\",\"share\":30},\n"
           "{\"category\":1,\"item\":1,\"name\":\"決斷\",\"elements\":\"水 火\",\"tenGods\":\"比肩 正官\"},\n"
           "{\"category\":1,\"item\":2,\"name\":\"耐心\",\"elements\":\"土\",\"tenGods\":\"\"}\n]\n";
    const auto r = RunCli(data, {"potential-table", "import", json});
    ASSERT_EQ(r.Status, 0) << r.Err;
}

// The window on a 1024 x 768 screen with 16-pixel scroll bars, 3-pixel frame
// edges and a 20-pixel caption: styles 1-4 are 1024 - 3 - (968 + 22 + 16) wide
// less the two edges, 360 + 23 high less the caption and two edges; style 0's
// band area for two abilities is 4 · 186 + 2 · 24 wide plus the frame.
TEST(CliRender, PotentialStylesDrawTheWindowAtItsOwnSize) {
    TempDir data;
    DefinePotentials(data);
    const std::string bars = data.Path() + "/bars.png", bands = data.Path() + "/bands.png";
    const auto r = RunCli(data, With(KnownRender, {"--out", bars, "--potential-style", "1"}));
    ASSERT_EQ(r.Status, 0) << r.Err;
    const QImage image(QString::fromStdString(bars));
    EXPECT_EQ(image.size(), QSize(1000, 357));
    EXPECT_EQ(image.pixel(5, 5), qRgb(250, 250, 200)) << "the window's background";
    EXPECT_EQ(image.pixel(160, 2), qRgb(230, 230, 230)) << "the panel";
    EXPECT_EQ(image.pixel(380, 175), qRgb(200, 200, 255)) << "the natal swatch alone";
    ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", bands, "--potential-style", "0"})).Status, 0);
    EXPECT_EQ(QImage(QString::fromStdString(bands)).size(), QSize(808, 152));
    for (int style = 2; style < 8; ++style) {
        const std::string out = data.Path() + "/style" + std::to_string(style) + ".pdf";
        const auto s = RunCli(data, With(KnownRender, {"--out", out, "--potential-style", std::to_string(style)}));
        ASSERT_EQ(s.Status, 0) << style << s.Err;
        EXPECT_EQ(test::ReadFileText(out).substr(0, 5), "%PDF-") << style;
    }
}

TEST(CliRender, ThePotentialWindowsPrintedPageIsDrawnWithItsTexts) {
    TempDir data;
    DefinePotentials(data);
    const std::string pdf = data.Path() + "/page.pdf", png = data.Path() + "/page.png";
    const auto r = RunCli(data, With(KnownRender, {"--out", pdf, "--potential-style", "3", "--print"}));
    ASSERT_EQ(r.Status, 0) << r.Err;
    test::ExpectVectorPdf(pdf, 0, "決斷");
    // Whom and what it is about, and when it was made, across the top.
    if (test::PdfToolAvailable()) {
        const std::string text = test::PdfText(pdf);
        for (const char* part : {"潛能分析表-領導", "陳大文", "出生：民國79年2月4日 9時5分", "製表：民國115年12月7日"})
            EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
    }
    ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", png, "--potential-style", "1", "--print"})).Status, 0);
    const QImage page(QString::fromStdString(png));
    ASSERT_EQ(page.size(), QSize(794, 1123));
    // Under that line the window's 408 x 360 part fills the page's width.
    EXPECT_EQ(page.pixel(4, 4), qRgb(255, 255, 255));
    EXPECT_EQ(page.pixel(4, 80), qRgb(250, 250, 200));
    EXPECT_EQ(page.pixel(790, 80), qRgb(250, 250, 200));
    EXPECT_EQ(page.pixel(400, 900), qRgb(255, 255, 255));
}

TEST(CliRender, CompareYearAddsTheYearsScores) {
    TempDir data;
    DefinePotentials(data);
    const std::string natal = data.Path() + "/natal.png", year = data.Path() + "/year.png";
    ASSERT_EQ(RunCli(data, With(KnownRender, {"--out", natal, "--potential-style", "1"})).Status, 0);
    const auto r = RunCli(data, With(KnownRender, {"--out", year, "--potential-style", "1", "--compare-year", "2026"}));
    ASSERT_EQ(r.Status, 0) << r.Err;
    const QImage n(QString::fromStdString(natal)), y(QString::fromStdString(year));
    ASSERT_EQ(n.size(), y.size());
    EXPECT_NE(n, y);
    // The legend: 本質 above the middle and 短期 below it, instead of 本質 alone.
    EXPECT_EQ(y.pixel(380, 137), qRgb(200, 200, 255));
    EXPECT_EQ(y.pixel(380, 213), qRgb(255, 200, 200));
    EXPECT_NE(n.pixel(380, 213), qRgb(255, 200, 200));
    // The year's branch half rates the abilities by another evaluation.
    const std::string branch = data.Path() + "/branch.png";
    const auto b = RunCli(data, With(KnownRender, {"--out", branch, "--potential-style", "1", "--compare-year", "2026",
                                                   "--half", "branch"}));
    ASSERT_EQ(b.Status, 0) << b.Err;
    EXPECT_NE(QImage(QString::fromStdString(branch)), y);
}

TEST(CliRender, PotentialOptionsAreRefusedWithAReason) {
    TempDir data;
    const std::string out = data.Path() + "/potential.png";
    const auto none = RunCli(data, With(KnownRender, {"--out", out, "--potential-style", "1"}));
    EXPECT_EQ(none.Status, 1);
    EXPECT_NE(none.Err.find("no potential categories"), std::string::npos) << none.Err;
    DefinePotentials(data);
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {With(KnownRender, {"--out", out, "--potential-style", "8"}), "--potential-style takes 0 to 7"},
        {With(KnownRender, {"--out", out, "--potential-style", "x"}), "--potential-style"},
        {With(KnownRender, {"--out", out, "--compare-year", "2026"}), "belong to --potential-style"},
        {With(KnownRender, {"--out", out, "--potential-style", "1", "--compare-year", "2100"}), "--compare-year"},
        {With(KnownRender, {"--out", out, "--potential-style", "1", "--compare-year", "1985"}), "before the birth"},
        {With(KnownRender, {"--out", out, "--potential-style", "1", "--year", "2026"}), "--compare-year"},
        {With(KnownRender, {"--out", out, "--potential-style", "1", "--flow-years"}), "--flow-years"},
        {With(KnownRender, {"--out", out, "--potential-style", "1", "--category", "2"}), "--category takes 1-1"},
    };
    for (const auto& [args, reason] : cases) {
        const auto r = RunCli(data, args);
        EXPECT_EQ(r.Status, 1) << reason;
        EXPECT_NE(r.Err.find(reason), std::string::npos) << r.Err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    // A damaged table file is told and left as it is.
    const std::string table = data.Path() + "/program/EngyInfo.tbl";
    std::ofstream(table, std::ios::binary | std::ios::trunc) << std::string(1731, '\0');
    const auto damaged = RunCli(data, With(KnownRender, {"--out", out, "--potential-style", "1"}));
    EXPECT_EQ(damaged.Status, 2);
    EXPECT_NE(damaged.Err.find("EngyInfo.tbl"), std::string::npos) << damaged.Err;
    EXPECT_EQ(test::ReadFileText(table), std::string(1731, '\0'));
}

}  // namespace
}  // namespace qv
