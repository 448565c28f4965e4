#include "chart_period.h"

namespace qv::ui {

ChartHit HitTest(const ChartLayout& layout, int x, int y, bool leftButton) {
    const int u = layout.unit;
    const int cx = x - layout.x0, cy = y - layout.y0;
    if (leftButton && x >= KindButtonLeft && x < KindButtonLeft + KindButtonWidth) {
        for (int k = 0; k < KindButtonCount; ++k) {
            const int top = layout.y0 + KindButtonStep * k;
            if (y >= top && y < top + KindButtonHeight) return {ChartSpot::KindButton, k, false};
        }
    }
    if (cy > 33 * u) {
        // The strip is the chart's bottom row; the white page below it is not.
        const bool inStrip = cy <= 34 * u && cx >= 0 && cx < 33 * u / 2;
        return inStrip ? ChartHit{ChartSpot::WebStrip, -1, false} : ChartHit{};
    }
    if (cx >= 0 && cy >= 22 * u && cy <= 28 * u && cx < 24 * u)
        return {ChartSpot::PeriodCell, LuckPillarCount - 1 - cx / (2 * u), cy < 25 * u};
    return {};
}

bool IsClickable(const ChartRecord& rec, const ChartLayout& layout, int x, int y) {
    const ChartHit hit = HitTest(layout, x, y, true);
    if (hit.Spot == ChartSpot::KindButton) return hit.Index != NatalKind || rec.ChartKind != NatalKind;
    return hit.Spot != ChartSpot::Nothing;
}

ClickResult Click(ChartRecord& rec, const ChartLayout& layout, int x, int y, bool leftButton) {
    const ChartHit hit = HitTest(layout, x, y, leftButton);
    switch (hit.Spot) {
        case ChartSpot::WebStrip: return ClickResult::OpenHelp;
        case ChartSpot::KindButton:
            if (hit.Index == rec.ChartKind && hit.Index == NatalKind) return ClickResult::Nothing;
            ChooseKind(rec, hit.Index);
            return ClickResult::Repaint;
        case ChartSpot::PeriodCell: ChooseCell(rec, hit.Index, hit.UpperHalf); return ClickResult::Repaint;
        case ChartSpot::Nothing: break;
    }
    return ClickResult::Nothing;
}

}  // namespace qv::ui
