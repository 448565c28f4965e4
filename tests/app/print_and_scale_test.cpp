// The dialogs on a large screen, and the printouts of 擇日 and 命盤對照.
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

#include "offscreen_app.h"
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

}  // namespace
}  // namespace qv::test
