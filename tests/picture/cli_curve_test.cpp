// quorvane-cli curve: a fortune curve of a known person as a picture, its
// printed page with the banner, and its refusals.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <filesystem>

#include "json_tree.h"
#include "pdf_checks.h"

namespace qv {
namespace {

using test::With;

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
    for (const auto& c : cases) {
        const auto r = Cli(With(With({"curve"}, KnownPerson), c.Args));
        EXPECT_EQ(r.Status, 1) << c.Reason;
        EXPECT_NE(r.Err.find(c.Reason), std::string::npos) << r.Err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace qv
