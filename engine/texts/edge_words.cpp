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

}  // namespace qv
