#pragma once
// The fortune-curve window (運勢圖): a modal dialog that draws one curve, pages
// through periods with Page Up / Page Down and prints with P or F1.
#include <QDialog>
#include <QImage>
#include <QTransform>
#include <functional>
#include <QRect>
#include <memory>
#include <vector>

#include "curve_explanation.h"
#include "fortune_curve.h"
#include "second_series.h"

class QScrollBar;

namespace qv::ui {

// A person charted with the fortune tables for a second series; false when cancelled.
using SecondChooser = std::function<bool(ChartRecord&)>;

class CFortuneCurveWindow : public QDialog {
    Q_OBJECT
public:
    // `curve` as OpenCurve filled it for `rec`; the window pages it on. On a
    // large screen the chart is scaled up, kept off keepClear (global
    // coordinates); resized, the drawing follows the window.
    // With a chooser, the lifetime and ten-year charts take a second person
    // (key W, or the context menu).
    CFortuneCurveWindow(ChartRecord& rec, const FortuneCurve& curve, QWidget* parent = nullptr,
                        const std::vector<QRect>& keepClear = {}, SecondChooser chooseSecond = {});
    ~CFortuneCurveWindow() override;

    const FortuneCurve& Curve() const { return curve_; }
    const CurveLayout& Layout() const { return layout_; }
    // From the layout's pixels to the window's: scaled to fit, centred.
    QTransform ChartToWindow() const;
    // Where a window point lies on the chart, the fixed heading column included.
    QPoint WindowToChart(QPointF at) const;
    // -1 previous, +1 next period; false at a limit.
    bool Page(int direction);
    const ChartRecord& Record() const { return rec_; }

    // Charts by calendar year take a second person's values of the category.
    bool TakesSecond() const;
    // The person (charted with the fortune tables) drawn as a second series;
    // false, nothing changed, for a chart that is not by years.
    bool ShowSecond(std::unique_ptr<ChartRecord> second);
    void DropSecond();
    void ChooseSecond();  // through the chooser
    const SecondSeries& Second() const { return *series_; }

    // Saves the chart as a PNG or PDF picture (key S, or the context menu).
    void ExportChart();

    // Replaces the printing (a test watches it); empty restores PrintChart.
    using Printer = std::function<void(CFortuneCurveWindow&)>;
    void SetPrinter(Printer printer) { printer_ = std::move(printer); }

    // Clicks that explain, in every program: each painting records the bars'
    // hot areas, the hand cursor shows over them and in the left margin, and a
    // left-button release there opens the index explanation.
    const std::vector<HotArea>& HotAreas() const { return hotAreas_; }
    // Replaces the explanation dialog (a test watches it); empty restores it.
    using Explainer = std::function<void(CFortuneCurveWindow&, const HotArea&)>;
    void SetExplainer(Explainer explainer) { explainer_ = std::move(explainer); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Relayout(QSize screen);
    bool Scrolls() const;
    double ScrolledScale() const;
    void FitScrollBar();
    void Print();
    void PaintChart(QPainter& painter, const QRect& area) const;

    ChartRecord& rec_;
    FortuneCurve curve_;
    CurveLayout layout_;
    Printer printer_;
    std::vector<HotArea> hotAreas_;
    Explainer explainer_;
    QScrollBar* scroll_ = nullptr;  // the lifetime chart's, shown where it is wider than the window
    SecondChooser chooseSecond_;
    std::unique_ptr<ChartRecord> second_;
    std::unique_ptr<SecondSeries> series_;
};

// Opens the window modally on the period; false when there is nothing to show.
bool RunFortuneCurve(QWidget* parent, ChartRecord& rec, int category, int mode, bool lifetime,
                     const FortunePeriod& period, const std::vector<QRect>& keepClear = {},
                     SecondChooser chooseSecond = {});

}  // namespace qv::ui
