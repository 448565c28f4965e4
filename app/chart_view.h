#pragma once
// The chart view (CQuorvaneView): the logical 1024 x 768 page scaled to the
// window by the painter's transform, scrolling when the window is smaller than
// the smallest readable page. Clicks on the page choose the chart kind and the
// period (chart_period.h); the same chart goes to the printer.
#include <QAbstractScrollArea>
#include <vector>

#include "engine/analysis/birth_edges.h"
#include "chart_draw.h"
#include "clock_note.h"

class QPaintDevice;

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
    // Where the chart lies on the logical page.
    static ChartLayout PageLayout();
    // The page point under a viewport point, and the way back.
    QPoint PagePoint(QPoint viewportPoint) const;
    QPoint ViewportPoint(QPoint pagePoint) const;

    // What the tool windows keep clear of, in global coordinates: the period
    // row and the kind buttons as the view shows them now.
    std::vector<QRect> ClickableAreasOnScreen() const;

    bool RightButtonHeld() const { return rightButton_; }
    // After the print preview: the period state rebuilt as it was.
    void EndPrintPreview();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void UpdateScrollRanges();
    QTransform PageToViewport() const;
    void ClickAt(QPoint viewportPoint, bool leftButton);
    void Hover(QPoint viewportPoint);
    // 1/2/3 or F5-F7 and Home choose the kind; the arrows walk the period row. False for other keys.
    bool PressKey(int key);
    void PeriodShown();

    CQuorvaneApp& app_;
    bool rightButton_ = false;
};

// The chart alone on a square of the device's shorter side, at its resolution
// (a printer page or a PDF file), with the note of the birth time's correction
// and, clear of the square, the edges within the margins.
// False when the device cannot be painted on.
bool PrintChartOn(QPaintDevice& device, const ChartRecord& record, const ClockNote& note = {},
                  const EdgeMargins& margins = {});

}  // namespace qv::ui
