#pragma once
// The potential-analysis window (CPotentialWnd): a modeless tool window that
// charts one category's abilities for the current person in the chosen style,
// with the period's scores beside them while the chart shows a luck pillar or
// a year.
#include <QWidget>
#include <functional>
#include <vector>

#include "potential_paint.h"

class QPrinter;
class QScrollBar;

namespace qv::ui {

class CQuorvaneApp;

// The tool-window frame of the platform's style.
FrameMetrics WindowFrameMetrics(const QWidget& widget);

class CPotentialWnd : public QWidget {
    Q_OBJECT
public:
    // onClosed runs when the window goes away by its close box (or by close()).
    // On a large screen the drawing is scaled up, kept off keepClear (global coordinates).
    CPotentialWnd(const CQuorvaneApp& app, std::function<void()> onClosed, QWidget* owner,
                  std::vector<QRect> keepClear = {});
    // After a category or style change: the shape, the scroll bar and the caption anew.
    void Relayout() { Layout(true); }
    const PotentialLayout& CurrentLayout() const { return layout_; }
    QScrollBar* ScrollBar() const { return scroll_; }
    // What a paint draws now.
    PotentialPicture Picture() const;
    // The drawing area (the client without the scroll bar) as laid out; Scale()
    // pixels of the window each.
    QSize DrawingSize() const { return drawing_; }
    double Scale() const { return scale_; }
    // Saves what it shows as a PNG or PDF picture (key S, or the context menu).
    void ExportPicture();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Layout(bool relayout);

    const CQuorvaneApp& app_;
    std::function<void()> onClosed_;
    QScrollBar* scroll_;
    PotentialLayout layout_;
    std::vector<QRect> keepClear_;
    QSize drawing_;
    double scale_ = 1;
};

// The picture drawn onto the printer's page at its resolution; false when the
// printer cannot be started.
bool PrintPotentialOn(QPrinter& printer, const PotentialPicture& picture);

}  // namespace qv::ui
