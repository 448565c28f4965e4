// The person dialog through its widgets: the lists it offers, the calendars,
// the unknown hour, and the input it refuses while staying open.
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <functional>
#include <optional>
#include <tuple>

#include "clock_note.h"
#include "person_dialog.h"
#include "shell_fixture.h"
#include "engine/texts/string_table.h"
#include "engine/texts/text_ids.h"

namespace qv::test {
namespace {

using ui::PersonDialog;
using ui::PersonDialogSetup;

class PersonDialogTest : public ::testing::Test {
protected:
    void SetUp() override { QtApp(); }

    std::unique_ptr<PersonDialog> Open(int templateId = 6005, const PersonRecord& person = {}, int yearDisplay = 1,
                                       int ratHourRule = 1, const ui::ClockNote& previous = {}) {
        PersonDialogSetup setup{templateId, static_cast<int16_t>(yearDisplay), static_cast<int16_t>(ratHourRule),
                                LocalDateTime{2026, 12, 6, 6, 30}, nullptr, previous};
        auto dialog = std::make_unique<PersonDialog>(setup, person, nullptr);
        dialog->show();
        return dialog;
    }

    static QComboBox& List(PersonDialog& d, const char* name) { return Child<QComboBox>(d, name); }
    static void Choose(PersonDialog& d, const char* list, int index) { List(d, list).setCurrentIndex(index); }
    static void ChooseDate(PersonDialog& d, int year, int month, int day) {
        Choose(d, "year", year - 1900);
        Choose(d, "month", month - 1);
        Choose(d, "day", day - 1);
    }
    static void Type(PersonDialog& d, const char* edit, const QString& text) {
        Retype(Child<QLineEdit>(d, edit), text);
    }
    static void TypeRemarks(PersonDialog& d, const QString& text) {
        auto& remarks = Child<QPlainTextEdit>(d, "remarks");
        remarks.clear();
        remarks.insertPlainText(text);
    }
    // Presses "排盤"; true when the dialog closed with OK.
    static bool PressChart(PersonDialog& d) {
        Click(d, "ok");
        return d.result() == QDialog::Accepted;
    }
};

// A new person starts at the clock, Gregorian and male; the year list follows the year display.
TEST_F(PersonDialogTest, NewPersonStartsAtTheClockInGregorianMaleWithTheYearsAsDisplayed) {
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("請輸入個人資料"));
    EXPECT_EQ(List(*d, "year").count(), 200);
    EXPECT_EQ(ShownBirth(*d), (std::vector<int>{2026, 12, 6, 6, 30}));
    EXPECT_EQ(List(*d, "year").currentText(), QStringLiteral("民國115"));
    EXPECT_TRUE(Child<QRadioButton>(*d, "solar").isChecked());
    EXPECT_TRUE(Child<QRadioButton>(*d, "male").isChecked());
    EXPECT_FALSE(Child<QCheckBox>(*d, "hourUnknown").isChecked());
    for (auto [row, text] : {std::pair{0, "民國前12"}, {11, "民國前1"}, {12, "民國元年"}, {13, "民國2"}, {199, "民國188"}})
        EXPECT_EQ(List(*d, "year").itemText(row), QString::fromUtf8(text)) << row;
    auto western = Open(6005, {}, 0);
    EXPECT_EQ(List(*western, "year").itemText(0), QStringLiteral("1900"));
    EXPECT_EQ(List(*western, "year").itemText(199), QStringLiteral("2099"));
    EXPECT_EQ(List(*western, "month").itemText(0), QStringLiteral(" 1"));
}

TEST_F(PersonDialogTest, FebruaryHasTheDaysOfItsYear) {
    auto d = Open();
    for (auto [year, days] : {std::pair{2000, 29}, {1900, 28}, {2024, 29}, {2023, 28}}) {
        ChooseDate(*d, year, 2, 1);
        EXPECT_EQ(List(*d, "day").count(), days) << year;
    }
    ChooseDate(*d, 2024, 1, 31);
    Choose(*d, "month", 1);
    EXPECT_EQ(List(*d, "day").currentText(), QStringLiteral("29"));
}

TEST(TypedYearTest, ShortNumbersAreRepublicanYearsWhereTheyAreShown) {
    const std::tuple<const char*, int, std::optional<int>> cases[] = {
        {"74", 1, 1985},        {"113", 1, 2024},     {"１１３", 1, 2024},   {"1985", 1, 1985},
        {"民國74", 1, 1985},    {"民國74年", 0, 1985}, {"民國前5", 1, 1907}, {"民國元年", 1, 1912},
        {"74", 0, 74},          {"2024", 0, 2024},    {"民國", 1, std::nullopt}, {"abc", 0, std::nullopt}};
    for (const auto& [typed, display, year] : cases) EXPECT_EQ(ui::TypedYear(QString::fromUtf8(typed), display), year) << typed;
}

TEST_F(PersonDialogTest, AYearTypedActsAsAYearChosen) {
    auto typeYear = [](PersonDialog& d, const char* year) {
        Retype(*List(d, "year").lineEdit(), QString::fromUtf8(year));
        emit List(d, "year").lineEdit()->editingFinished();  // as leaving the box does (no focus offscreen)
    };
    auto western = Open(6005, {}, 0);
    ChooseDate(*western, 2023, 2, 1);
    typeYear(*western, "2024");
    EXPECT_EQ(List(*western, "day").count(), 29);
    auto republican = Open();
    ChooseDate(*republican, 2020, 6, 1);
    QTest::mouseClick(&Child<QRadioButton>(*republican, "lunar"), Qt::LeftButton);
    typeYear(*republican, "112");  // 2023: a leap second month
    ASSERT_EQ(List(*republican, "month").count(), 13);
    EXPECT_EQ(List(*republican, "month").itemText(2), QStringLiteral("閏 2"));
    EXPECT_EQ(List(*republican, "year").currentIndex(), 2023 - 1900);
}

TEST_F(PersonDialogTest, LunarModeOffersTheLeapMonthKeepsItAndDropsItWithTheYear) {
    auto d = Open();
    ChooseDate(*d, 2020, 6, 1);  // lunar 2020 has a leap fourth month
    QTest::mouseClick(&Child<QRadioButton>(*d, "lunar"), Qt::LeftButton);
    const QComboBox& months = List(*d, "month");
    ASSERT_EQ(months.count(), 13);
    EXPECT_EQ(months.itemText(4), QStringLiteral("閏 4"));
    EXPECT_EQ(months.currentIndex(), 4);  // 2020-06-01 lies in the leap month
    QApplication::processEvents();
    EXPECT_GT(months.width(), months.fontMetrics().horizontalAdvance(months.itemText(4)) + 16) << "the whole text shows";
    Choose(*d, "month", 4);
    Choose(*d, "day", 9);
    Type(*d, "name", QStringLiteral("閏月生"));
    ASSERT_TRUE(PressChart(*d)) << d->Problem().toStdString();
    const PersonRecord& r = d->Result();
    EXPECT_EQ(r.leapMonth, 1);
    EXPECT_EQ(r.lunarMonth, 4);
    EXPECT_EQ(r.lunarDay, 10);
    EXPECT_EQ(r.year, 2020);
    EXPECT_EQ(r.month, 6);
    EXPECT_EQ(r.day, 1);

    // A year without a leap month: the flag falls back to the month of its number.
    auto next = Open();
    ChooseDate(*next, 2020, 6, 1);
    QTest::mouseClick(&Child<QRadioButton>(*next, "lunar"), Qt::LeftButton);
    Choose(*next, "year", 2021 - 1900);
    EXPECT_EQ(List(*next, "month").count(), 12);
    EXPECT_EQ(List(*next, "month").currentIndex(), 3);
    ASSERT_TRUE(PressChart(*next));
    EXPECT_EQ(next->Result().leapMonth, 0);
    EXPECT_EQ(next->Result().lunarMonth, 4);
}

TEST_F(PersonDialogTest, LateRatHourMovesTheLunarDayOnlyUnderTheCommonRule) {
    // 2024-02-09 is the last day of lunar 2023 month 12.
    for (auto [rule, lunarYear, lunarMonth, lunarDay] : {std::tuple{1, 2024, 1, 1}, {0, 2023, 12, 30}, {2, 2023, 12, 30}}) {
        auto d = Open(6005, {}, 1, rule);
        ChooseDate(*d, 2024, 2, 9);
        Choose(*d, "hour", 23);
        Choose(*d, "minute", 30);
        ASSERT_TRUE(PressChart(*d));
        const PersonRecord& r = d->Result();
        EXPECT_EQ(r.lunarYear, lunarYear) << "rule " << rule;
        EXPECT_EQ(r.lunarMonth, lunarMonth) << "rule " << rule;
        EXPECT_EQ(r.lunarDay, lunarDay) << "rule " << rule;
        EXPECT_EQ(r.day, 9) << "the Gregorian date never moves";
    }
}

TEST_F(PersonDialogTest, UnknownHourGreysTheTimeAndStoresHour25) {
    auto d = Open();
    QTest::mouseClick(&Child<QCheckBox>(*d, "hourUnknown"), Qt::LeftButton);
    EXPECT_FALSE(List(*d, "hour").isEnabled());
    EXPECT_FALSE(List(*d, "minute").isEnabled());
    EXPECT_EQ(List(*d, "hour").currentIndex(), 12);
    EXPECT_EQ(List(*d, "minute").currentIndex(), 0);
    ASSERT_TRUE(PressChart(*d));
    EXPECT_EQ(d->Result().hour, HourUnknown);

    auto modify = Open(6010, d->Result());
    EXPECT_EQ(modify->windowTitle(), QStringLiteral("修改個人資料"));
    EXPECT_TRUE(Child<QCheckBox>(*modify, "hourUnknown").isChecked());
    EXPECT_EQ(List(*modify, "hour").currentIndex(), 12) << "greyed at 12 and 0";
    EXPECT_EQ(List(*modify, "minute").currentIndex(), 0);
    QTest::mouseClick(&Child<QCheckBox>(*modify, "hourUnknown"), Qt::LeftButton);
    EXPECT_TRUE(List(*modify, "hour").isEnabled());
    EXPECT_EQ(List(*modify, "hour").currentIndex(), 12);
}

TEST_F(PersonDialogTest, ModifyStartsFromThePerson) {
    const PersonRecord person = StoredPerson("林美玲", 1988, 2, 15, 9, 40, 1);
    auto d = Open(6010, person);
    EXPECT_EQ(Child<QLineEdit>(*d, "name").text(), QStringLiteral("林美玲"));
    EXPECT_EQ(Child<QLineEdit>(*d, "address").text(), QStringLiteral("台北市"));
    EXPECT_TRUE(Child<QRadioButton>(*d, "female").isChecked());
    EXPECT_EQ(List(*d, "year").currentIndex(), 88);
    EXPECT_EQ(List(*d, "day").currentText(), QStringLiteral("15"));
    ASSERT_TRUE(PressChart(*d));
    EXPECT_EQ(std::memcmp(&d->Result(), &person, sizeof person), 0) << "unchanged fields come back as they were";
}

// Return in 備註 starts a new line instead of charting; the lines are stored
// apart by CR LF and shown again as lines.
TEST_F(PersonDialogTest, RemarksTakeSeveralLines) {
    auto d = Open();
    auto& remarks = Child<QPlainTextEdit>(*d, "remarks");
    remarks.setFocus();
    QTest::keyClicks(&remarks, "line one");
    QTest::keyClick(&remarks, Qt::Key_Return);
    QTest::keyClicks(&remarks, "line two");
    EXPECT_TRUE(d->isVisible());
    ASSERT_TRUE(PressChart(*d));
    PersonTexts texts;
    ASSERT_TRUE(LoadPersonTexts(d->Result(), texts).Ok);
    EXPECT_EQ(texts.Remarks, "line one\r\nline two");

    auto modify = Open(6010, d->Result());
    EXPECT_EQ(Child<QPlainTextEdit>(*modify, "remarks").toPlainText(), QStringLiteral("line one\nline two"));
    EXPECT_EQ(Child<QPlainTextEdit>(*modify, "remarks").blockCount(), 2);
}

// Bad input: a clear message in the dialog, which stays open.
TEST_F(PersonDialogTest, RefusesADayThatDoesNotExistAndYearsOutsideTheCalendar) {
    auto d = Open();
    ChooseDate(*d, 2023, 4, 1);
    List(*d, "day").setEditText(QStringLiteral("31"));
    EXPECT_FALSE(PressChart(*d));
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(d->Problem().toStdString(), StringText(DateNotInCalendarText));
    Choose(*d, "day", 0);  // a real day again: the years below are refused on their own
    for (const char* year : {"1849", "2100", "民國"}) {
        List(*d, "year").setEditText(QString::fromUtf8(year));
        EXPECT_FALSE(PressChart(*d)) << year;
        EXPECT_EQ(d->Problem().toStdString(), StringText(DateNotInCalendarText)) << year;
    }
    ChooseDate(*d, 1900, 1, 15);  // before lunar 1900 begins
    EXPECT_FALSE(PressChart(*d));
    EXPECT_FALSE(d->Problem().isEmpty());
}

TEST_F(PersonDialogTest, RefusesTextsTheRecordCannotHold) {
    auto d = Open();
    Type(*d, "name", QStringLiteral("王😀"));
    EXPECT_FALSE(PressChart(*d));
    EXPECT_EQ(d->Problem(), QStringLiteral("姓名含有 Big5 無法表示的字"));
    Type(*d, "name", QString(16, QChar(0x738B)));  // 16 × 王 = 32 bytes, the field holds 31
    EXPECT_FALSE(PressChart(*d));
    EXPECT_EQ(d->Problem(), QStringLiteral("姓名太長，請縮短"));
    Type(*d, "name", QString(15, QChar(0x738B)));
    Type(*d, "phone", QString(40, QLatin1Char('9')));
    EXPECT_FALSE(PressChart(*d));
    EXPECT_EQ(d->Problem(), QStringLiteral("電話太長，請縮短"));
    Type(*d, "phone", QStringLiteral("02-1234"));
    EXPECT_TRUE(PressChart(*d));
}

TEST_F(PersonDialogTest, AsksWhetherTheBirthCanBeCharted) {
    PersonDialogSetup setup{6005, 1, 1, LocalDateTime{2026, 12, 6, 6, 30},
                            [](const PersonRecord& r) { return r.year == 2026 ? MomentNotChartableText : 0; }};
    PersonDialog d(setup, PersonRecord{}, nullptr);
    d.show();
    EXPECT_FALSE(PressChart(d));
    EXPECT_EQ(d.Problem().toStdString(), StringText(MomentNotChartableText));
    ChooseDate(d, 2025, 1, 1);
    EXPECT_TRUE(PressChart(d));
}

// ---- the birth clock: the birthplace's zone and true solar time ----

class BirthClockDialogTest : public PersonDialogTest {
protected:
    static void ChooseZone(PersonDialog& d, const char* zone) {
        QComboBox& zones = List(d, "zone");
        const int at = zones.findData(QString::fromLatin1(zone));
        ASSERT_GT(at, 0) << zone;
        zones.setCurrentIndex(at);
    }
    static void SolarTimeAt(PersonDialog& d, const QString& longitude) {
        if (!Child<QCheckBox>(d, "solarTime").isChecked()) Click(d, "solarTime");
        Type(d, "longitude", longitude);
    }
    static std::string Shown(PersonDialog& d, const char* label) {
        const QLabel& l = Child<QLabel>(d, label);
        return l.isVisible() ? l.text().toStdString() : std::string();
    }
    static std::string StoredTime(const PersonRecord& r) {
        return ui::MomentText(Moment{r.year, r.month, r.day, r.hour, r.minute});
    }
};

TEST_F(BirthClockDialogTest, ZonesOfferNoneFirstThenTheCommonOnesThenEveryOtherOnce) {
    auto d = Open();
    const QComboBox& zones = List(*d, "zone");
    EXPECT_EQ(zones.currentIndex(), 0);
    EXPECT_EQ(zones.itemText(0), QStringLiteral("不校正（東八區）"));
    EXPECT_EQ(zones.itemText(1), QStringLiteral("台北（Asia/Taipei）"));
    EXPECT_EQ(zones.itemData(2).toString(), QStringLiteral("Asia/Hong_Kong"));
    EXPECT_EQ(zones.itemText(2), QStringLiteral("香港（Asia/Hong_Kong）"));
    QStringList names;
    for (int i = 1; i < zones.count(); ++i)
        if (!zones.itemText(i).isEmpty()) names << zones.itemData(i).toString();
    EXPECT_GT(names.size(), 300) << "every zone of the database";
    EXPECT_EQ(names.removeDuplicates(), 0);
    EXPECT_TRUE(names.contains(QStringLiteral("Europe/Berlin")));
    EXPECT_EQ(zones.itemText(zones.findData(QStringLiteral("Europe/London"))), QStringLiteral("倫敦（Europe/London）"));
    // Typed, a part of the Chinese name or of the ID finds the zone.
    for (const char* typed : {"雪梨", "sydney"}) {
        QComboBox& box = List(*d, "zone");
        box.completer()->setCompletionPrefix(QString::fromUtf8(typed));
        EXPECT_EQ(box.completer()->currentCompletion(), QStringLiteral("雪梨（Australia/Sydney）")) << typed;
    }
    // Typing that ends without a pick: the first zone holding the words, else the choice as it was.
    QComboBox& box = List(*d, "zone");
    const std::pair<const char*, std::string> typings[] = {{"tokyo", "Asia/Tokyo"}, {"nowhere", "Asia/Tokyo"}, {"", ""}};
    for (const auto& [typed, zone] : typings) {
        box.lineEdit()->setText(QString::fromUtf8(typed));
        emit box.lineEdit()->editingFinished();
        EXPECT_EQ(box.currentIndex() > 0 ? box.currentData().toString().toStdString() : "", zone) << typed;
        EXPECT_EQ(box.currentText(), box.itemText(box.currentIndex())) << typed;
    }
    EXPECT_FALSE(Child<QLineEdit>(*d, "longitude").isEnabled()) << "until true solar time is asked for";
}

TEST_F(BirthClockDialogTest, WithoutACorrectionTheRecordIsTheOneAlwaysStored) {
    auto d = Open();
    EnterBirth(*d, 1974, 7, 15, 12, 0);
    Type(*d, "longitude", QStringLiteral("200"));  // ignored while the box is not ticked
    EXPECT_EQ(Shown(*d, "chartedMoment"), "");
    ASSERT_TRUE(PressChart(*d)) << d->Problem().toStdString();
    PersonRecord expected = StoredPerson("", 1974, 7, 15, 12, 0);
    ASSERT_TRUE(StorePersonTexts(PersonTexts{}, expected).Ok);
    EXPECT_EQ(std::memcmp(&d->Result(), &expected, sizeof expected), 0);
    EXPECT_FALSE(d->Note().Applied());
}

// Entered as a Gregorian or as a lunar date, the birth is corrected on its Gregorian day.
TEST_F(BirthClockDialogTest, TaipeiSummerTimeChartsAnHourEarlier) {
    for (const bool lunar : {false, true}) {
        SCOPED_TRACE(lunar ? "lunar" : "Gregorian");
        auto d = Open();
        EnterBirth(*d, 1974, 7, 15, 12, 0);
        if (lunar) Click(*d, "lunar");
        ASSERT_EQ(Child<QRadioButton>(*d, "lunar").isChecked(), lunar);
        ChooseZone(*d, "Asia/Taipei");
        EXPECT_EQ(Shown(*d, "chartedMoment"), "排盤時間：1974-07-15 11:00（台北 UTC+09:00 夏令時間）");
        TypeRemarks(*d, QStringLiteral("出生證明 12:00"));
        ASSERT_TRUE(PressChart(*d)) << d->Problem().toStdString();
        EXPECT_EQ(StoredTime(d->Result()), "1974-07-15 11:00");
        EXPECT_EQ(d->Result().hourBranch, StoredPerson("", 1974, 7, 15, 11, 0).hourBranch);
        EXPECT_EQ(ui::ChartNoteText(d->Note()), "已校正：台北 夏令時間");
        PersonTexts texts;
        ASSERT_TRUE(LoadPersonTexts(d->Result(), texts).Ok);
        EXPECT_EQ(texts.Remarks, "出生證明 12:00\r\n【出生地時間】1974-07-15 12:00;Asia/Taipei;540;1;;0")
            << "the user's remarks, then the clock time as typed";
    }
}

TEST_F(BirthClockDialogTest, AnHourBackOverMidnightMovesTheDateAndTheLunarDay) {
    auto d = Open();
    EnterBirth(*d, 1974, 7, 15, 0, 30);
    ChooseZone(*d, "Asia/Taipei");
    ASSERT_TRUE(PressChart(*d)) << d->Problem().toStdString();
    // As if 1974-07-14 23:30 had been entered, late rat hour and all.
    const PersonRecord direct = StoredPerson("", 1974, 7, 14, 23, 30);
    const PersonRecord& r = d->Result();
    EXPECT_EQ(StoredTime(r), "1974-07-14 23:30");
    EXPECT_EQ(std::tie(r.lunarYear, r.lunarMonth, r.lunarDay, r.leapMonth, r.hourBranch),
              std::tie(direct.lunarYear, direct.lunarMonth, direct.lunarDay, direct.leapMonth, direct.hourBranch));
}

TEST_F(BirthClockDialogTest, ATimeTheClockShowedTwiceAsksWhichFirstByDefault) {
    auto d = Open();
    ChooseZone(*d, "Asia/Taipei");
    EnterBirth(*d, 1974, 9, 30, 22, 30);
    EXPECT_FALSE(Child<QRadioButton>(*d, "firstOfRepeated").isVisible());
    Choose(*d, "hour", 23);
    ASSERT_TRUE(Child<QRadioButton>(*d, "firstOfRepeated").isVisible());
    EXPECT_TRUE(Child<QRadioButton>(*d, "firstOfRepeated").isChecked());
    EXPECT_EQ(Shown(*d, "chartedMoment"), "排盤時間：1974-09-30 22:30（台北 UTC+09:00 夏令時間）");
    ASSERT_TRUE(PressChart(*d));
    EXPECT_EQ(StoredTime(d->Result()), "1974-09-30 22:30");

    auto second = Open();
    ChooseZone(*second, "Asia/Taipei");
    EnterBirth(*second, 1974, 9, 30, 23, 30);
    Click(*second, "secondOfRepeated");
    EXPECT_EQ(Shown(*second, "chartedMoment"), "排盤時間：1974-09-30 23:30（台北 UTC+08:00）");
    // Away from the repeated hour the choice goes, and comes back on the first.
    Choose(*second, "minute", 0);
    Choose(*second, "hour", 12);
    EXPECT_FALSE(Child<QRadioButton>(*second, "secondOfRepeated").isVisible());
    Choose(*second, "hour", 23);
    EXPECT_TRUE(Child<QRadioButton>(*second, "firstOfRepeated").isChecked());
}

TEST_F(BirthClockDialogTest, ModifiedAgainThePersonStartsFromItsClockTimeAndChartsTheSameMoment) {
    auto d = Open();
    TypeRemarks(*d, QStringLiteral("台北出生"));
    ChooseZone(*d, "Asia/Taipei");
    EnterBirth(*d, 1974, 9, 30, 23, 30);
    Click(*d, "secondOfRepeated");
    SolarTimeAt(*d, QStringLiteral("121.5"));
    ASSERT_TRUE(PressChart(*d));
    const PersonRecord stored = d->Result();
    // 15:30 UTC; 6 minutes of longitude east of 120°, 10 of the equation of time.
    EXPECT_EQ(StoredTime(stored), "1974-09-30 23:46");

    // In this run, and after a restart (from the record alone), the same again.
    for (const ui::ClockNote& previous : {d->Note(), ui::ClockNote{}}) {
        auto again = Open(6010, stored, 1, 1, previous);
        EXPECT_EQ(List(*again, "zone").currentData().toString().toStdString(), "Asia/Taipei");
        EXPECT_EQ(List(*again, "hour").currentIndex(), 23);
        EXPECT_EQ(List(*again, "minute").currentIndex(), 30);
        EXPECT_TRUE(Child<QRadioButton>(*again, "secondOfRepeated").isChecked());
        EXPECT_EQ(Child<QLineEdit>(*again, "longitude").text().toStdString(), "121.5");
        EXPECT_EQ(Child<QPlainTextEdit>(*again, "remarks").toPlainText(), QStringLiteral("台北出生")) << "the mark stays hidden";
        ASSERT_TRUE(PressChart(*again));
        EXPECT_EQ(std::memcmp(&again->Result(), &stored, sizeof stored), 0) << "corrected once, never twice";
    }

    // Entered uncorrected, it starts from the record.
    PersonRecord plainRecord = StoredPerson("", 1974, 9, 30, 23, 46);
    auto plain = Open(6010, plainRecord);
    EXPECT_EQ(List(*plain, "zone").currentIndex(), 0);
    EXPECT_EQ(List(*plain, "minute").currentIndex(), 46);
}

TEST(ClockNoteLineTest, RoundTripsAndIgnoresWhatItCannotRead) {
    ui::ClockNote note;
    note.Zone = "Asia/Taipei";
    note.ZoneOffsetMinutes = 540;
    note.DaylightSaving = true;
    note.Longitude = -118.25;
    note.Given = Moment{1974, 7, 15, 12, 0};
    note.SecondOfRepeated = true;
    const std::string remarks = ui::RemarksWithClockNote("台北出生\r\n二行", note);
    EXPECT_EQ(remarks, "台北出生\r\n二行\r\n【出生地時間】1974-07-15 12:00;Asia/Taipei;540;1;-118.25;1");
    EXPECT_EQ(ui::RemarksWithoutClockNote(remarks), "台北出生\r\n二行");
    const ui::ClockNote back = ui::ClockNoteInRemarks(remarks);
    EXPECT_EQ(ui::ClockNoteLine(back), ui::ClockNoteLine(note));
    EXPECT_EQ(ui::ChartNoteText(back), "已校正：台北 夏令時間\n真太陽時 西經118.25°");
    for (const char* bad : {"【出生地時間】1974-13-15 12:00;Asia/Taipei;540;1;;0", "【出生地時間】1974-07-15 12:00;;0;0;;0",
                            "【出生地時間】1974-07-15 12:00;Asia/Taipei;540;1;500;0", "x【出生地時間】1974-07-15 12:00;UTC;0;0;;0",
                            "【出生地時間】1974-07-15 12:00;UTC;0;0;;0\r\nlater"}) {
        EXPECT_FALSE(ui::ClockNoteInRemarks(bad).Applied()) << bad;
        EXPECT_EQ(ui::RemarksWithoutClockNote(bad), bad) << "kept as the user's own text";
    }
}

TEST_F(BirthClockDialogTest, TrueSolarTimeFollowsLongitudeAndTheEquationOfTime) {
    auto d = Open();
    EnterBirth(*d, 2024, 2, 11, 12, 0);
    SolarTimeAt(*d, QStringLiteral("121.5"));
    EXPECT_EQ(Shown(*d, "chartedMoment"), "排盤時間：2024-02-11 11:52（真太陽時 東經121.50°）");
    ASSERT_TRUE(PressChart(*d)) << d->Problem().toStdString();
    EXPECT_EQ(StoredTime(d->Result()), "2024-02-11 11:52");
    EXPECT_EQ(ui::ChartNoteText(d->Note()), "已校正：真太陽時 東經121.50°");
    // Full-width digits as a Chinese input method types them.
    auto wide = Open();
    EnterBirth(*wide, 2024, 2, 11, 12, 0);
    SolarTimeAt(*wide, QStringLiteral("１２１．５"));
    ASSERT_TRUE(PressChart(*wide)) << wide->Problem().toStdString();
    EXPECT_EQ(StoredTime(wide->Result()), "2024-02-11 11:52");
}

// Refused in the dialog, which stays open and stores nothing; mended, it charts.
TEST_F(BirthClockDialogTest, RefusesASkippedHourABadLongitudeAndACorrectionWithoutTheHour) {
    using Step = std::function<void(PersonDialog&)>;
    const auto solarAt = [](const char* at) { return [=](PersonDialog& d) { SolarTimeAt(d, QString::fromUtf8(at)); }; };
    const Step taipei = [](PersonDialog& d) { ChooseZone(d, "Asia/Taipei"); };
    const auto withoutHour = [](Step correct) { return [=](PersonDialog& d) { correct(d), Click(d, "hourUnknown"); }; };
    struct Case { const char* what; Step enter; int problem; Step mend; std::string stored; };
    std::vector<Case> cases = {
        // 01:30 summer time is 00:30 of the chart's clock.
        {"skipped", [&](PersonDialog& d) { EnterBirth(d, 1974, 4, 1, 0, 30), taipei(d); }, SkippedClockTimeText,
         [](PersonDialog& d) { Choose(d, "hour", 1); }, "1974-04-01 00:30"},
        // Without the correction the unknown hour is taken as always.
        {"zone", withoutHour(taipei), CorrectionNeedsHourText, [](PersonDialog& d) { Choose(d, "zone", 0); }, "hour"},
        {"solar", withoutHour(solarAt("121.5")), CorrectionNeedsHourText, [](PersonDialog& d) { Click(d, "solarTime"); },
         "hour"},
    };
    for (const char* bad : {"200", "-180.5", "東經121", "", "nan"})
        cases.push_back({bad, solarAt(bad), LongitudeText, solarAt("-180"), ""});
    for (const Case& c : cases) {
        auto d = Open();
        c.enter(*d);
        if (c.problem == SkippedClockTimeText) {
            EXPECT_EQ(Shown(*d, "chartedMoment"), StringText(c.problem)) << "told before 排盤 too";
        }
        EXPECT_FALSE(PressChart(*d)) << c.what;
        EXPECT_TRUE(d->isVisible()) << c.what;
        EXPECT_EQ(d->Problem().toStdString(), StringText(c.problem)) << c.what;
        EXPECT_EQ(d->Result().year, 0) << c.what << ": nothing taken";
        c.mend(*d);
        ASSERT_TRUE(PressChart(*d)) << c.what << " " << d->Problem().toStdString();
        if (c.stored == "hour") {
            EXPECT_EQ(d->Result().hour, HourUnknown) << c.what;
        } else if (!c.stored.empty()) {
            EXPECT_EQ(StoredTime(d->Result()), c.stored);
        }
    }
}

}  // namespace
}  // namespace qv::test
