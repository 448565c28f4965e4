#include "engine/chart/luck.h"

#include <cstdio>

#include "engine/calendar/calendar.h"
#include "engine/chart/chart_compute.h"
#include "engine/texts/string_table.h"
#include "engine/chart/symbols.h"

namespace qv {
namespace {

// Converts 360-day years into days of a 365.2422-day year.
constexpr double YearLengthFactor = 1.01456165;

int Wrap(int v, int n) { return ((v % n) + n) % n; }

// Index -1 when there is no table or it cannot reach the term.
TermSpan DistanceInTable(const SolarTermTable* table, const Moment& m, bool forward, bool monthTermsOnly) {
    if (table == nullptr) return TermSpan{-1, 0, 0, 0};
    return TermDistance(*table, m, forward, monthTermsOnly);
}

}  // namespace

LuckSpan LuckSpanOf(int days, int hours, int minutes) {
    const int16_t h = static_cast<int16_t>(days * 24 + hours);
    const int16_t e = static_cast<int16_t>(2 * minutes);
    const int16_t f = static_cast<int16_t>((h * 5 + e * (1.0 / 24.0)) * YearLengthFactor);
    LuckSpan span{f, f / 360, 0, 0};
    const int rest = f - 360 * span.Years;
    span.Months = rest / 30;
    span.Days = rest % 30;
    return span;
}

int LuckStartAgeOf(const LuckSpan& span) { return span.Years + (span.Months >= 6 ? 1 : 0) + 1; }

void ComputeLuckStart(ChartRecord& rec, const PillarQuad& pillars) {
    ChartBlock& natal = rec.Natal;
    const Moment birth = BirthMoment(rec.Person);
    const TermSpan distance = DistanceInTable(rec.SolarTerms, birth, rec.LuckForward != 0, true);
    // A birth the table cannot place gets a zero span rather than garbage.
    const LuckSpan span = distance.Index < 0 ? LuckSpan{} : LuckSpanOf(distance.Days, distance.Hours, distance.Minutes);
    natal.LuckStartSpan[0] = static_cast<uint8_t>(span.Years);
    natal.LuckStartSpan[1] = static_cast<uint8_t>(span.Months);
    natal.LuckStartSpan[2] = static_cast<uint8_t>(span.Days);

    const CivilDate start = AddDays(CivilDate{birth.Year, birth.Month, birth.Day}, span.OffsetDays);
    const Moment startMidnight{start.Year, start.Month, start.Day, 0, 0};
    const TermSpan since = DistanceInTable(rec.SolarTerms, startMidnight, false, false);
    // A luck start beyond the table's last year has no term to name.
    natal.LuckStartTerm[0] = since.Index < 0 ? NotApplicable : static_cast<uint8_t>(since.Index);
    natal.LuckStartTerm[1] = since.Index < 0 ? 0 : static_cast<uint8_t>(since.Days & 0xFF);

    const int change = (pillars.Pillar[YearPillar] % 10 + span.Years) % 10;
    natal.LuckChangeStem[0] = static_cast<uint8_t>(change);
    natal.LuckChangeStem[1] = static_cast<uint8_t>(change < 5 ? change + 5 : change - 5);
    const int age = LuckStartAgeOf(span);
    natal.LuckStartAge = static_cast<uint8_t>(age);
    natal.LuckStartAgeMid = static_cast<uint8_t>(age + 5);
}

void BuildLuckPillars(ChartBlock& block, int natalDayStem, bool forward, int stem, int branch, bool stepFirst) {
    const int e = forward ? 1 : -1;
    if (stepFirst) {
        stem = Wrap(stem + e, 10);
        branch = Wrap(branch + e, 12);
    }
    for (int k = 0; k < 12; ++k) {
        block.LuckStem[k] = static_cast<uint8_t>(stem);
        block.LuckBranch[k] = static_cast<uint8_t>(branch);
        block.LuckStemGod[k] = static_cast<uint8_t>(TenGod(natalDayStem, stem));
        block.LuckBranchGod[k] = static_cast<uint8_t>(TenGod(natalDayStem, MainHiddenStem(branch)));
        stem = Wrap(stem + e, 10);
        branch = Wrap(branch + e, 12);
    }
}

LuckLine LuckChangeText(const ChartBlock& block) {
    const std::string_view first = StringText(text_base::Stem + block.LuckChangeStem[0]);
    const std::string_view second = StringText(text_base::Stem + block.LuckChangeStem[1]);
    LuckLine line{};
    std::snprintf(line.Text, sizeof line.Text, "每逢%.*s或%.*s年", static_cast<int>(first.size()), first.data(),
                  static_cast<int>(second.size()), second.data());
    return line;
}

LuckLine LuckStartTermText(const ChartBlock& block) {
    LuckLine line{};
    if (block.LuckStartTerm[0] == NotApplicable) return line;
    const std::string_view term = StringText(text_base::Term + block.LuckStartTerm[0]);
    std::snprintf(line.Text, sizeof line.Text, "%.*s後%3d天交大運", static_cast<int>(term.size()), term.data(),
                  block.LuckStartTerm[1]);
    return line;
}

LuckLine LuckSpanText(const ChartBlock& block) {
    LuckLine line{};
    std::snprintf(line.Text, sizeof line.Text, "出生後%d年%d月%d日交大運", block.LuckStartSpan[0], block.LuckStartSpan[1],
                  block.LuckStartSpan[2]);
    return line;
}

}  // namespace qv
