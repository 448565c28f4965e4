// The chart drawing: fonts and their glyphs, the texts of single cells, the nominal age,
// and a drawn chart of a known person.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QRawFont>
#include <algorithm>
#include <memory>

#include "engine/chart/chart_compute.h"
#include "chart_draw.h"
#include "charted_person.h"
#include "chart_view.h"
#include "clock_note.h"
#include "engine/texts/edge_words.h"
#include "offscreen_app.h"
#include "paint_helpers.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

TEST(ChartFonts, SizesByModeForBaseSixteenAndAnOddNegativeBase) {
    // Hand-worked from the mode table; the eighth, quarter and half floor (shift), the rest truncate.
    const int sixteen[] = {13, 14, 12, 24, 12, 8, 8, 14, 5, 11, 6, 64, 0};
    for (int mode = 0; mode <= 12; ++mode) EXPECT_EQ(ChartFontPixelSize(mode, 16), sixteen[mode]) << "mode " << mode;
    EXPECT_EQ(ChartFontPixelSize(1, -9), -7);  // -9 - (-9 >> 3) = -9 + 2
    EXPECT_EQ(ChartFontPixelSize(0, -9), -8);  // -9 - (-9 / 5) = -9 + 1
    EXPECT_EQ(ChartFontPixelSize(12, 72), 2);
    EXPECT_EQ(ChartFontPixelSize(13, 16), 0);
}

TEST(ChartFonts, MakeChartFontTakesTheTraditionalChineseSerifSizeAndWeight) {
    test::QtApp();
    EXPECT_TRUE(ChartFontFamily() == "AR PL UMing TW" || ChartFontFamily() == "Noto Serif CJK TC") << ChartFontFamily().toStdString();
    const QFont bold = MakeChartFont(3, 16, 700);
    EXPECT_EQ(bold.family(), ChartFontFamily());
    EXPECT_EQ(bold.pixelSize(), 24);
    EXPECT_EQ(bold.weight(), QFont::Bold);
    EXPECT_EQ(MakeChartFont(12, 16, 400).pixelSize(), 1);  // never an invalid size
}

// Characters of `text` without a glyph: QFontMetrics::inFont may answer for a fallback
// face, so the chosen face itself must have the glyph too.
QString MissingGlyphs(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    const QRawFont face = QRawFont::fromFont(font);
    QString missing;
    for (char32_t c : text.toUcs4()) {
        if (c > ' ' && !(metrics.inFontUcs4(c) && face.supportsCharacter(c))) missing += QString::fromUcs4(&c, 1);
    }
    return missing;
}

TEST(ChartFonts, EveryTextOfTheChartHasRealGlyphs) {
    test::QtApp();
    for (int weight : {400, 700}) {
        const QFont font = MakeChartFont(1, 16, weight);
        ASSERT_TRUE(QRawFont::fromFont(font).familyName().startsWith(ChartFontFamily().left(9)));
        ASSERT_FALSE(MissingGlyphs(font, QString::fromUtf8("😀")).isEmpty());  // the check can fail
        for (const StringEntry& entry : AllStrings()) {
            const QString text = QString::fromUtf8(entry.Text.data(), static_cast<qsizetype>(entry.Text.size()));
            EXPECT_EQ(MissingGlyphs(font, text), QString()) << "string " << entry.Id;
        }
        for (const char* label : ChartLabelTexts()) EXPECT_EQ(MissingGlyphs(font, QString::fromUtf8(label)), QString()) << label;
    }
}

TEST(PaintHelpers, ScreenMetricsClampsToTheLogicalPage) {
    EXPECT_EQ(ScreenMetrics(QSize(1280, 1024)), QSize(1024, 768));
    EXPECT_EQ(ScreenMetrics(QSize(800, 600)), QSize(800, 600));
    EXPECT_EQ(ScreenMetrics(QSize(1920, 600)), QSize(1024, 600));
}

