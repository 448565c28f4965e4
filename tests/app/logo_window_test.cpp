// The logo window: the shipped picture, broken files, the time limit and how it closes.
#include <sys/stat.h>

#include <QImage>

#include "logo_window.h"
#include "picture_file.h"
#include "shell_fixture.h"

namespace qv::test {
namespace {

using ui::CLogoWnd;

const std::string Shipped = std::string(QUORVANE_BIN_DIR "/EABOUT.LGO");

TEST(LogoPictureTest, TheShippedPictureIsA320By240Bitmap) {
    QtApp();
    std::string problem;
    const QImage picture = ui::LoadLogoPicture(Shipped, problem);
    ASSERT_FALSE(picture.isNull()) << problem;
    EXPECT_EQ(picture.size(), QSize(320, 240));
    // The same file read by Qt's own bitmap reader gives the same pixels.
    const QImage byQt = QImage(QString::fromStdString(Shipped), "BMP").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(picture, byQt);
}

TEST(LogoPictureTest, RefusesFilesWhoseHeaderDoesNotFit) {
    const std::string good = ReadFileText(Shipped);
    TempDir dir;
    const auto refused = [&](const std::string& bytes, const char* what) {
        const std::string path = dir.Path() + "/broken.lgo";
        std::ofstream(path, std::ios::binary) << bytes;
        std::string problem;
        EXPECT_TRUE(ui::LoadLogoPicture(path, problem).isNull()) << what;
        EXPECT_FALSE(problem.empty()) << what;
    };
    refused(good.substr(0, good.size() - 1), "one byte short");
    refused(good.substr(0, 40), "shorter than the headers");
    std::string header12 = good;
    header12[14] = 12;
    refused(header12, "an old 12-byte header");
    std::string eightBits = good;
    eightBits[28] = 8;
    refused(eightBits, "a pixel format with a colour table");
    std::string huge = good;
    huge[22] = 0, huge[23] = 0, huge[24] = 1;  // 65536 rows
    refused(huge, "more rows than the file holds");
    refused("PK" + good.substr(2), "not a bitmap");
    const std::string fifo = dir.Path() + "/fifo.lgo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& odd : {dir.Path() + "/missing.lgo", fifo, std::string("/dev/zero"), dir.Path()}) {
        std::string problem;
        EXPECT_TRUE(ui::LoadLogoPicture(odd, problem).isNull()) << odd;
        EXPECT_FALSE(problem.empty()) << odd;
        EXPECT_TRUE(ui::ReadPictureFile(odd, problem).isNull()) << odd << ": the banner and the icon read alike";
    }
}

// Five seconds close at the twenty-second tick; a missing picture gives the plain frame.
TEST(LogoWindowTest, FiveSecondsCloseAtTheTwentySecondTick) {
    QtApp();
    CLogoWnd plain(5, "/nonexistent/EABOUT.LGO");
    EXPECT_FALSE(plain.HasPicture());
    EXPECT_EQ(plain.size(), QSize(322, 242));  // 320 x 240 inside a thin border
    CLogoWnd logo(5, Shipped);
    logo.Start();
    EXPECT_TRUE(logo.HasPicture());
    EXPECT_EQ(logo.TickLimit(), 20);
    EXPECT_EQ(logo.TimerInterval(), 250);
    EXPECT_TRUE(logo.testAttribute(Qt::WA_WState_Visible));
    EXPECT_TRUE(logo.windowFlags() & Qt::FramelessWindowHint);
    for (int tick = 1; tick <= 21; ++tick) logo.Tick();
    EXPECT_FALSE(logo.Done());
    logo.Tick();
    EXPECT_TRUE(logo.Done());
    EXPECT_EQ(logo.TimerInterval(), 0);
}

TEST(LogoWindowTest, AboutLogoStaysUntilALeftClickOrAKey) {
    QtApp();
    CLogoWnd about(0, Shipped);
    about.Start();
    for (int tick = 0; tick < 1000; ++tick) about.Tick();
    QTest::mouseClick(&about, Qt::RightButton);
    EXPECT_FALSE(about.Done());
    QTest::mouseClick(&about, Qt::LeftButton);
    EXPECT_TRUE(about.Done());

    CLogoWnd keyed(0, Shipped);
    keyed.Start();
    QTest::keyClick(&keyed, Qt::Key_Space);
    EXPECT_TRUE(keyed.Done());
}

}  // namespace
}  // namespace qv::test
