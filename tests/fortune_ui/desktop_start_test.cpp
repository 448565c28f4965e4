// The window programs on the desktop: Qt's own dialogs in Chinese, and the
// reason a program cannot start in words a user reads.
#include <gtest/gtest.h>

#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "desktop_start.h"
#include "offscreen_app.h"
#include "run_program.h"

namespace qv::test {
namespace {

using namespace qv::ui;

TEST(DesktopStartTest, StandardButtonsReadInTraditionalChinese) {
    QtApp();
    if (!std::filesystem::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString() + "/qtbase_zh_TW.qm"))
        GTEST_SKIP() << "qt6-translations-l10n is not installed";
    ASSERT_TRUE(InstallChineseQtTexts(QtApp()));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("t"), QStringLiteral("t"), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_TRUE(box.button(QMessageBox::Ok)->text().contains(QStringLiteral("確定"))) << box.button(QMessageBox::Ok)->text().toStdString();
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().contains(QStringLiteral("取消")));
}

TEST(DesktopStartTest, OffscreenIsNoDisplay) {
    QtApp();
    EXPECT_FALSE(DisplayAvailable()) << "the tests draw offscreen: a failure must not wait for a click";
}

TEST(DesktopStartTest, TheTermTableFailureNamesTheFileOrTheFoldersSearched) {
    TempDir data;
    const std::string program = data.Path() + "/program";
    const std::string missing = TermTableFailureText(program, "detail");
    if (missing.find("已損壞") != std::string::npos) GTEST_SKIP() << "a shipped table lies beside the tests";
    EXPECT_NE(missing.find("找不到節氣資料檔 AInfo.tbl"), std::string::npos) << missing;
    EXPECT_NE(missing.find(program), std::string::npos) << missing;
    std::filesystem::create_directories(program);
    std::ofstream(program + "/AInfo.tbl") << "not a table";
    const std::string damaged = TermTableFailureText(program, "refused: short");
    EXPECT_NE(damaged.find("已損壞"), std::string::npos) << damaged;
    EXPECT_NE(damaged.find(program + "/AInfo.tbl"), std::string::npos) << damaged;
    EXPECT_NE(damaged.find("refused: short"), std::string::npos);
}

}  // namespace
}  // namespace qv::test