TEST(PaintHelpers, VerticalLinesHoldOneWideOrTwoNarrowCharacters) {
    EXPECT_EQ(VerticalLines(QString::fromUtf8("12運")), QStringList({"12", QString::fromUtf8("運")}));
    EXPECT_EQ(VerticalLines(QString::fromUtf8("1990年5月")),
              QStringList({"19", "90", QString::fromUtf8("年"), "5", QString::fromUtf8("月")}));
    EXPECT_EQ(VerticalLines(QString::fromUtf8("立春  木")).size(), 4);  // two blanks share a line
    // A three-digit year stays whole: "115年" never reads as 11年.
    EXPECT_EQ(VerticalLines(QString::fromUtf8("115年5月")), QStringList({"115", QString::fromUtf8("年"), "5", QString::fromUtf8("月")}));
    EXPECT_EQ(VerticalLines(QString::fromUtf8("12345日")), QStringList({"12", "345", QString::fromUtf8("日")}));
    EXPECT_TRUE(VerticalLines("").isEmpty());
}

// Hours with AM or PM, noon in the afternoon; era years; header years count
// from 1911 under the ROC display; the climate balance keeps its sign in
// tenths (a truncated quotient alone would lose it for -5); the strength
// compares both parties.
TEST(ChartTexts, HoursYearsTenthsAndStrength) {
    const auto strength = [](int same, int other) {
        ChartBlock n{};
        n.SameParty = static_cast<int16_t>(same);
        n.OtherParty = static_cast<int16_t>(other);
        return StrengthText(n);
    };
    const std::pair<std::string, const char*> cases[] = {
        {HourText(0, 5), "AM 0:05"},       {HourText(11, 59), "AM 11:59"},    {HourText(12, 0), "PM 12:00"},
        {HourText(12, 40), "PM 12:40"},    {HourText(13, 30), "PM 1:30"},     {HourText(23, 59), "PM 11:59"},
        {EraYearText(1912), "民國元年"},   {EraYearText(1913), "民國2年"},    {EraYearText(2026), "民國115年"},
        {EraYearText(1911), "民國前1年"},  {EraYearText(1900), "民國前12年"},
        {HeaderYearText(1912, 1), "1"},    {HeaderYearText(1911, 1), "0"},    {HeaderYearText(1990, 1), "79"},
        {HeaderYearText(1990, 0), "1990"}, {TenthsText(-15), "-1.5"},        {TenthsText(15), "1.5"},
        {TenthsText(-5), "-0.5"},          {TenthsText(0), "0.0"},            {TenthsText(-120), "-12.0"},
        {strength(12, 8), "A12 > 8B"},     {strength(12, 12), "A12 = 12B"},   {strength(12, 30), "A12 < 30B"}};
    for (const auto& [shown, expected] : cases) EXPECT_EQ(shown, expected);
}

// Spirits are joined without a trailing comma; the day pillar's main star is always the day master.
TEST(ChartTexts, SpiritsAndTheDayPillarsMainStar) {
    ChartBlock n{};
    EXPECT_EQ(SpiritsText(n, YearPillar), "");
    n.SpiritMaskA[MonthPillar] = 1u << 27;  // 天乙貴人
    EXPECT_EQ(SpiritsText(n, MonthPillar), "天乙貴人");
    n.SpiritMaskA[DayPillar] = (1u << 31) | (1u << 26);
    n.SpiritMaskB[DayPillar] = 1u << 31;
    EXPECT_EQ(SpiritsText(n, DayPillar), "三奇貴人、文昌、羊刃");
    for (int p = 0; p < 4; ++p) n.StemGod[p] = 5;  // 正官
    n.StemGod[DayPillar] = NotApplicable;
    EXPECT_EQ(MainStarText(n, DayPillar), "命主");
    EXPECT_EQ(MainStarText(n, YearPillar), "正官");
    n.StemGod[DayPillar] = 0;
    EXPECT_EQ(MainStarText(n, DayPillar), "命主");
}

