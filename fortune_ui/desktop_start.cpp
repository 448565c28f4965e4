#include "desktop_start.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include "data_paths.h"

namespace qv::ui {

bool InstallChineseQtTexts(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

bool DisplayAvailable() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("offscreen") || platform.startsWith("minimal")) return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

std::string TermTableFailureText(const std::string& programDir, const std::string& detail) {
    std::string path, notFound;
    DataPaths paths{"", programDir};
    std::string text = FindProgramData(paths, "AInfo.tbl", path, notFound)
                           ? "節氣資料檔已損壞，無法讀取：\n" + path
                           : "找不到節氣資料檔 AInfo.tbl。\n已找過：" + ShippedDataDir() + "\n以及：" + programDir;
    return text + "\n\n程式無法排盤，將結束。\n(" + detail + ")";
}

void ShowStartFailure(const QString& title, const std::string& text) {
    if (!DisplayAvailable()) return;
    int argc = 1;
    char name[] = "quorvane";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    InstallChineseQtTexts(application);
    QMessageBox::critical(nullptr, title, QString::fromStdString(text));
}

}  // namespace qv::ui
