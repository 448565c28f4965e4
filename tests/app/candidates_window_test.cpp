// 時辰不確定 through the real program: the new-person dialog's button lists
// every chart of the day entered, and the one chosen fills the dialog's time.
#include <QComboBox>
#include <QTableWidget>

#include "candidates_window.h"
#include "command_table.h"
#include "person_dialog.h"
#include "shell_fixture.h"

namespace qv::test {
namespace {

using namespace qv::ui;

QString Cell(CandidatesWindow& w, int row, int column) {
    return Child<QTableWidget>(w, "candidates").item(row, column)->text();
}

// 4 February 1990: 立春 at 10:14 (UTC+8) splits the 巳 hour; under the common
// rat-hour rule 23:00 starts the next day, so the day holds 14 charts.
class CandidatesWindowTest : public ShellTest {};

TEST_F(CandidatesWindowTest, ADayOfTheTermListsEveryChartAndTheChosenMinuteFillsTheDialog) {
    StartProgram(root_, app_, frame_);
    QStringList starts, changes, years, days;
    QString luck;
    WhenModal<PersonDialog>([&](PersonDialog& d) {
        Retype(Child<QLineEdit>(d, "name"), QStringLiteral("王小明"));
        EnterBirth(d, 1990, 2, 4, 12, 0);
        Click(d, "hourUnknown");
        Click(d, "female");
        WhenModal<CandidatesWindow>([&](CandidatesWindow& w) {
            auto& table = Child<QTableWidget>(w, "candidates");
            for (int c = 0; c < table.columnCount(); ++c) {
                starts << Cell(w, 0, c).right(5);
                years << Cell(w, 2, c);
                days << Cell(w, 4, c);
                changes << Cell(w, 6, c);
            }
            luck = Cell(w, 7, 0);
            // Sorted by strength the columns still hold whole charts.
            Child<QComboBox>(w, "order").setCurrentIndex(1);
            EXPECT_EQ(table.columnCount(), 14);
            table.setCurrentCell(0, 0);
            Child<QComboBox>(w, "order").setCurrentIndex(0);
            // The 午 hour, 11:00-12:59: its middle minute is 11:59.
            table.scrollToItem(table.item(3, 7));
            const QPoint at = table.visualRect(table.model()->index(3, 7)).center();
            QTest::mouseClick(table.viewport(), Qt::LeftButton, Qt::NoModifier, at);
            QTest::mouseDClick(table.viewport(), Qt::LeftButton, Qt::NoModifier, at);
        });
        Click(d, "uncertainHour");
        EXPECT_FALSE(Child<QCheckBox>(d, "hourUnknown").isChecked());
        EXPECT_EQ(Child<QComboBox>(d, "hour").currentIndex(), 11);
        EXPECT_EQ(Child<QComboBox>(d, "minute").currentIndex(), 59);
        EXPECT_EQ(Child<QComboBox>(d, "day").currentIndex(), 3);
        d.reject();
    });
    ChooseCommand(*frame_, ID_NEW_PERSON);
    EXPECT_EQ(starts, (QStringList{"00:00", "01:00", "03:00", "05:00", "07:00", "09:00", "10:14", "11:00", "13:00",
                                   "15:00", "17:00", "19:00", "21:00", "23:00"}));
    ASSERT_EQ(changes.size(), 14);
    EXPECT_EQ(changes[0], QStringLiteral("－"));
    EXPECT_EQ(changes[6], QStringLiteral("月 年"));
    EXPECT_EQ(changes[7], QStringLiteral("時"));
    EXPECT_EQ(changes[13], QStringLiteral("時 日"));
    EXPECT_EQ(years[5], QStringLiteral("己巳"));
    EXPECT_EQ(years[6], QStringLiteral("庚午"));
    EXPECT_NE(days[12], days[13]);
    // 己巳 is a yin year: a woman's luck runs forward.
    EXPECT_EQ(luck, QStringLiteral("順行"));
}

TEST(CandidateOrderTest, SortingKeepsTimeOrderWithinEqualKeys) {
    const auto chart = [](ClockMinute first, bool strong, int age, int pattern, int useful) {
        CandidateChart c{};
        c.Candidate.Span.First = first;
        c.Strong = strong, c.LuckStartAge = age, c.Pattern = pattern, c.Roles[0] = useful, c.Roles[1] = 4;
        return c;
    };
    const std::vector<CandidateChart> charts = {chart(0, false, 5, -1, 0), chart(1, true, 3, 2, 1),
                                                chart(2, false, 3, -1, 2), chart(3, true, 8, -1, 1)};
    struct Case {
        CandidateOrder Order;
        int Element;
        std::vector<ClockMinute> Firsts;
    } const cases[] = {
        {CandidateOrder::Time, 0, {0, 1, 2, 3}},           {CandidateOrder::StrongFirst, 0, {1, 3, 0, 2}},
        {CandidateOrder::WeakFirst, 0, {0, 2, 1, 3}},      {CandidateOrder::EarlyLuckFirst, 0, {1, 2, 0, 3}},
        {CandidateOrder::PatternFirst, 0, {1, 0, 2, 3}},   {CandidateOrder::FavouredElement, 1, {1, 3, 0, 2}},
        {CandidateOrder::FavouredElement, 4, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        std::vector<CandidateChart> sorted(charts.rbegin(), charts.rend());
        SortCandidates(sorted, c.Order, c.Element);
        std::vector<ClockMinute> firsts;
        for (const CandidateChart& s : sorted) firsts.push_back(s.Candidate.Span.First);
        EXPECT_EQ(firsts, c.Firsts) << static_cast<int>(c.Order) << " " << c.Element;
    }
}

}  // namespace
}  // namespace qv::test