// At the units of 1024 x 768, 1366 x 768 and 2560 x 1440 screens: every name
// whole on one line, nothing lost, inside the cell, and not shrunk below half a unit.
TEST(ChartSpirits, NamesStayWholeAndFillTheCell) {
    test::QtApp();
    const QString names[] = {QString::fromUtf8("天乙貴人"), QString::fromUtf8("文昌"), QString::fromUtf8("驛馬"),
                             QString::fromUtf8("四大空亡"), QString::fromUtf8("羊刃"), QString::fromUtf8("將星")};
    for (int count : {1, 3, 6}) {
        const QString text = QStringList(std::begin(names), std::begin(names) + count).join(QString::fromUtf8("、"));
        for (int unit : {21, 22, 41}) {
            const QSize room(4 * unit - 6, 6 * unit - 6);
            QFont font = MakeChartFont(3, unit, 700);
            font.setPixelSize(unit * 4 / 5);
            const SpiritLayout layout = LayOutSpirits(text, font, room);
            const QFontMetrics metrics(layout.Font);
            EXPECT_EQ(layout.Lines.join(QString()), text) << unit;
            for (int i = 0; i < count; ++i)
                EXPECT_TRUE(std::any_of(layout.Lines.begin(), layout.Lines.end(), [&](const QString& l) { return l.contains(names[i]); }))
                    << names[i].toStdString() << " split at unit " << unit;
            for (const QString& line : layout.Lines) EXPECT_LE(metrics.horizontalAdvance(line), room.width()) << unit;
            EXPECT_LE(layout.LineHeight * layout.Lines.size(), room.height()) << unit;
            EXPECT_GT(layout.LineHeight, metrics.height()) << "lines do not touch";
            EXPECT_GE(layout.Font.pixelSize(), unit / 2) << count << " names at unit " << unit;
        }
    }
}

using test::ChartedPerson;

TEST(SidePanel, ALeapMonthShowsTheTermsThatFallWithinIt) {
    auto rec = ChartedPerson(1990, 2, 4, 9, 5, 0);
    ASSERT_TRUE(rec);
    using Terms = std::array<QString, 2>;
    EXPECT_EQ(LeapMonthTerms(*rec, 2025), (Terms{QStringLiteral("立秋8/7"), QString()}));  // 閏六月, 25 July - 22 August
    EXPECT_EQ(LeapMonthTerms(*rec, 2028), (Terms{QStringLiteral("小暑7/6"), QString()}));  // 閏五月, 23 June - 21 July
    EXPECT_EQ(LeapMonthTerms(*rec, 2026), Terms{}) << "no leap month";
}

TEST(ChartLayoutTest, TheViewChartLeavesRoomForButtonsAndSidePanel) {
    const ChartLayout layout = ViewChartLayout(1024, 768);
    EXPECT_EQ(layout.x0, 91);
    EXPECT_EQ(layout.y0, 2);
    EXPECT_EQ(layout.unit, 20);
    EXPECT_LE(layout.x0 + 34 * layout.unit + 4 + SidePanelWidth, 1024 - 20);
    EXPECT_EQ(ViewChartLayout(600, 900).y0, 150);
    ChartDrawContext printing;
    printing.forPrinter = true;
    const ChartLayout page = LayoutFor(printing, 2400, 2400, 2380);
    EXPECT_EQ(page.x0, 0);
    EXPECT_EQ(page.unit, 70);
}

// ---- A drawn chart ---------------------------------------------------------------------

struct DrawnChart {
    QImage Image;
    ChartLayout Layout;
};

DrawnChart Draw(ChartRecord& rec, const ChartDrawContext& context = {}) {
    test::QtApp();
    DrawnChart drawn{QImage(1024, 768, QImage::Format_RGB32), ViewChartLayout(1024, 768)};
    QPainter painter(&drawn.Image);
    ChartDrawContext today = context;
    today.todayYear = 2026, today.todayMonth = 12, today.todayDay = 7;
    DrawChart(painter, rec, today, 1024, 768, drawn.Layout.side);
    return drawn;
}

// Dark pixels inside the cells x0..x1, y0..y1 (chart units), a pixel in from the rules.
int InkIn(const DrawnChart& d, double x0, double y0, double x1, double y1) {
    const int u = d.Layout.unit;
    int ink = 0;
    for (int y = d.Layout.y0 + int(y0 * u) + 2; y < d.Layout.y0 + int(y1 * u) - 1; ++y)
        for (int x = d.Layout.x0 + int(x0 * u) + 2; x < d.Layout.x0 + int(x1 * u) - 1; ++x)
            ink += qGray(d.Image.pixel(x, y)) < 128;
    return ink;
}

