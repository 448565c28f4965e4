#pragma once
// The logo window (CLogoWnd): the picture "EABOUT.LGO" with the version line,
// frameless and on top. It closes after the time limit (four ticks of 250 ms
// a second; no limit for 0 seconds), or at once on a left click or a key.
#include <QBasicTimer>
#include <QImage>
#include <QWidget>
#include <string>

namespace qv::ui {

inline constexpr int LogoFallbackWidth = 320;
inline constexpr int LogoFallbackHeight = 240;
inline constexpr int LogoTickMs = 250;

// The picture of a Windows bitmap file of 16, 24 or 32 bits per pixel without a
// colour table. A null image, with the reason, when the file is missing or its
// header sizes do not fit the file length.
QImage LoadLogoPicture(const std::string& path, std::string& problem);

class CLogoWnd : public QWidget {
    Q_OBJECT
public:
    CLogoWnd(int seconds, const std::string& picturePath, QWidget* owner = nullptr);

    // Shows it centred on the screen and starts the timer.
    void Start();
    bool Done() const { return done_; }
    bool HasPicture() const { return !picture_.isNull(); }
    int TickLimit() const { return limit_; }
    int TimerInterval() const { return timer_.isActive() ? LogoTickMs : 0; }
    // One timer tick; public so the time limit can be checked tick by tick.
    void Tick();

signals:
    void Finished();

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Finish();

    QImage picture_;
    QSize size_;
    int limit_;
    int ticks_ = 0;
    bool done_ = false;
    QBasicTimer timer_;
};

// Shows the logo and runs a modal event loop until it is gone.
void RunLogo(int seconds, const std::string& picturePath, QWidget* owner);

}  // namespace qv::ui
