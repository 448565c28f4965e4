#include "desktop_start.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <cstring>

#include "data_paths.h"

namespace qv::ui {
namespace {

struct QtText {
    const char* Context;
    const char* Source;
    const char* Chinese;
};
// Texts of Qt's own dialogs that its Traditional Chinese catalogue leaves in English.
constexpr QtText MissingQtTexts[] = {
    {"QAbstractFileIconProvider", "Folder", "資料夾"},
    {"QAbstractFileIconProvider", "File Folder", "檔案資料夾"},
    {"QAbstractFileIconProvider", "Drive", "磁碟"},
    {"QAbstractFileIconProvider", "File", "檔案"},
    {"QAbstractFileIconProvider", "Shortcut", "捷徑"},
    {"QAbstractFileIconProvider", "%1 File", "%1 檔案"},
    {"QFileSystemModel", "Name", "名稱"},
    {"QFileSystemModel", "Size", "大小"},
    {"QFileSystemModel", "Type", "類型"},
    {"QFileSystemModel", "Kind", "類型"},
    {"QFileSystemModel", "Date Modified", "修改日期"},
    {"QFileSystemModel", "My Computer", "我的電腦"},
    {"QFileSystemModel", "Computer", "電腦"},
    {"QFileSystemModel", "%1 TB", "%1 TB"},
    {"QFileSystemModel", "%1 GB", "%1 GB"},
    {"QFileSystemModel", "%1 MB", "%1 MB"},
    {"QFileSystemModel", "%1 KB", "%1 KB"},
    {"QFileSystemModel", "%1 bytes", "%1 位元組"},
    {"QFileDialog", "Files of type:", "檔案類型："},
    {"QFileDialog", "File &name:", "檔名(&N)："},
    {"QFileDialog", "Look in:", "查詢："},
    {"QFileDialog", "Directory:", "資料夾："},
    {"QFileDialog", "Back", "上一步"},
    {"QFileDialog", "Forward", "下一步"},
    {"QFileDialog", "Parent Directory", "上一層資料夾"},
    {"QFileDialog", "Create New Folder", "建立新資料夾"},
    {"QFileDialog", "List View", "清單檢視"},
    {"QFileDialog", "Detail View", "詳細檢視"},
    {"QFileDialog", "New Folder", "新資料夾"},
    {"QFileDialog", "&New Folder", "新資料夾(&N)"},
    {"QFileDialog", "&Choose", "選擇(&C)"},
    {"QFileDialog", "&Open", "開啟(&O)"},
    {"QFileDialog", "&Save", "儲存(&S)"},
    {"QFileDialog", "&Rename", "重新命名(&R)"},
    {"QFileDialog", "&Delete", "刪除(&D)"},
    {"QFileDialog", "Show &hidden files", "顯示隱藏檔(&H)"},
    {"QFileDialog", "All Files (*)", "所有檔案 (*)"},
    {"QFileDialog", "Recent Places", "最近的位置"},
    {"QFileDialog", "Open", "開啟"},
    {"QFileDialog", "Save As", "另存新檔"},
    {"QFileDialog", "Sidebar", "側邊欄"},
    {"QFileDialog", "Alias", "別名"},
    {"QFileDialog", "Unknown", "未知"},
    {"QFileDialog", "%1 already exists.\nDo you want to replace it?", "%1 已存在。\n要取代它嗎？"},
    {"QFileDialog", "%1\nFile not found.\nPlease verify the correct file name was given.",
     "%1\n找不到檔案。\n請確認檔名是否正確。"},
    {"QPlatformTheme", "OK", "確定"},
    {"QPlatformTheme", "Cancel", "取消"},
    {"QPlatformTheme", "&Yes", "是(&Y)"},
    {"QPlatformTheme", "&No", "否(&N)"},
    {"QPlatformTheme", "Save", "儲存"},
    {"QPlatformTheme", "Open", "開啟"},
    {"QPlatformTheme", "Close", "關閉"},
    {"QPlatformTheme", "Apply", "套用"},
    {"QPlatformTheme", "Reset", "重設"},
    {"QPlatformTheme", "Help", "說明"},
    {"QPrintPreviewDialog", "Print Preview", "預覽列印"},
    {"QPrintPreviewDialog", "Export to PDF", "匯出為 PDF"},
    {"QPrintPreviewDialog", "Page setup", "版面設定"},
    {"QPrintPreviewDialog", "Print", "列印"},
    {"QPrintPreviewDialog", "Close", "關閉"},
    {"QPrintPreviewDialog", "Zoom in", "放大"},
    {"QPrintPreviewDialog", "Zoom out", "縮小"},
    {"QPrintPreviewDialog", "Fit width", "符合寬度"},
    {"QPrintPreviewDialog", "Fit page", "符合頁面"},
    {"QPrintPreviewDialog", "Portrait", "直向"},
    {"QPrintPreviewDialog", "Landscape", "橫向"},
    {"QPrintPreviewDialog", "First page", "第一頁"},
    {"QPrintPreviewDialog", "Previous page", "上一頁"},
    {"QPrintPreviewDialog", "Next page", "下一頁"},
    {"QPrintPreviewDialog", "Last page", "最後一頁"},
    {"QPrintPreviewDialog", "Show single page", "單頁"},
    {"QPrintPreviewDialog", "Show facing pages", "對開頁"},
    {"QPrintPreviewDialog", "Show overview of all pages", "所有頁面"},
};

// Our own catalogue, searched before Qt's (installed after it): it answers
// only the texts above and leaves everything else to Qt's.
class MissingQtTextsTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (!context || !source) return {};
        for (const QtText& t : MissingQtTexts)
            if (std::strcmp(t.Context, context) == 0 && std::strcmp(t.Source, source) == 0) return QString::fromUtf8(t.Chinese);
        return {};
    }
    bool isEmpty() const override { return false; }
};

}  // namespace

bool InstallChineseQtTexts(QCoreApplication& application) {
    // Dates and numbers in Qt's own dialogs (a file's date) as a Taiwanese user reads them.
    const QLocale taiwan(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan);
    QLocale::setDefault(taiwan);
    auto* translator = new QTranslator(&application);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const bool loaded = translator->load(taiwan, QStringLiteral("qtbase"), QStringLiteral("_"), folder) &&
                        QCoreApplication::installTranslator(translator);
    if (!loaded) delete translator;
    // Installed last, searched first: our texts before Qt's catalogue.
    QCoreApplication::installTranslator(new MissingQtTextsTranslator(&application));
    return loaded;
}

bool DisplayAvailable() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.startsWith("offscreen") || platform.startsWith("minimal")) return false;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

std::string TermTableFailureText(const std::string& programDir, const std::string& detail) {
    std::string path;
    DataPaths paths{"", programDir};
    std::string text = FindProgramData(paths, "AInfo.tbl", path).Ok
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
