#pragma once
// The chart view (CQuorvaneView): the logical 1024 x 768 page scaled to the
// window by the painter's transform, scrolling when the window is smaller than
// the smallest readable page.
#include <QAbstractScrollArea>

namespace qv::ui {

class CQuorvaneApp;

inline constexpr int SmallestPageWidth = 640;
inline constexpr int SmallestPageHeight = 480;

class CQuorvaneView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CQuorvaneView(CQuorvaneApp& app, QWidget* parent = nullptr);

    // Draws the page (the chart when one is shown, else white) filling target.
    void PaintPage(QPainter& painter, QSize target);
    // The page size on screen for a window of this size.
    static QSize PageSizeFor(QSize viewport);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateScrollRanges();

    CQuorvaneApp& app_;
};

}  // namespace qv::ui