TEST(DrawChartTest, AnEmptyRecordGivesTheBareTable) {
    auto rec = std::make_unique<ChartRecord>();  // no person yet, no solar-term table
    const DrawnChart d = Draw(*rec);
    EXPECT_GT(InkIn(d, 24, 2, 26, 4), 20);   // the row labels
    EXPECT_EQ(InkIn(d, 12, 14, 16, 20), 0);  // no spirits
    ChartDrawContext tiny;
    QImage image(20, 20, QImage::Format_RGB32);
    QPainter painter(&image);
    DrawChart(painter, *rec, tiny, 20, 20, 20);  // smaller than one unit: white only
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 255, 255));
}

class DrawnChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        rec_ = ChartedPerson(1990, 2, 4, 9, 5, 0);
        if (!rec_) GTEST_SKIP() << "no solar-term table in " << QUORVANE_BIN_DIR;
    }
    std::unique_ptr<ChartRecord> rec_;
};

TEST_F(DrawnChartTest, EveryCellThatHoldsATextHasInk) {
    const DrawnChart d = Draw(*rec_);
    EXPECT_EQ(d.Image.size(), QSize(1024, 768));
    EXPECT_EQ(d.Image.pixel(1, 767), qRgb(255, 255, 255));
    for (int p = 0; p < 4; ++p) {
        const double x = 20 - 4 * p;
        for (double row : {0, 2, 4, 6, 12, 20}) EXPECT_GT(InkIn(d, x, row, x + 4, row + 2), 20) << "pillar " << p << " row " << row;
    }
    for (int k = 0; k < 12; ++k) EXPECT_GT(InkIn(d, 2 * k, 23, 2 * k + 2, 27), 40) << "period column " << k;
    for (int stem = 0; stem < 10; ++stem) EXPECT_GT(InkIn(d, 0, 2 + stem, 4, 3 + stem), 10) << "organ line " << stem;
    for (double row : {0, 2, 4, 6, 8, 10}) EXPECT_GT(InkIn(d, 4, row, 8, row + 2), 10) << "summary row " << row;
    for (double row : {28.5, 30.0, 31.5}) EXPECT_GT(InkIn(d, 0, row, 24, row + 1), 40) << "luck line " << row;
    for (double row : {2, 4, 14, 20, 22, 28}) EXPECT_GT(InkIn(d, 26, row, 34, row + 2), 20) << "header row " << row;
    EXPECT_EQ(InkIn(d, 17, 33, 26, 34), 0);  // the right half of the bottom strip stays empty
}

TEST_F(DrawnChartTest, ACorrectedBirthTimeIsNotedUnderTheSexLine) {
    const DrawnChart plain = Draw(*rec_);
    EXPECT_EQ(InkIn(plain, 26, 3.3, 34, 4), 0) << "the sex line alone, in the middle of its cell";
    ClockNote note;
    note.Zone = "America/Los_Angeles";
    note.DaylightSaving = true;
    note.Longitude = -118.25;
    ChartDrawContext context;
    context.clockNote = ChartNoteText(note);
    const DrawnChart noted = Draw(*rec_, context);
    EXPECT_GT(InkIn(noted, 26, 2, 34, 2.9), 20) << "the sex line moves up";
    EXPECT_GT(InkIn(noted, 26, 2.95, 34, 3.45), 20) << "the zone";
    EXPECT_GT(InkIn(noted, 26, 3.5, 34, 4), 20) << "true solar time";
    EXPECT_EQ(InkIn(noted, 34, 2, 40, 4), InkIn(plain, 34, 2, 40, 4)) << "nothing spills out of the cell";
}

