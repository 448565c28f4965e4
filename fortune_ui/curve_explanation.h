#pragma once
// What a click on a fortune curve explains: the hot area of each bar's feeling
// label (recorded at every painting), the left-margin request for the chart's
// explanation, and the words the index-explanation dialog shows. Plain C++.
#include <string>
#include <vector>

#include "fortune_curve.h"

namespace qv::ui {

// A click or a hand cursor this close to the window's left edge asks for the
// explanation of the whole chart.
inline constexpr int ExplanationMargin = 50;
// How far a hot area reaches above and below its label.
inline constexpr int HotAreaReach = 100;
inline constexpr const char* ExplanationDialogCaption = "指數說明";

struct HotArea {
    CurveBox Box;
    int Level = -1;        // level of the label; travel chart: the signed g / 10 of its feeling word
    int Value = 0;         // the bar's value from the base line (0 before birth)
    int Baseline = 0;      // the chart's base line
    std::string Shown;     // the number beside the bar, as painted (base line + value)
    bool General = false;  // the left-margin request, not a bar
    bool Turning = false;  // the label carries 變
    bool Unborn = false;   // a period before birth: no bar, no label
    std::string Label;     // the feeling label as painted, at most 31 bytes
};

// One area per bar, in bar order, as the window painted them.
std::vector<HotArea> CurveHotAreas(const FortuneCurve& curve, const ChartRecord& rec, const CurveLayout& layout);

// What a left-button release at (x, y) opens: the first area holding the point,
// else the general request within the left margin, else nothing (false).
bool ExplanationAt(const std::vector<HotArea>& areas, int x, int y, HotArea& chosen);
// Whether the hand cursor belongs over the point.
bool OverExplanation(const std::vector<HotArea>& areas, int x, int y);

// The dialog's text (UTF-8, lines ending in "\n").
std::string ExplanationBody(const HotArea& area, int mode, int category);
// The dialog's caption: the window's caption, two blanks, 指數說明, and for a bar "  --  " and its label.
std::string ExplanationCaption(const std::string& windowCaption, const HotArea& area);

}  // namespace qv::ui
