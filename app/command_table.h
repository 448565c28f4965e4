#pragma once
// The commands of the main program by their fixed numbers, and the one table
// that maps each to its handler and to the rule that enables, checks or names
// it. Plain C++: the window layer only delivers the numbers.
#include <optional>
#include <span>
#include <string>

namespace qv::ui {

class CQuorvaneApp;

enum CommandId : int {
    ID_NEW_PERSON = 101,
    ID_QUERY_PERSON = 32771,
    ID_MODIFY_PERSON = 32772,
    ID_CHARTING_PARAMETERS = 32773,
    ID_FLOW_YEAR_WINDOW = 32774,
    ID_INDEX_FORMULA = 32776,
    ID_SAVE_RECORDS_AS = 32777,
    ID_OPEN_OTHER_RECORDS = 32778,
    ID_MERGE_INTO_MAIN = 32779,
    ID_SWITCH_TO_MAIN = 32780,
    ID_DELETE_PERSON = 32781,
    ID_POTENTIAL_PARAMETERS = 32782,
    ID_POTENTIAL_WINDOW = 32783,
    ID_HOUR_UNKNOWN = 32787,
    ID_PREVIOUS_CATEGORY = 32788,
    ID_NEXT_CATEGORY = 32789,
    ID_POTENTIAL_STYLE_FIRST = 32791,  // 32791-32798: the styles 1, 2, 3, 7, 5, 4, 6, 0
    ID_POTENTIAL_STYLE_LAST = 32798,
    ID_FORTUNE_LIFETIME_BASE = 32800,  // fortune curves: block base + category offset
    ID_FORTUNE_LUCK_BASE = 32815,
    ID_FORTUNE_TEN_YEAR_BASE = 32830,
    ID_FORTUNE_MONTH_BASE = 32845,
    ID_FORTUNE_DAY_BASE = 32860,
    ID_PRINT_POTENTIALS = 32874,
    ID_CALENDAR_WINDOW = 32890,
    ID_PILLAR_SEARCH = 32891,  // 八字反查
    ID_EXPORT_PICTURE = 32900,  // the chart as shown, to a PNG or PDF file
    ID_COMPARISON_WINDOW = 32901,
    ID_BEST_DAYS_WINDOW = 32902,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
};

inline constexpr const char* NewPersonMenuText = "新增個人資料(&N)...";

// What the menu shows for a command at this moment. An empty text keeps the
// menu's own.
struct CommandState {
    bool Enabled = false;
    bool Checked = false;
    std::string Text;
};

struct CommandEntry {
    int Id;
    void (CQuorvaneApp::*Handler)();              // null: a mark only, no action
    CommandState (*State)(const CQuorvaneApp&);   // null: always enabled
    int Count = 1;                                // the numbers Id … Id + Count - 1 share the entry
};

// What a fortune-curve command opens.
struct FortuneCurveCommand {
    int Mode;
    int Category;
    bool Lifetime;
};
// Block base + offset: 0 本命 1, 1 事業 9, 2 遷移 7, 3 財運 5, 4 健康 6, 5 愛情 3,
// 6 → 8, 7 → 4, 11 → 14; nothing for any other number.
std::optional<FortuneCurveCommand> FortuneCommandOf(int id);
inline constexpr int FortuneBlockSize = 15;
inline constexpr int FortuneOffsetCategories[] = {1, 9, 7, 5, 6, 3, 8, 4, 0, 0, 0, 14};

std::span<const CommandEntry> AllCommands();
// The entry of the command, or null for a number nobody handles.
const CommandEntry* FindCommand(int id);

}  // namespace qv::ui