// 09:05 lies 5 minutes into the 巳 hour; 立春 1990 fell at 10:14 (UTC+8), 69 minutes on.
TEST_F(DrawnChartTest, AnEdgeWithinTheMarginIsNotedBelowTheSquareCoveringNothing) {
    EXPECT_EQ(ChartEdgeNotes(*rec_, {}), "出生時刻距09:00 5 分鐘：時柱以出生分鐘為準");
    EXPECT_EQ(ChartEdgeNotes(*rec_, {70, 4}), "出生時刻距立春 69 分鐘：年柱、月柱以出生分鐘為準");
    EXPECT_EQ(ChartEdgeNotes(*rec_, {68, 4}), "");
    // The clock's own edges: New York's clock jumped from 02:00 to 03:00 on 2024-03-10.
    ClockNote jumped;
    jumped.Zone = "America/New_York";
    jumped.Given = {2024, 3, 10, 3, 5};
    EXPECT_EQ(ClockEdgeNotes(ClockEdgesOf(jumped, 10)), "出生時刻距時鐘調整 5 分鐘：排盤時刻以出生分鐘為準");
    EXPECT_EQ(ClockEdgeNotes(ClockEdgesOf(jumped, 4)), "");
    EXPECT_EQ(ClockEdgeNotes({true, std::nullopt, -8}),
              "出生時刻在當地時鐘上出現兩次：以所選的一次排盤\n真太陽時將出生時刻移動 8 分鐘：時柱依真太陽時而定");
    const DrawnChart plain = Draw(*rec_);
    ChartDrawContext context;
    context.edgeNote = ChartEdgeNotes(*rec_, {70, 10});
    const DrawnChart noted = Draw(*rec_, context);
    const QRect square(0, 0, noted.Layout.x0 + 34 * 20 + 1 + SidePanelWidth + 4, noted.Layout.y0 + 34 * 20 + 1);
    EXPECT_EQ(noted.Image.copy(square), plain.Image.copy(square)) << "the square, buttons and panel untouched";
    EXPECT_EQ(InkIn(plain, 0, 34.2, 40, 38), 0);
    EXPECT_GT(InkIn(noted, 0, 34.2, 20, 35.4), 200) << "the first line";
    EXPECT_GT(InkIn(noted, 0, 35.4, 20, 36.8), 200) << "the second line";

    // A printed page: below the square when tall, beside it when wide.
    for (const QSize size : {QSize(800, 1100), QSize(1100, 800)}) {
        QImage page(size, QImage::Format_RGB32);
        ASSERT_TRUE(PrintChartOn(page, *rec_, {}, {70, 10}));
        const QRect beyond = size.height() > size.width() ? QRect(0, 800, 800, 300) : QRect(800, 0, 300, 800);
        int ink = 0;
        for (int y = beyond.top(); y <= beyond.bottom(); ++y)
            for (int x = beyond.left(); x <= beyond.right(); ++x) ink += qGray(page.pixel(x, y)) < 128;
        EXPECT_GT(ink, 400) << size.width() << "x" << size.height();
    }
}

TEST_F(DrawnChartTest, APillarWithoutSpiritsLeavesItsCellEmpty) {
    for (int p = 0; p < 4; ++p) rec_->Natal.SpiritMaskA[p] = rec_->Natal.SpiritMaskB[p] = 0;
    rec_->Natal.SpiritMaskA[YearPillar] = 1u << 27;
    const DrawnChart d = Draw(*rec_);
    EXPECT_GT(InkIn(d, 20, 14, 24, 20), 20);
    for (int p = MonthPillar; p <= HourPillar; ++p) EXPECT_EQ(InkIn(d, 20 - 4 * p, 14, 24 - 4 * p, 20), 0) << "pillar " << p;
}

TEST_F(DrawnChartTest, PeriodKindsDrawTheirHeaderAndSidePanel) {
    rec_->Flow = rec_->Natal;
    for (int kind : {1, 2}) {
        rec_->ChartKind = static_cast<int16_t>(kind);
        rec_->Period.Cell = 3;
        rec_->Period.Age = static_cast<int16_t>(rec_->Natal.LuckStartAge + 30);
        const DrawnChart d = Draw(*rec_);
        EXPECT_GT(InkIn(d, 26, 22, 34, 24), 20) << "kind " << kind;
        const int panelLeft = d.Layout.x0 + d.Layout.side + 4;
        int shaded = 0;
        for (int y = 0; y < 768; ++y)
            for (int x = panelLeft; x < 1004; ++x) shaded += d.Image.pixel(x, y) == qRgb(220, 200, 255);
        EXPECT_GT(shaded, 500) << "kind " << kind;
    }
}

}  // namespace
}  // namespace qv::ui
