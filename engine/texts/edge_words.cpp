#include "engine/texts/edge_words.h"

#include <cstdlib>

#include "engine/chart/chart_compute.h"
#include "engine/texts/string_table.h"
#include "engine/texts/text_ids.h"

namespace qv {
namespace {

constexpr unsigned PillarBits[4] = {YearChanged, MonthChanged, DayChanged, HourChanged};

}  // namespace

std::string EdgeName(const BirthEdge& e) {
    if (e.Term != NotATerm) return std::string(StringText(text_base::Term + e.Term));
    const int hour = e.MinuteOfDay / 60;
    return std::string{static_cast<char>('0' + hour / 10), static_cast<char>('0' + hour % 10)} + ":00";
}

std::string EdgeNote(const BirthEdge& e) {
    std::string out(StringText(NoteStartText));
    out += EdgeName(e) + ' ' + std::to_string(std::abs(e.Minutes));
    out += StringText(NoteMinutesText);
    bool first = true;
    for (int p = 0; p < 4; ++p)
        if (e.Decides & PillarBits[p]) {
            if (!first) out += "、";
            out += StringText(text_base::PillarName + p);
            first = false;
        }
    out += StringText(NoteEndText);
    return out;
}

std::string EdgeNotes(const SolarTermTable& table, int rule, const Moment& charted, const EdgeMargins& margins) {
    BirthEdge edges[2];
    const size_t n = FindBirthEdges(table, rule, charted, margins, edges);
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        if (i) out += '\n';
        out += EdgeNote(edges[i]);
    }
    return out;
}

std::string ChartEdgeNotes(const ChartRecord& rec, const EdgeMargins& margins) {
    if (!rec.SolarTerms || BirthTimeUnknown(rec)) return {};
    return EdgeNotes(*rec.SolarTerms, PillarRatHourRule(rec.Options), BirthMoment(rec.Person), margins);
}

std::string ClockEdgeNotes(const ClockEdges& e) {
    std::string out;
    const auto line = [&out](std::string text) {
        if (!out.empty()) out += '\n';
        out += text;
    };
    if (e.Repeated) line(std::string(StringText(RepeatedClockNoteText)));
    if (e.ClockChange)
        line(std::string(StringText(NoteStartText)) + std::string(StringText(ClockChangeWordText)) + ' ' +
             std::to_string(std::abs(*e.ClockChange)) + std::string(StringText(NoteMinutesText)) +
             std::string(StringText(ChartedMomentWordText)) + std::string(StringText(NoteEndText)));
    if (e.SolarShift)
        line(std::string(StringText(SolarShiftNoteText)) + ' ' + std::to_string(std::abs(*e.SolarShift)) +
             std::string(StringText(NoteMinutesText)) + std::string(StringText(SolarHourNoteText)));
    return out;
}

std::string BirthEdgeNotes(const ChartRecord& rec, const ClockEdges& clock, const EdgeMargins& margins) {
    std::string notes = ChartEdgeNotes(rec, margins);
    const std::string own = ClockEdgeNotes(clock);
    if (!notes.empty() && !own.empty()) notes += '\n';
    return notes + own;
}

}  // namespace qv
