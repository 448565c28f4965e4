#include "curve_explanation.h"

#include <algorithm>

#include "engine/fortune/fortune.h"
#include "engine/fortune/levels.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

constexpr size_t MaxLabelBytes = 31;

// The signed tens of the travel row value: its feeling word counts from them.
int TravelTens(const ChartRecord& rec, int pillar) { return TravelValueOfPillar(rec, pillar) / 10; }

HotArea BarArea(const FortuneCurve& c, const ChartRecord& rec, const CurveLayout& l, int i) {
    const CurveBar& bar = c.Bars[i];
    HotArea area;
    const CurveBox cell = FeelingCell(l, i);
    area.Box = CurveBox{cell.X, cell.Y - HotAreaReach, cell.Width, cell.Height + 2 * HotAreaReach};
    // Measured from the base line, as the bar stands: a category whose base line lies
    // below its bars would otherwise call its best bar 0 and 平穩.
    area.Value = bar.Value == UnbornValue ? 0 : bar.Value;
    area.Unborn = bar.Value == UnbornValue;
    area.Baseline = c.Baseline;
    area.Shown = ValueText(c, i);
    if (area.Unborn || bar.OutOfTable) return area;
    area.Label = FeelingRowText(c, rec, i).substr(0, MaxLabelBytes);
    if (c.Category == TravelCategory) {
        if (bar.Pillar != NoPillar) area.Level = TravelTens(rec, bar.Pillar);
        return area;
    }
    const Feeling f = FeelingOf(bar.Value, bar.Change, c.Step, i == 0 && FirstBarExempt(c.Mode, 0));
    area.Level = f.Level;
    area.Turning = f.Turning;
    return area;
}

}  // namespace

std::vector<HotArea> CurveHotAreas(const FortuneCurve& c, const ChartRecord& rec, const CurveLayout& l) {
    std::vector<HotArea> areas;
    areas.reserve(c.Count);
    for (int i = 0; i < c.Count; ++i) areas.push_back(BarArea(c, rec, l, i));
    return areas;
}

bool ExplanationAt(const std::vector<HotArea>& areas, int x, int y, HotArea& chosen) {
    const auto hit = std::ranges::find_if(areas, [&](const HotArea& a) { return a.Box.Contains(x, y); });
    if (hit != areas.end()) {
        chosen = *hit;
        return true;
    }
    if (x >= ExplanationMargin) return false;
    chosen = HotArea{};
    chosen.General = true;
    return true;
}

bool OverExplanation(const std::vector<HotArea>& areas, int x, int y) {
    HotArea ignored;
    return ExplanationAt(areas, x, y, ignored);
}

std::string ExplanationBody(const HotArea& area, int mode, int category) {
    if (area.General) return std::string(StringText(ExplanationText(category, mode)));
    std::string body(StringText(ValueCaptionText));
    body += "【" + std::to_string(area.Value) + "】";
    // A floating base line: the number beside the bar is the base line plus the value explained.
    if (area.Baseline != 0 && !area.Shown.empty())
        body += "（" + std::string(StringText(ShownValueText)) + " " + area.Shown + "，" +
                std::string(StringText(BaselineWordText)) + " " + std::to_string(area.Baseline) + "）";
    body += "\n";
    const int commentary = area.Unborn ? NoText : CommentaryText(category, mode, area.Value);
    if (commentary != NoText) body += StringText(commentary);
    body += "\n\n";
    body += StringText(FeelingCaptionText);
    if (area.Unborn) return body + std::string(StringText(NotBornText));
    // A travel bar's feeling is its own words (activity and feeling), not one of the twelve levels.
    if (category == TravelCategory) return body + area.Label;
    const bool known = area.Level >= 0 && area.Level < LevelCount && mode >= 0 && mode < PeriodKindCount;
    if (known) {
        if (const int feeling = FeelingText(mode, FeelingIndex(area.Level, area.Turning)); feeling != NoText)
            body += StringText(feeling);
    }
    return body;
}

std::string ExplanationCaption(const std::string& windowCaption, const HotArea& area) {
    std::string own(ExplanationDialogCaption);
    if (!area.General) own += "  --  " + area.Label;
    return windowCaption + "  " + own;
}

}  // namespace qv::ui
