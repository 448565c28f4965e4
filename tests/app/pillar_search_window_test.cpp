// 八字反查 through the real program: 視窗 › 八字反查 lists the ranges
// of the pillars chosen, explains a combination that cannot occur, and a
// double click starts a new person on the middle of a range.
#include <QLabel>
#include <QSpinBox>
#include <QTableWidget>

#include "command_table.h"
#include "person_dialog.h"
#include "pillar_search_window.h"
#include "shell_fixture.h"

namespace qv::test {
namespace {

using namespace qv::ui;

void ChoosePillar(PillarSearchWindow& w, int slot, const char* name) {
    auto& box = Child<QComboBox>(w, ("pillar" + std::to_string(slot)).c_str());
    box.setCurrentIndex(box.findText(QString::fromUtf8(name)));
    ASSERT_GE(box.currentIndex(), 0) << name;
}

class PillarSearchWindowTest : public ShellTest {};

TEST_F(PillarSearchWindowTest, RangesOfTheChosenPillarsAndANewPersonOnTheMiddleOfOne) {
    StartProgram(root_, app_, frame_);
    ChooseCommand(*frame_, ID_PILLAR_SEARCH);
    PillarSearchWindow* w = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (w = frame_->findChild<PillarSearchWindow*>()) && w->isVisible(); }));
    auto& ranges = Child<QTableWidget>(*w, "ranges");
    auto& status = Child<QLabel>(*w, "status");

    // 乙庚之歲戊為頭: a 庚 year's 寅 month is 戊寅, never 甲寅.
    ChoosePillar(*w, 0, "庚午");
    ChoosePillar(*w, 1, "甲寅");
    Click(*w, "search");
    EXPECT_EQ(ranges.rowCount(), 0);
    EXPECT_EQ(status.text().toStdString(), "月柱與年柱不合：月干須由年干推出（年上起月）");

    // 庚午 returns every 60 years: 1810, 1870, 1930, 1990, 2050; its 戊寅 month
    // of 1990 opens at 立春, 10:14.
    ChoosePillar(*w, 1, "戊寅");
    Click(*w, "search");
    ASSERT_EQ(ranges.rowCount(), 5);
    QStringList years;
    for (int r = 0; r < 5; ++r) years << ranges.item(r, 0)->text().left(4);
    EXPECT_EQ(years, (QStringList{"1810", "1870", "1930", "1990", "2050"}));
    EXPECT_EQ(ranges.item(3, 0)->text(), QStringLiteral("1990-02-04 10:14"));
    EXPECT_EQ(ranges.item(3, 2)->text(), QStringLiteral("1990年1月9日"));

    Child<QSpinBox>(*w, "firstYear").setValue(1990);
    Child<QSpinBox>(*w, "lastYear").setValue(1990);
    Click(*w, "search");
    ASSERT_EQ(ranges.rowCount(), 1);
    const PillarRange range = w->Found()[0];
    const Moment middle = PillarSearchWindow::MiddleOf(range);
    EXPECT_GT(ClockMinuteOf(middle) - range.First, 14 * 1440);
    EXPECT_GT(range.Last - ClockMinuteOf(middle), 14 * 1440);
    QString note;
    std::vector<int> shown;
    WhenModal<PersonDialog>([&](PersonDialog& d) {
        note = Child<QLabel>(d, "startNote").text();
        shown = ShownBirth(d);
        d.reject();
    });
    const QPoint at = ranges.visualRect(ranges.model()->index(0, 1)).center();
    QTest::mouseClick(ranges.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(ranges.viewport(), Qt::LeftButton, Qt::NoModifier, at);
    ASSERT_TRUE(WaitUntil([&] { return !note.isEmpty(); }));
    EXPECT_TRUE(note.startsWith(QStringLiteral("八字反查：1990-02-04 10:14 至 1990-03-0"))) << note.toStdString();
    EXPECT_EQ(shown, (std::vector<int>{middle.Year, middle.Month, middle.Day, middle.Hour, middle.Minute}));
    w->close();
}

}  // namespace
}  // namespace qv::test
