// The two settings dialogs through their widgets and the settings file they write.
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "settings_dialog.h"
#include "settings_file.h"
#include "shell_fixture.h"

namespace qv::test {
namespace {

using ui::SettingsDialog;

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override { QtApp(); }

    std::unique_ptr<SettingsDialog> Open(int templateId) {
        auto d = std::make_unique<SettingsDialog>(templateId, path_);
        d->show();
        return d;
    }
    static bool Checked(QWidget& d, const char* radio) { return Child<QRadioButton>(d, radio).isChecked(); }
    static void Type(QWidget& d, const char* edit, const QString& text) {
        Retype(Child<QLineEdit>(d, edit), text);
    }
    std::string FileText() const { return ReadFileText(path_); }

    TempDir dir_;
    std::string path_ = dir_.Path() + "/program/fsquorvane_s2.ini";
};

TEST_F(SettingsDialogTest, WithoutAFileShowsTheDefaultsAndWritesTheEightKeysInOrder) {
    auto d = Open(ui::ChartingParametersDialog);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("請設定使用參數"));
    for (const char* radio : {"1005", "1007", "1002", "1060", "1010"}) EXPECT_TRUE(Checked(*d, radio)) << radio;
    for (const char* radio : {"1006", "1008", "1003", "1059", "1009", "1011"}) EXPECT_FALSE(Checked(*d, radio)) << radio;
    EXPECT_EQ(Child<QLineEdit>(*d, "1028").text(), QStringLiteral("100"));
    EXPECT_EQ(Child<QLineEdit>(*d, "1029").text(), QStringLiteral("15"));
    EXPECT_EQ(Child<QLineEdit>(*d, "1030").text(), QStringLiteral("10"));
    Click(*d, "ok");
    const std::string text = FileText();
    size_t at = text.find("[fsQuorvane]");
    ASSERT_NE(at, std::string::npos) << text;
    for (const char* line : {"GodBase=0", "SkyBase=0", "YearDisplay=1", "PoolBase=0", "FirstTimeBase=1", "MIDPARM=100",
                             "TermEdgeMinutes=15", "HourEdgeMinutes=10"}) {
        const size_t next = text.find(line, at);
        ASSERT_NE(next, std::string::npos) << line << " after position " << at << " in\n" << text;
        at = next;
    }
    EXPECT_EQ(d->Confirmed().size(), 8u);
}

// Cancelled, the dialog writes nothing even after clicks; confirmed, the
// clicked choices and the threshold are stored, and a minus cannot be typed.
TEST_F(SettingsDialogTest, ClickedChoicesAreStoredOnOkOnlyAndAMinusCannotBeTyped) {
    auto cancelled = Open(ui::ChartingParametersDialog);
    Click(*cancelled, "1008");
    Type(*cancelled, "1028", QStringLiteral("7"));
    cancelled->reject();
    EXPECT_FALSE(Exists(path_));
    EXPECT_TRUE(cancelled->Confirmed().empty());
    auto d = Open(ui::ChartingParametersDialog);
    Click(*d, "1008");
    Click(*d, "1006");
    Click(*d, "1011");
    Type(*d, "1028", QStringLiteral("-35"));
    Click(*d, "ok");
    EXPECT_EQ(ReadSetting(path_, SettingKey::PoolBase), 1);
    EXPECT_EQ(ReadSetting(path_, SettingKey::GodBase), 1);
    EXPECT_EQ(ReadSetting(path_, SettingKey::FirstTimeBase), 2);
    EXPECT_EQ(ReadSetting(path_, SettingKey::MIDPARM), 35);
    auto again = Open(ui::ChartingParametersDialog);  // reads the file, not the last dialog
    EXPECT_TRUE(Checked(*again, "1008"));
    EXPECT_EQ(Child<QLineEdit>(*again, "1028").text(), QStringLiteral("35"));
}

// Entries are limited to whole numbers as they are typed; one outside its
// key's range is refused with the range shown, and nothing is written.
TEST_F(SettingsDialogTest, EntriesStayWithinWhatTheirKeysHold) {
    auto d = Open(ui::ChartingParametersDialog);
    Type(*d, "1028", QStringLiteral("99999"));
    Click(*d, "ok");
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(Exists(path_));
    EXPECT_EQ(Child<QLabel>(*d, "problem").text(), QStringLiteral("中用神須是整數，範圍：0 至 32767"));
    Type(*d, "1028", QStringLiteral("100"));
    Type(*d, "1030", QStringLiteral("30"));
    Click(*d, "ok");
    EXPECT_FALSE(Exists(path_));
    EXPECT_EQ(Child<QLabel>(*d, "problem").text(), QStringLiteral("出生距時辰交界：須是整數，範圍：0 至 29"));

    auto index = Open(ui::IndexFormulaDialog);
    EXPECT_TRUE(Checked(*index, "1012"));
    EXPECT_TRUE(Checked(*index, "1017"));
    EXPECT_EQ(Child<QLineEdit>(*index, "1015").text(), QStringLiteral("20"));
    Type(*index, "1015", QStringLiteral("1.5"));
    Type(*index, "1016", QStringLiteral("abc"));
    Type(*index, "1018", QStringLiteral("-12"));
    EXPECT_EQ(Child<QLineEdit>(*index, "1015").text(), QStringLiteral("15"));
    EXPECT_EQ(Child<QLineEdit>(*index, "1016").text(), QString());
    Click(*index, "ok");
    EXPECT_TRUE(index->isVisible());
    EXPECT_EQ(Child<QLabel>(*index, "problem").text(), QStringLiteral("K2 : 須是整數，範圍：-32768 至 32767"));
    EXPECT_FALSE(Exists(path_));

    Type(*index, "1016", QStringLiteral("-7"));
    Type(*index, "1021", QStringLiteral("32767"));
    Click(*index, "1019");
    Click(*index, "1013");
    Click(*index, "ok");
    EXPECT_EQ(ReadSetting(path_, SettingKey::K1), 15);
    EXPECT_EQ(ReadSetting(path_, SettingKey::K2), -7);
    EXPECT_EQ(ReadSetting(path_, SettingKey::BBase), -12);
    EXPECT_EQ(ReadSetting(path_, SettingKey::BADD), 70);
    EXPECT_EQ(ReadSetting(path_, SettingKey::CBASE), 32767);
    EXPECT_EQ(ReadSetting(path_, SettingKey::BTYPE), 1);
    EXPECT_EQ(ReadSetting(path_, SettingKey::FiveType), 1);
    EXPECT_FALSE(ProfileValue(FileText(), "fsQuorvane", "MIDPARM")) << "only the dialog's own seven keys";
}

TEST(EditValueTest, IsAWholeNumberWithinTheKeysRange) {
    EXPECT_EQ(ui::EditValue(QStringLiteral(" 42 "), SettingKey::K1), 42);
    EXPECT_EQ(ui::EditValue(QStringLiteral("-32768"), SettingKey::K1), -32768);
    for (const char* refused : {"65535", "", "4a", "1.5"}) EXPECT_FALSE(ui::EditValue(QString::fromLatin1(refused), SettingKey::K1));
    EXPECT_FALSE(ui::EditValue(QStringLiteral("-1"), SettingKey::MIDPARM));
}

}  // namespace
}  // namespace qv::test
