#include "chart_text.h"

#include <cstdio>

#include "engine/chart/chart_compute.h"
#include "engine/chart/luck.h"
#include "engine/analysis/roles.h"
#include "engine/chart/spirits.h"
#include "engine/texts/string_table.h"

namespace qv::cli {
namespace {

constexpr int CaptionColumns = 8;
constexpr int PillarColumns = 12;
constexpr int LuckColumns = 6;

std::string_view Text(int base, int number) { return StringText(base + number); }

std::string Number(int n) { return std::to_string(n); }

// Ends a line without the padding of its last cell.
void EndLine(std::string& out) {
    while (!out.empty() && out.back() == ' ') out.pop_back();
    out += '\n';
}

// A caption and `count` cells of a fixed width, cell(i) giving the i-th.
template <typename Cell>
void AppendRow(std::string& out, std::string_view caption, int count, int columns, Cell cell) {
    AppendPadded(out, caption, CaptionColumns);
    for (int i = 0; i < count; ++i) AppendPadded(out, cell(i), columns);
    EndLine(out);
}

// One row of the pillar block: a cell per pillar, year first.
template <typename Cell>
void AppendPillarRow(std::string& out, std::string_view caption, Cell cell) {
    AppendRow(out, caption, 4, PillarColumns, cell);
}

void AppendBirthLines(std::string& out, const ChartRecord& rec) {
    const PersonRecord& p = rec.Person;
    char line[96];
    std::snprintf(line, sizeof line, "%04d-%02d-%02d ", p.year, p.month, p.day);
    AppendPadded(out, "出生", CaptionColumns);
    out += line;
    if (BirthTimeUnknown(rec)) {
        out += "不知道時間";
    } else {
        std::snprintf(line, sizeof line, "%02d:%02d", p.hour, p.minute);
        out += line;
    }
    out += "  ";
    out += Text(text_base::Sex, p.sex & 1);
    out += '\n';
    if (rec.Birth.LunarYear) {
        AppendPadded(out, "農曆", CaptionColumns);
        out += Number(rec.Birth.LunarYear) + "年 ";
        if (rec.Birth.LeapMonth) out += StringText(LeapMonthText);
        out += Number(rec.Birth.LunarMonth) + "月 " + Number(rec.Birth.LunarDay) + "日\n";
    }
    AppendPadded(out, "節氣", CaptionColumns);
    out += Text(text_base::Term, rec.BirthTerm);
    out += "  當令";
    out += Text(text_base::Element, rec.BirthSeason);
    out += "  ";
    out += Text(text_base::Polarity, rec.Natal.YearPolarity);
    out += "年  大運";
    out += rec.LuckForward ? "順行" : "逆行";
    out += '\n';
}

std::string HiddenCell(const ChartBlock& n, int pillar, int slot) {
    if (n.HiddenStem[pillar][slot] == 0) return {};
    std::string cell(Text(text_base::Stem, n.HiddenStem[pillar][slot] - 1));
    cell += ' ';
    cell += Text(text_base::TenGod, n.HiddenGod[pillar][slot]);
    return cell;
}

// The spirit of the given rank (0 = first) that the pillar carries, or none.
std::string_view NthSpirit(const ChartBlock& n, int pillar, int rank) {
    for (int s = 0; s < SpiritCount; ++s) {
        if (HasSpirit(n, pillar, static_cast<Spirit>(s)) && rank-- == 0) return SpiritName(static_cast<Spirit>(s));
    }
    return {};
}

int MostSpirits(const ChartBlock& n) {
    int most = 0;
    for (int p = YearPillar; p <= HourPillar; ++p) {
        int count = 0;
        while (!NthSpirit(n, p, count).empty()) ++count;
        most = count > most ? count : most;
    }
    return most;
}

void AppendPillarBlock(std::string& out, const ChartRecord& rec) {
    const ChartBlock& n = rec.Natal;
    const bool unknown = BirthTimeUnknown(rec);
    out += '\n';
    AppendPillarRow(out, "", [&](int p) -> std::string {
        static constexpr const char* captions[4] = {"年柱", "月柱", "日柱", "時柱"};
        return p == HourPillar && unknown ? std::string(StringText(ConceptionPillarText)) : captions[p];
    });
    AppendPillarRow(out, "十神", [&](int p) {
        return p == DayPillar ? std::string("日主") : std::string(Text(text_base::TenGod, n.StemGod[p]));
    });
    AppendPillarRow(out, "天干", [&](int p) { return std::string(Text(text_base::Stem, n.Stem[p])); });
    AppendPillarRow(out, "地支", [&](int p) { return std::string(Text(text_base::Branch, n.Branch[p])); });
    for (int slot = 0; slot < 3; ++slot) {
        AppendPillarRow(out, slot == 0 ? "藏干" : "", [&](int p) { return HiddenCell(n, p, slot); });
    }
    AppendPillarRow(out, "十二運", [&](int p) { return std::string(Text(text_base::Stage, n.Stage[p])); });
    AppendPillarRow(out, "納音", [&](int p) { return std::string(Text(text_base::NaYin, n.NaYin[p])); });
    const int rows = MostSpirits(n);
    for (int rank = 0; rank < rows; ++rank) {
        AppendPillarRow(out, rank == 0 ? "神煞" : "", [&](int p) { return std::string(NthSpirit(n, p, rank)); });
    }
    AppendPadded(out, "空亡", CaptionColumns);
    for (int b = 0; b < 12; ++b) {
        if (rec.VoidMarks[b] == NotApplicable) out += Text(text_base::Branch, b);
    }
    out += '\n';
}

template <typename Cell>
void AppendLuckRow(std::string& out, std::string_view caption, Cell cell) {
    AppendRow(out, caption, 12, LuckColumns, cell);
}

void AppendLuckBlock(std::string& out, const ChartBlock& n) {
    out += '\n';
    AppendLuckRow(out, "虛歲", [&](int k) { return Number(n.LuckStartAge + 10 * k); });
    AppendLuckRow(out, "大運", [&](int k) { return PillarText(SexagenaryOf(n.LuckStem[k], n.LuckBranch[k])); });
    AppendLuckRow(out, "天干", [&](int k) { return std::string(Text(text_base::TenGod, n.LuckStemGod[k])); });
    AppendLuckRow(out, "地支", [&](int k) { return std::string(Text(text_base::TenGod, n.LuckBranchGod[k])); });
    for (const LuckLine& line : {LuckChangeText(n), LuckStartTermText(n), LuckSpanText(n)}) {
        if (line.View().empty()) continue;
        AppendPadded(out, "", CaptionColumns);
        out += line.View();
        out += '\n';
    }
}

// 陰陽氣合 in tenths as a decimal: -25 -> "-2.5".
std::string Tenths(int value) {
    const int magnitude = value < 0 ? -value : value;
    return (value < 0 ? "-" : "") + Number(magnitude / 10) + "." + Number(magnitude % 10);
}

void AppendScoreRow(std::string& out, std::string_view caption, int base, const int16_t* scores, int count) {
    AppendPadded(out, caption, CaptionColumns + 2);
    for (int i = 0; i < count; ++i) {
        out += StringText(base + i);
        out += ' ';
        AppendPadded(out, Number(scores[i]), 4);
    }
    EndLine(out);
}

void AppendAnalysis(std::string& out, const ChartRecord& rec) {
    const ChartBlock& n = rec.Natal;
    out += '\n';
    AppendScoreRow(out, "五行分數", text_base::Element, n.ElementScore, 5);
    AppendScoreRow(out, "十神分數", text_base::TenGod, n.TenGodScore, 10);
    AppendPadded(out, "日主旺度", CaptionColumns + 2);
    const char* comparison = n.SameParty > n.OtherParty ? " > " : n.SameParty == n.OtherParty ? " = " : " < ";
    out += "A" + Number(n.SameParty) + comparison + Number(n.OtherParty) + "B\n";
    AppendPadded(out, "陰陽氣合", CaptionColumns + 2);
    out += Tenths(n.ClimateBalance) + '\n';
    if (n.ReadingKind == ByClimate) {
        AppendPadded(out, "中用神", CaptionColumns + 2);
        out += Text(text_base::Stem, n.ClimateStem);
        for (uint8_t more : n.ClimateStemsMore) {
            if (more == NotApplicable) break;
            out += Text(text_base::Stem, more);
        }
        out += '\n';
    }
    if (n.Pattern != NoPattern) {
        AppendPadded(out, "格局用神", CaptionColumns + 2);
        out += Text(text_base::Pattern, n.Pattern);
        out += '\n';
    }
    for (int i = 0; i < 5; ++i) {
        AppendPadded(out, "", CaptionColumns + 2);
        out += Text(text_base::SeasonalState, i);
        out += "  ";
        AppendPadded(out, Text(text_base::Element, n.SeasonElement[i]), 6);
        out += Text(text_base::GodRole, i);
        out += "  ";
        out += Text(text_base::Element, n.Roles[i]);
        out += '\n';
    }
    if (rec.HasTransformed) {
        AppendPadded(out, "變盤", CaptionColumns + 2);
        for (int p = YearPillar; p <= HourPillar; ++p) {
            out += PillarText(SexagenaryOf(rec.Transformed.Stem[p], rec.Transformed.Branch[p]));
            out += "  ";
        }
        out.resize(out.size() - 2);
        out += '\n';
    }
}

}  // namespace

int DisplayWidth(std::string_view text) {
    int width = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        // Two- and one-byte sequences are Latin, Greek and the like; CJK starts at three bytes.
        width += length >= 3 ? 2 : 1;
        i += length;
    }
    return width;
}

void AppendPadded(std::string& out, std::string_view text, int columns) {
    out += text;
    for (int w = DisplayWidth(text); w < columns; ++w) out += ' ';
}

void AppendReadableChart(std::string& out, const ChartRecord& rec) {
    AppendBirthLines(out, rec);
    AppendPillarBlock(out, rec);
    AppendLuckBlock(out, rec.Natal);
    AppendAnalysis(out, rec);
}

}  // namespace qv::cli
