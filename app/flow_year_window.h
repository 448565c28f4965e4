#pragma once
// The flow-year window (CFlowYearWnd): a small tool window with the sixty years
// of one sexagenary cycle from the birth year on, each with its age, its pillar
// and the Na Yin element of that pillar.
#include <QRect>
#include <QWidget>
#include <functional>
#include <vector>

#include "engine/chart/chart_record.h"
#include "flow_year_paint.h"

namespace qv::ui {

// Where the window goes on a screen of that size (clamped to 1024 x 768): u is
// a fortieth of the width, the table 30u x 8u, centred at the bottom above a
// strip one caption high.
struct FlowYearLayout {
    int Unit = 0;
    QRect Client;  // the table, in screen coordinates
};
FlowYearLayout LayoutFlowYears(QSize screen, int captionHeight, int frameWidth);

class CFlowYearWnd : public QWidget {
    Q_OBJECT
public:
    // onClosed runs when the window goes away by its close box (or by close()).
    // On a large screen the table is scaled up, kept off keepClear (global coordinates).
    CFlowYearWnd(const ChartRecord& record, std::function<void()> onClosed, QWidget* owner,
                 const std::vector<QRect>& keepClear = {});
    // The unit of the table as laid out; Scale() pixels of the window each.
    int Unit() const { return unit_; }
    double Scale() const { return scale_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    const ChartRecord& record_;
    std::function<void()> onClosed_;
    int unit_ = 0;
    double scale_ = 1;
};

}  // namespace qv::ui
