// The dialogs on a large screen, and the printouts of 擇日 and 命盤對照.
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include "best_days_window.h"
#include "offscreen_app.h"
#include "pdf_checks.h"
#include "picture_export.h"
#include "shell_fixture.h"
#include "tool_window_place.h"

namespace qv::test {
namespace {

using namespace qv::ui;

struct ScreenCase {
    QRect Screen;
    int FontPixels;  // of a dialog whose text is 16 pixels on 1024 x 768
};

// 2560 x 1440 scales the 1024 x 768 layouts by min(2.5, 1.875); 1366 x 768 not at all.
TEST(DialogScale, DefaultFontDialogsGrowWithTheScreenAndStayOnIt) {
    QApplication& app = QtApp();
    const QFont before = QApplication::font();
    QFont sixteen = before;
    sixteen.setPixelSize(16);
    QApplication::setFont(sixteen);
    ScaleDialogsWithScreen(app);
    for (const ScreenCase& c : {ScreenCase{QRect(0, 0, 1024, 768), 16}, ScreenCase{QRect(0, 0, 1366, 768), 16},
                                ScreenCase{QRect(0, 0, 2560, 1440), 30}}) {
        OverrideToolScreenArea(c.Screen);
        QDialog plain, ownFont, sized;
        for (QDialog* d : {&plain, &ownFont, &sized}) (new QVBoxLayout(d))->addWidget(new QLabel(QStringLiteral("姓名："), d));
        ownFont.setFont(sixteen);
        sized.resize(400, 300);
        for (QDialog* d : {&plain, &ownFont, &sized}) d->show();
        EXPECT_EQ(plain.font().pixelSize(), c.FontPixels) << c.Screen.width();
        EXPECT_EQ(plain.findChild<QLabel*>()->font().pixelSize(), c.FontPixels);
        EXPECT_EQ(ownFont.font().pixelSize(), 16);
        EXPECT_EQ(sized.size(), c.FontPixels == 16 ? QSize(400, 300) : QSize(750, 563));
        EXPECT_TRUE(c.Screen.contains(sized.frameGeometry())) << c.Screen.width();
        QMenu menu;  // measured when polished, so grown before it is
        menu.addAction(QStringLiteral("新增個人資料"));
        menu.ensurePolished();
        EXPECT_EQ(menu.font().pixelSize(), c.FontPixels) << c.Screen.width();
    }
    // Taller than 1440 at the full scale: grown only as far as it fits.
    QDialog tall;
    (new QVBoxLayout(&tall))->addWidget(new QLabel(QStringLiteral("備註"), &tall));
    tall.resize(300, 1000);
    tall.show();
    EXPECT_LE(tall.frameGeometry().height(), 1440);
    EXPECT_GT(tall.font().pixelSize(), 16);
    EXPECT_LT(tall.font().pixelSize(), 30);
    OverrideToolScreenArea(std::nullopt);
    QApplication::setFont(before);
}

class PrintAndScaleTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        Store(root_.MainFile(), {StoredPerson("王小明", 1980, 6, 15, 10, 30, 1), StoredPerson("陳美玲", 1984, 2, 3, 7, 8, 0)});
        StartProgram(root_, app_, frame_);
        QueryPersonAt(*app_, 0);
        WhenModal<PersonQueryDialog>([](PersonQueryDialog& q) {  // the second person, 陳美玲
            Child<QListWidget>(q, "names").setCurrentRow(1);
            Click(q, "ok");
        });
    }
    // The pages of what `print` sends through the print dialog, as pdftotext reads them.
    std::vector<std::string> PrintedPages(const std::function<void()>& print, const char* file) {
        const std::string path = dir_.filePath(QString::fromLatin1(file)).toStdString();
        frame_->Printer().setOutputFormat(QPrinter::PdfFormat);
        frame_->Printer().setOutputFileName(QString::fromStdString(path));
        WhenModal<QPrintDialog>([](QPrintDialog& d) { d.accept(); });
        print();
        const std::string info = RunCommandLine("pdfinfo " + ShellQuote(path)).Out;
        const size_t at = info.find("Page size:");
        if (at == std::string::npos || std::sscanf(info.c_str() + at, "Page size: %lf x %lf", &pageWidth_, &pageHeight_) != 2)
            ADD_FAILURE() << info;
        std::vector<std::string> pages;
        const std::string text = PdfText(path);
        for (size_t at = 0, end; (end = text.find('\f', at)) != std::string::npos; at = end + 1)
            pages.push_back(text.substr(at, end - at));
        return pages;
    }
    QTemporaryDir dir_;
    double pageWidth_ = 0, pageHeight_ = 0;  // in points
};

TEST_F(PrintAndScaleTest, BestDaysPrintPageAfterPageAndExportTheWholeList) {
    if (!PdfToolAvailable()) GTEST_SKIP() << "no pdftotext";
    ChooseCommand(*frame_, ID_BEST_DAYS_WINDOW);
    ASSERT_NE(frame_->BestDaysWindow(), nullptr);
    CBestDaysWnd& w = *frame_->BestDaysWindow();
    w.ChoosePerson(1);
    w.SetRange(CivilDate{2030, 1, 1}, CivilDate{2030, 12, 31});
    ASSERT_EQ(w.Days().Count, 365);
    const auto date = [&](int row) { return w.Table()->item(row, 1)->text().left(10).toStdString(); };
    const std::vector<std::string> pages = PrintedPages([&] { w.Print(); }, "days.pdf");
    ASSERT_GT(pages.size(), 5u);  // 365 rows of a readable size
    EXPECT_LT(pageWidth_, pageHeight_);  // upright
    for (size_t k = 0; k < pages.size(); ++k)
        for (const std::string& carries : {std::string("擇日"), std::string("王小明"), std::string("陳美玲"), std::string("乙方日支"),
                                           std::string("2030-01-01 至 2030-12-31"),
                                           "第 " + std::to_string(k + 1) + " 頁，共 " + std::to_string(pages.size()) + " 頁"})
            EXPECT_NE(pages[k].find(carries), std::string::npos) << carries << " not on page " << k + 1;
    EXPECT_NE(pages.front().find(date(0)), std::string::npos);
    EXPECT_NE(pages.back().find(date(364)), std::string::npos);
    EXPECT_EQ(pages.front().find(date(364)), std::string::npos);

    const std::string whole = dir_.filePath(QStringLiteral("whole.pdf")).toStdString();
    SetPictureChooser([&](int) { return std::optional<PictureChoice>(PictureChoice{whole, 0}); });
    w.ExportPicture();
    SetPictureChooser({});
    const std::string text = PdfText(whole);
    EXPECT_EQ(CountOf(text, "\f"), 1);
    EXPECT_NE(text.find(date(0)), std::string::npos);
    EXPECT_NE(text.find(date(364)), std::string::npos);
    EXPECT_EQ(text.find("頁，共"), std::string::npos);
}

TEST_F(PrintAndScaleTest, ComparisonPrintsAcrossALandscapePage) {
    if (!PdfToolAvailable()) GTEST_SKIP() << "no pdftotext";
    ChooseCommand(*frame_, ID_COMPARISON_WINDOW);
    ASSERT_NE(frame_->ComparisonWindow(), nullptr);
    const std::vector<std::string> pages = PrintedPages([&] { frame_->ComparisonWindow()->Print(); }, "pair.pdf");
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].find("陳美玲"), std::string::npos);
    EXPECT_GT(pageWidth_, pageHeight_);  // across
}

}  // namespace
}  // namespace qv::test
