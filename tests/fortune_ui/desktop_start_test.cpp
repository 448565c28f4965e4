// The window programs on the desktop: Qt's own dialogs in Chinese, and the
// reason a program cannot start in words a user reads.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QLibraryInfo>
#include <QLocale>
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
    EXPECT_FALSE(DisplayAvailable()) << "the tests draw offscreen: a failure must not wait for a click";
    if (!std::filesystem::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath).toStdString() + "/qtbase_zh_TW.qm"))
        GTEST_SKIP() << "qt6-translations-l10n is not installed";
    ASSERT_TRUE(InstallChineseQtTexts(QtApp()));
    QMessageBox box(QMessageBox::Warning, QStringLiteral("t"), QStringLiteral("t"), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_TRUE(box.button(QMessageBox::Ok)->text().contains(QStringLiteral("確定"))) << box.button(QMessageBox::Ok)->text().toStdString();
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().contains(QStringLiteral("取消")));
    // What Qt's catalogue leaves in English, our own answers; the rest stays Qt's.
    EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Folder"), QStringLiteral("資料夾"));
    EXPECT_EQ(QCoreApplication::translate("QFileSystemModel", "Date Modified"), QStringLiteral("修改日期"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "no such text"), QStringLiteral("no such text"));
    const QString date = QLocale().toString(QDateTime(QDate(2026, 12, 9), QTime(14, 5)), QLocale::ShortFormat);
    EXPECT_TRUE(date.startsWith(QStringLiteral("2026/12/9"))) << date.toStdString();
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
