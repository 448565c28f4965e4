#include "logo_window.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "atomic_file.h"

namespace qv::ui {
namespace {

constexpr size_t FileHeaderSize = 14;
constexpr size_t InfoHeaderSize = 40;
constexpr int LargestSide = 4096;
// The largest bitmap the window shows, with its headers.
constexpr size_t LongestLogoFile = 1024 + size_t{LargestSide} * LargestSide * 4;
const char* const VersionText = "2.00.01" ".04" ".03";

uint32_t U32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

uint16_t U16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

struct BitmapLayout {
    int Width = 0, Height = 0;  // height > 0: rows stored bottom-up
    int Bits = 0;
    size_t Offset = 0, Stride = 0;
};

// Why the bytes are not a bitmap the window can show; empty when they are.
std::string CheckLayout(const std::string& bytes, BitmapLayout& layout) {
    if (bytes.size() < FileHeaderSize + InfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M')
        return "not a Windows bitmap file";
    if (U32(bytes, 14) != InfoHeaderSize) return "information header is not 40 bytes";
    layout.Width = static_cast<int32_t>(U32(bytes, 18));
    layout.Height = static_cast<int32_t>(U32(bytes, 22));
    layout.Bits = U16(bytes, 28);
    const uint32_t compression = U32(bytes, 30);
    if (layout.Width <= 0 || layout.Width > LargestSide || layout.Height == 0 || std::abs(layout.Height) > LargestSide)
        return "picture size out of range";
    if ((layout.Bits != 16 && layout.Bits != 24 && layout.Bits != 32) || compression != 0)
        return "pixel format needs a colour table or is compressed";
    layout.Offset = U32(bytes, 10);
    layout.Stride = (static_cast<size_t>(layout.Width) * layout.Bits + 31) / 32 * 4;
    const size_t pixels = layout.Stride * static_cast<size_t>(std::abs(layout.Height));
    if (layout.Offset < FileHeaderSize + InfoHeaderSize || layout.Offset > bytes.size() ||
        bytes.size() - layout.Offset < pixels)
        return "file is shorter than its header says";
    return {};
}

QRgb PixelAt(const unsigned char* p, int bits) {
    if (bits == 16) {  // X1R5G5B5
        const int v = p[0] | p[1] << 8;
        return qRgb((v >> 10 & 31) * 255 / 31, (v >> 5 & 31) * 255 / 31, (v & 31) * 255 / 31);
    }
    return qRgb(p[2], p[1], p[0]);
}

QImage Decode(const std::string& bytes, const BitmapLayout& layout) {
    const int rows = std::abs(layout.Height);
    QImage image(layout.Width, rows, QImage::Format_RGB32);
    for (int y = 0; y < rows; ++y) {
        const int stored = layout.Height > 0 ? rows - 1 - y : y;
        const auto* row = reinterpret_cast<const unsigned char*>(bytes.data() + layout.Offset + stored * layout.Stride);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < layout.Width; ++x) out[x] = PixelAt(row + x * (layout.Bits / 8), layout.Bits);
    }
    return image;
}

}  // namespace

QImage LoadLogoPicture(const std::string& path, std::string& problem) {
    std::string bytes;
    if (Result read = ReadRegularFile(path, LongestLogoFile, bytes); !read.Ok) {
        problem = read.Detail;
        return {};
    }
    BitmapLayout layout;
    problem = CheckLayout(bytes, layout);
    return problem.empty() ? Decode(bytes, layout) : QImage();
}

CLogoWnd::CLogoWnd(int seconds, const std::string& picturePath, QWidget* owner)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), limit_(4 * seconds) {
    std::string problem;
    picture_ = LoadLogoPicture(picturePath, problem);
    size_ = picture_.isNull() ? QSize(LogoFallbackWidth, LogoFallbackHeight) : picture_.size();
    setObjectName(QStringLiteral("logo"));
    setWindowModality(Qt::ApplicationModal);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFixedSize(size_ + QSize(2, 2));  // a thin border round the picture
}

void CLogoWnd::Start() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    show();
    raise();
    activateWindow();
    setFocus();
    timer_.start(LogoTickMs, this);
}

void CLogoWnd::Tick() {
    if (limit_ != 0 && ticks_ > limit_) Finish();
    ++ticks_;
}

void CLogoWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.translate(1, 1);
    if (!picture_.isNull()) painter.drawImage(0, 0, picture_);
    painter.setPen(QColor(0, 0, 128));
    const QRect versionLine(0, size_.height() - 120, size_.width(), 20);
    painter.drawText(versionLine, Qt::AlignCenter | Qt::TextSingleLine, QString::fromLatin1(VersionText));
}

void CLogoWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer_.timerId()) Tick();
}

void CLogoWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Finish();
}

void CLogoWnd::keyPressEvent(QKeyEvent*) { Finish(); }

void CLogoWnd::Finish() {
    if (done_) return;
    timer_.stop();
    done_ = true;
    hide();
    emit Finished();
}

void RunLogo(int seconds, const std::string& picturePath, QWidget* owner) {
    CLogoWnd logo(seconds, picturePath, owner);
    QEventLoop loop;
    QObject::connect(&logo, &CLogoWnd::Finished, &loop, &QEventLoop::quit);
    logo.Start();
    logo.grabMouse();
    logo.grabKeyboard();
    if (!logo.Done()) loop.exec();
    logo.releaseKeyboard();
    logo.releaseMouse();
}

}  // namespace qv::ui
