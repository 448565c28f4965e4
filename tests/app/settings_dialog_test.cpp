// The two settings dialogs through their widgets and the settings file they write.
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

TEST_F(SettingsDialogTest, WithoutAFileShowsTheDefaultsAndWritesTheSixKeysInOrder) {
    auto d = Open(ui::ChartingParametersDialog);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("請設定使用參數"));
    for (const char* radio : {"1005", "1007", "1002", "1060", "1010"}) EXPECT_TRUE(Checked(*d, radio)) << radio;
    for (const char* radio : {"1006", "1008", "1003", "1059", "1009", "1011"}) EXPECT_FALSE(Checked(*d, radio)) << radio;
    EXPECT_EQ(Child<QLineEdit>(*d, "1028").text(), QStringLiteral("100"));
    Click(*d, "ok");
    const std::string text = FileText();
    size_t at = text.find("[fsQuorvane]");
    ASSERT_NE(at, std::string::npos) << text;
    for (const char* line : {"GodBase=0", "SkyBase=0", "YearDisplay=1", "PoolBase=0", "FirstTimeBase=1", "MIDPARM=100"}) {
        const size_t next = text.find(line, at);
        ASSERT_NE(next, std::string::npos) << line << " after position " << at << " in\n" << text;
        at = next;
    }
    EXPECT_EQ(d->Confirmed().size(), 6u);
}

TEST_F(SettingsDialogTest, ClickedChoicesAndANegativeThresholdAreStored) {
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

TEST_F(SettingsDialogTest, CancelWritesNothingEvenAfterClicks) {
    auto d = Open(ui::ChartingParametersDialog);
    Click(*d, "1008");
    Type(*d, "1028", QStringLiteral("7"));
    d->reject();
    EXPECT_FALSE(Exists(path_));
    EXPECT_TRUE(d->Confirmed().empty());
}

TEST_F(SettingsDialogTest, IndexFormulaKeepsWholeNumbersOnly) {
    auto d = Open(ui::IndexFormulaDialog);
    EXPECT_TRUE(Checked(*d, "1012"));
    EXPECT_TRUE(Checked(*d, "1017"));
    EXPECT_EQ(Child<QLineEdit>(*d, "1015").text(), QStringLiteral("20"));
    EXPECT_EQ(Child<QLineEdit>(*d, "1016").text(), QStringLiteral("30"));
    Type(*d, "1015", QStringLiteral("1.5"));
    Type(*d, "1016", QStringLiteral("x"));
    Type(*d, "1018", QStringLiteral("-12"));
    Type(*d, "1021", QStringLiteral("70000"));  // cut to 16 bits
    Click(*d, "1019");
    Click(*d, "1013");
    Click(*d, "ok");
    EXPECT_EQ(ReadSetting(path_, SettingKey::K1), 0);
    EXPECT_EQ(ReadSetting(path_, SettingKey::K2), 0);
    EXPECT_EQ(ReadSetting(path_, SettingKey::BBase), -12);
    EXPECT_EQ(ReadSetting(path_, SettingKey::BADD), 70);
    EXPECT_EQ(ReadSetting(path_, SettingKey::CBASE), static_cast<int16_t>(70000 - 65536));
    EXPECT_EQ(ReadSetting(path_, SettingKey::BTYPE), 1);
    EXPECT_EQ(ReadSetting(path_, SettingKey::FiveType), 1);
    EXPECT_FALSE(ProfileValue(FileText(), "fsQuorvane", "MIDPARM")) << "only the dialog's own seven keys";
}

TEST(EditValueTest, IsAWholeSigned16BitNumber) {
    EXPECT_EQ(ui::EditValue(QStringLiteral(" 42 "), false), 42);
    EXPECT_EQ(ui::EditValue(QStringLiteral("-42"), true), 42);
    EXPECT_EQ(ui::EditValue(QStringLiteral("-32768"), true), 32767);
    EXPECT_EQ(ui::EditValue(QStringLiteral("65535"), false), -1);
    EXPECT_EQ(ui::EditValue(QStringLiteral(""), false), 0);
    EXPECT_EQ(ui::EditValue(QStringLiteral("4a"), false), 0);
}

}  // namespace
}  // namespace qv::test
