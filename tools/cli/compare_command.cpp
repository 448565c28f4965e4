// compare: two persons' charts against each other, every relation between
// them listed in the system's words, readable or as JSON.
#include <string>

#include "engine/analysis/chart_comparison.h"
#include "engine/texts/comparison_words.h"
#include "json_out.h"
#include "engine/texts/string_table.h"
#include "two_persons.h"

namespace qv::cli {
namespace {

std::string Word(int id) { return std::string(StringText(id)); }
std::string Element(int e) { return Word(text_base::Element + e); }

std::string PillarsOf(const ChartBlock& n) {
    std::string s;
    for (int p = 0; p < 4; ++p) s += (p ? " " : "") + PillarText(SexagenaryOf(n.Stem[p], n.Branch[p]));
    return s;
}

std::string StrengthWord(const DayMasterStrength& s) { return Word(s.Strong ? StrongText : WeakText); }

void AppendPersonJson(JsonObject& json, const ChartBlock& n, const DayMasterStrength& s, const RoleSupport (&roles)[5]) {
    json.Text("Pillars", PillarsOf(n));
    json.Text("DayMaster", StringText(text_base::Stem + n.Stem[DayPillar]));
    json.Text("Strength", StrengthWord(s));
    json.Field("SameParty", s.SameParty);
    json.Field("OtherParty", s.OtherParty);
    json.Text("Zodiac", StringText(text_base::Animal + n.Branch[YearPillar]));
    json.Text("NaYin", StringText(text_base::NaYin + n.NaYin[YearPillar]));
    // How the other chart carries this person's roles.
    std::string& list = json.NestedKey("RolesInOther");
    list += '[';
    for (int r = 0; r < 5; ++r) {
        if (r) list += ',';
        JsonObject role(list);
        role.Text("role", StringText(text_base::GodRole + r));
        role.Text("element", Element(roles[r].Element));
        role.Field("score", roles[r].Score);
        role.Field("strong", roles[r].Strong);
    }
    list += ']';
}

void AppendRelationsJson(JsonObject& json, const std::vector<ComparisonLine>& lines) {
    std::string& list = json.NestedKey("Relations");
    list += '[';
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) list += ',';
        JsonObject r(list);
        r.Text("kind", lines[i].Kind);
        r.Text("a", lines[i].PillarsA);
        r.Text("b", lines[i].PillarsB);
        r.Text("detail", lines[i].Detail);
        r.Text("tone", Word(lines[i].Tone == RelationTone::Harmonious ? HarmoniousText : ConflictingText));
    }
    list += ']';
}

void AppendJson(std::string& out, const TwoPersons& two, const ChartComparison& c) {
    {
        JsonObject json(out);
        {
            JsonObject a(json.NestedKey("A"));
            AppendPersonJson(a, two.A->Natal, c.StrengthA, c.AInB);
        }
        {
            JsonObject b(json.NestedKey("B"));
            AppendPersonJson(b, two.B->Natal, c.StrengthB, c.BInA);
        }
        json.Text("TenGodOfBFromA", StringText(text_base::TenGod + c.GodOfBFromA));
        json.Text("TenGodOfAFromB", StringText(text_base::TenGod + c.GodOfAFromB));
        AppendRelationsJson(json, RelationLines(c));
        std::string zodiac;
        for (int i = 0; i < c.YearRelationCount; ++i) zodiac += (i ? "、" : "") + Word(RelationKindText(c.YearRelations[i].Kind));
        json.Text("ZodiacRelation", zodiac);
        json.Text("NaYinRelation", NaYinRelationWord(c));
        json.Field("Harmonious", c.Summary.Harmonious());
        json.Field("Conflicting", c.Summary.Conflicting());
        json.Text("HarmoniousItems", SummaryWords(c.Summary, RelationTone::Harmonious));
        json.Text("ConflictingItems", SummaryWords(c.Summary, RelationTone::Conflicting));
    }
    out += '\n';
}

void AppendPersonText(std::string& out, int who, const ChartBlock& n, const DayMasterStrength& s,
                      const RoleSupport (&roles)[5]) {
    out += Word(who) + '\t' + PillarsOf(n) + '\t' + Word(DayMasterWordText) + ' ' +
           std::string(StringText(text_base::Stem + n.Stem[DayPillar])) + ' ' + StrengthWord(s) + '\t' +
           Word(ZodiacWordText) + ' ' + std::string(StringText(text_base::Animal + n.Branch[YearPillar])) + '\t' +
           Word(NaYinWordText) + ' ' + std::string(StringText(text_base::NaYin + n.NaYin[YearPillar])) + '\n';
    for (int r = 0; r < 5; ++r) {
        out += Word(who) + std::string(StringText(text_base::GodRole + r)) + '\t' + Element(roles[r].Element) + '\t' +
               std::to_string(roles[r].Score) + '\t' + Word(roles[r].Strong ? MuchText : LittleText) + '\n';
    }
}

void AppendText(std::string& out, const TwoPersons& two, const ChartComparison& c) {
    AppendPersonText(out, PersonAText, two.A->Natal, c.StrengthA, c.AInB);
    AppendPersonText(out, PersonBText, two.B->Natal, c.StrengthB, c.BInA);
    out += Word(TenGodWordText) + '\t' + std::string(StringText(text_base::TenGod + c.GodOfBFromA)) + '\t' +
           std::string(StringText(text_base::TenGod + c.GodOfAFromB)) + '\n';
    out += Word(NaYinWordText) + '\t' + NaYinRelationWord(c) + '\n';
    for (const ComparisonLine& l : RelationLines(c))
        out += l.Kind + '\t' + Word(PersonAText) + l.PillarsA + '\t' + Word(PersonBText) + l.PillarsB + '\t' + l.Detail + '\n';
    out += Word(HarmoniousText) + '\t' + std::to_string(c.Summary.Harmonious()) + '\t' +
           SummaryWords(c.Summary, RelationTone::Harmonious) + '\n';
    out += Word(ConflictingText) + '\t' + std::to_string(c.Summary.Conflicting()) + '\t' +
           SummaryWords(c.Summary, RelationTone::Conflicting) + '\n';
}

}  // namespace

int RunCompare(Args& args) {
    const bool json = args.TakeFlag("--json");
    Charting charting;
    TwoPersons two;
    if (const int code = ChartTwoPersons(args, charting, two, false); code != ExitOk) return code;
    ChartComparison c{};
    CompareCharts(two.A->Natal, two.B->Natal, c);
    std::string out;
    (json ? AppendJson : AppendText)(out, two, c);
    WriteOut(out);
    return ExitOk;
}

}  // namespace qv::cli
