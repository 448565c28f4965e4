// potential: a person's potential values; potential-table: the table file
// shown, exported as JSON and imported back.
#include <iostream>
#include <memory>

#include "charting.h"
#include "json_out.h"
#include "potential_exchange.h"
#include "potential_file.h"

namespace qv::cli {
namespace {

constexpr const char* NoCategories =
    "no potential categories are defined; define them with the 潛能參數 dialog or potential-table import";

bool NothingLeft(const Args& args) {
    if (args.RejectUnknownOptions()) return false;
    if (args.Items.empty()) return true;
    Complain("unexpected argument " + args.Items.front());
    return false;
}

// --category N (from 1) of the table; 0 for all of them.
bool TakeCategory(Args& args, const PotentialTable& table, int& category) {
    category = 0;
    const auto value = args.TakeValue("--category");
    if (!value) return true;
    if (ParseInt(*value, category) && category >= 1 && category <= table.CategoryCount) return true;
    Complain("--category takes 1-" + std::to_string(table.CategoryCount) + ", not " + *value);
    return false;
}

template <typename F>
void ForEachCategory(const PotentialTable& table, int only, F&& f) {
    for (int c = 0; c < table.CategoryCount; ++c) {
        if (only == 0 || only == c + 1) f(c, table.Categories[c]);
    }
}

void PrintValues(const ChartRecord& rec, const PotentialTable& table, int only) {
    const bool both = rec.HasTransformed != 0;
    std::cout << (both ? "ability\tnatal\ttransformed\n" : "ability\tnatal\n");
    ForEachCategory(table, only, [&](int c, const PotentialCategory& cat) {
        std::cout << "category " << c + 1 << '\t' << PotentialNameText(cat.Name) << "\tK " << cat.K << '\n';
        for (int i = cat.FirstItem; i < cat.FirstItem + cat.ItemCount; ++i) {
            std::cout << PotentialNameText(table.Items[i].Name) << '\t' << rec.PotentialIndex[NatalPotentials][i];
            if (both) std::cout << '\t' << rec.PotentialIndex[TransformedPotentials][i];
            std::cout << '\n';
        }
    });
}

void PrintValuesJson(const ChartRecord& rec, const PotentialTable& table, int only) {
    std::string out;
    {
        JsonObject top(out);
        top.Field("transformed", rec.HasTransformed != 0);
        std::string& list = top.NestedKey("abilities");
        list += '[';
        bool first = true;
        ForEachCategory(table, only, [&](int c, const PotentialCategory& cat) {
            for (int i = 0; i < cat.ItemCount; ++i) {
                const int at = cat.FirstItem + i;
                if (!first) list += ',';
                first = false;
                JsonObject o(list);
                o.Field("category", c + 1);
                o.Text("categoryName", PotentialNameText(cat.Name));
                o.Field("item", i + 1);
                o.Text("name", PotentialNameText(table.Items[at].Name));
                o.Field("natal", rec.PotentialIndex[NatalPotentials][at]);
                if (rec.HasTransformed) o.Field("transformed", rec.PotentialIndex[TransformedPotentials][at]);
            }
        });
        list += ']';
    }
    out += '\n';
    WriteOut(out);
}

void ShowTable(const PotentialTable& table) {
    ForEachCategory(table, 0, [&](int c, const PotentialCategory& cat) {
        std::cout << "category " << c + 1 << '\t' << PotentialNameText(cat.Name) << "\tK " << cat.K << '\t'
                  << cat.ItemCount << " abilities\n";
        for (int i = 0; i < cat.ItemCount; ++i) {
            const PotentialItem& item = table.Items[cat.FirstItem + i];
            std::cout << "  " << i + 1 << '\t' << PotentialNameText(item.Name) << '\t' << ElementNames(item.ElementMask)
                      << '\t' << TenGodNames(item.TenGodMask) << '\n';
        }
    });
}

int Import(Args& args, TableFile& file) {
    if (args.Items.empty()) {
        Complain("potential-table import needs a JSON file");
        return ExitBadInput;
    }
    const std::string from = args.Items.front();
    args.Items.erase(args.Items.begin());
    if (!NothingLeft(args)) return ExitBadInput;
    std::string json;
    if (!Reported(ReadWholeFile(from, json))) return ExitNoData;
    if (!Reported(PotentialTableFromJson(json, *file.Table), from)) return ExitBadInput;
    if (!Reported(SavePotentialTable(file.Path, *file.Table))) return ExitNoData;
    std::cout << "imported " << file.Table->CategoryCount << " categories, " << file.Table->ItemTotal
              << " abilities into " << file.Path << '\n';
    return ExitOk;
}

}  // namespace

namespace {

std::string TablePath(Args& args) {
    const auto path = args.TakeValue("--file");
    return path ? *path : PotentialTablePath(ResolveDataPaths(args.DataDir));
}

}  // namespace

bool LoadTable(Args& args, TableFile& file) {
    file.Path = TablePath(args);
    return Reported(LoadPotentialTable(file.Path, *file.Table));
}

bool LoadSessionTable(Args& args, ChartingSession& session) {
    return Reported(session.LoadPotentials(TablePath(args)));
}

int RunPotential(Args& args) {
    Charting charting;
    const PotentialTable& table = charting.Session.Potentials();
    const bool json = args.TakeFlag("--json");
    int category = 0;
    if (!LoadSessionTable(args, charting.Session)) return ExitNoData;
    if (table.CategoryCount == 0) {
        Complain(NoCategories);
        return ExitNoData;
    }
    if (!TakeCategory(args, table, category)) return ExitBadInput;
    Birth birth;
    if (const int code = ChartOneBirth(args, charting, birth); code != ExitOk) return code;
    (json ? PrintValuesJson : PrintValues)(charting.Record(), table, category);
    return ExitOk;
}

int RunPotentialTable(Args& args) {
    // --file may stand before or after the subcommand.
    TableFile file;
    const bool loaded = LoadTable(args, file);
    if (args.Items.empty()) {
        Complain("potential-table needs a subcommand: show, export or import");
        return ExitBadInput;
    }
    const std::string name = args.Items.front();
    args.Items.erase(args.Items.begin());
    if (name != "show" && name != "export" && name != "import") {
        Complain("unknown potential-table subcommand " + name);
        return ExitBadInput;
    }
    // An import replaces a refused file (keeping it as .bad), so only the others need it sound.
    if (!loaded && name != "import") return ExitNoData;
    if (name == "import") return Import(args, file);
    if (!NothingLeft(args)) return ExitBadInput;
    if (name == "show") {
        if (file.Table->CategoryCount == 0) std::cout << NoCategories << '\n';
        ShowTable(*file.Table);
        return ExitOk;
    }
    std::vector<std::string> warnings;
    std::cout << PotentialTableToJson(*file.Table, warnings);
    for (const std::string& w : warnings) Complain(w);
    return ExitOk;
}

}  // namespace qv::cli
