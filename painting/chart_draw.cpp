#include "chart_draw.h"

#include <QDate>
#include <QFontMetrics>
#include <QLinearGradient>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "engine/texts/big5.h"
#include "engine/chart/chart_compute.h"
#include "chart_period.h"
#include "clock_note.h"
#include "engine/chart/luck.h"
#include "paint_helpers.h"
#include "engine/analysis/roles.h"
#include "engine/chart/spirits.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

// ---- Fixed texts -------------------------------------------------------------------------

namespace label {
constexpr const char* Name = "姓名";
constexpr const char* MainStar = "主星";
constexpr const char* Stems = "天干";
constexpr const char* Branches = "地支";
constexpr const char* HiddenStems = "藏干";
constexpr const char* HiddenGods = "副星";
constexpr const char* Stages = "12運";
constexpr const char* Spirits = "神煞";
constexpr const char* NaYin = "納音";
constexpr const char* LuckRow = "大運";
constexpr const char* DayMaster = "命主";
constexpr const char* Strength = "日主旺度";
constexpr const char* Balance = "陰陽氣合";
constexpr const char* Health = "疾病檢核表";
constexpr const char* MiddleGod = "中用神";
constexpr const char* PatternGod = "格局用神";
constexpr const char* Lunar = "農曆";
constexpr const char* Solar = "國曆";
constexpr const char* InSeason = "當令";
constexpr const char* Zodiac = "肖";
constexpr const char* ChartTime = "排盤時間";
constexpr const char* AgeUnit = "歲";
constexpr const char* UnknownTime = "不知道時間";
constexpr const char* Luck = "運";
constexpr const char* Changed = "→";
constexpr const char* Comma = "、";
constexpr const char* Month = "月";
constexpr const char* Day = "日";
constexpr const char* Hour = "時";
constexpr const char* Year = "年";
constexpr const char* Halves[2] = {"下半年 ", "上半年 "};  // the branch half, the stem half of a year
constexpr const char* PillarHeads[4] = {"根【年】", "苗【月】", "花【日】", "果【時】"};  // year .. hour
constexpr const char* PillarUnits[4] = {"年", "月", "日", "時"};
}  // namespace label

constexpr const char* AllLabels[] = {
    label::Name, label::MainStar, label::Stems, label::Branches, label::HiddenStems, label::HiddenGods,
    label::Stages, label::Spirits, label::NaYin, label::LuckRow, label::DayMaster, label::Strength,
    label::Balance, label::Health, label::MiddleGod, label::PatternGod, label::Lunar, label::Solar,
    label::InSeason, label::Zodiac, label::ChartTime, label::AgeUnit, label::UnknownTime, label::Luck,
    label::Changed, label::Comma, label::Month, label::Day, label::Hour, label::Year, label::Halves[0], label::Halves[1],
    label::PillarHeads[0], label::PillarHeads[1], label::PillarHeads[2], label::PillarHeads[3],
    "AM PM 0123456789:~|/-.<>=AB", ClockNoteWords,
};


QString Sym(int base, int number) { return Utf8(StringText(base + number)); }
QString Num(int n) { return QString::number(n); }

// ---- Palette -----------------------------------------------------------------------------

const QColor Peach(255, 230, 200), Ivory(255, 255, 230), Lavender(240, 220, 255), Pink(255, 230, 230),
    Mint(200, 255, 200), Selected(255, 255, 200), Blue(0, 0, 188), Today(220, 200, 255);

// ---- Fonts -------------------------------------------------------------------------------

enum FontRole { HeaderFont, SummaryFont, BalanceFont, SymbolFont, HeadFont, SmallFont, LabelFont, FontRoleCount };

struct FontSpec {
    int Mode, Weight;
};
constexpr FontSpec FontSpecs[FontRoleCount] = {{1, 400}, {2, 400}, {0, 700}, {3, 700}, {7, 700}, {5, 400}, {4, 700}};

struct Fonts {
    std::array<QFont, FontRoleCount> Font;
    explicit Fonts(int s) {
        for (int r = 0; r < FontRoleCount; ++r) Font[r] = MakeChartFont(FontSpecs[r].Mode, s, FontSpecs[r].Weight);
    }
    const QFont& operator[](FontRole role) const { return Font[role]; }
};

// The side panel is laid out in fixed pixels of the logical page, so its text size is fixed too.
constexpr int PanelTextSize = 15;

// ---- Geometry ----------------------------------------------------------------------------

// Positions in chart units from the chart's top-left corner.
struct Grid {
    QPoint Origin;
    int U;
    int X(double x) const { return Origin.x() + qRound(x * U); }
    int Y(double y) const { return Origin.y() + qRound(y * U); }
    QRect Cells(double x0, double y0, double x1, double y1) const {
        return QRect(X(x0), Y(y0), X(x1) - X(x0), Y(y1) - Y(y0));
    }
};

struct Span {
    double From, To;
};

// The rows of the pillar block with their labels; the period row is the last.
struct PillarRow {
    const char* Label;
    Span Rows;
};
constexpr PillarRow PillarRows[] = {
    {label::Name, {0, 2}},      {label::MainStar, {2, 4}},     {label::Stems, {4, 6}},
    {label::Branches, {6, 8}},  {label::HiddenStems, {8, 10}}, {label::HiddenGods, {10, 12}},
    {label::Stages, {12, 14}},  {label::Spirits, {14, 20}},    {label::NaYin, {20, 22}},
    {label::LuckRow, {22, 28}},
};
enum PillarRowIndex { HeadRow, MainStarRow, StemRow, BranchRow, HiddenStemRow, HiddenGodRow, StageRow, SpiritRow, NaYinRow, PeriodRow };

// Pillar p (0 year … 3 hour) starts at this unit; the hour pillar is leftmost.
double PillarLeft(int pillar) { return 20 - 4 * pillar; }
// Period-row column k (0 rightmost).
double PeriodLeft(int column) { return 22 - 2 * column; }

struct Rule {
    double At, From, To;
};
// Horizontal rules (y, x from, x to) and vertical rules (x, y from, y to) of the table.
constexpr Rule RowRules[] = {
    {2, 0, 8},    {4, 4, 8},    {6, 4, 8},     {8, 4, 8},     {10, 4, 8},   {12, 0, 8},   {14, 0, 8},
    {2, 8, 26},   {4, 8, 26},   {6, 8, 26},    {8, 8, 26},    {10, 8, 26},  {12, 8, 26},  {14, 8, 26},
    {20, 8, 26},  {22, 0, 26},  {25, 0, 24},   {28, 0, 26},   {33, 0, 26},  {2, 26, 34},  {4, 26, 34},
    {14, 26, 34}, {20, 26, 34}, {22, 26, 34},  {28, 26, 34},
};
constexpr Rule ColumnRules[] = {
    {4, 0, 22},  {8, 0, 22},  {12, 0, 22}, {16, 0, 22},   {20, 0, 22}, {24, 0, 28},
    {26, 0, 34}, {30, 4, 20}, {32, 4, 14}, {30, 28, 34},  {16.5, 33, 34},
};

struct Shade {
    double X0, Y0, X1, Y1;
    const QColor& Color;
};
const Shade Shades[] = {
    {26, 0, 34, 4, Peach},  {26, 20, 34, 22, Peach}, {26, 4, 30, 20, Ivory},  {26, 28, 30, 34, Ivory},
    {0, 0, 4, 2, Ivory},    {4, 0, 8, 2, Ivory},     {4, 4, 8, 6, Ivory},     {4, 8, 8, 10, Ivory},
    {0, 12, 8, 13, Mint},   {8, 0, 24, 2, Lavender}, {24, 0, 26, 28, Pink},   {0, 22, 24, 23, Ivory},
    {0, 27, 24, 28, Ivory},
};

// ---- One drawing pass --------------------------------------------------------------------

struct Sheet {
    QPainter& P;
    const ChartRecord& Rec;
    const ChartDrawContext& Ctx;
    ChartLayout Layout;
    Grid G;
    Fonts F;
    CivilDate TodayDate;
    LunarDate TodayLunar;
    int NominalAge;

    // The block whose symbols are shown and the one it is compared with (→ marks).
    const ChartBlock& Shown() const { return Rec.Natal; }
    // The readings of the summary and health columns: a period chart shows what
    // the period's evaluation left in Flow (a copy of Natal in every field the
    // evaluation does not recompute), the natal chart its own.
    const ChartBlock& Readings() const { return IsPeriodKind(Rec.ChartKind) ? Rec.Flow : Rec.Natal; }
    const ChartBlock& Compared() const { return Rec.ChartKind == NatalKind ? Rec.Transformed : Rec.Flow; }
    // The block whose twelve pillars fill the period row.
    const ChartBlock& PeriodBlock() const { return Rec.ChartKind == YearKind ? Rec.Flow : Rec.Natal; }
};

void Centered(QPainter& p, const QRect& rect, const QString& text, int align = Qt::AlignCenter) {
    p.drawText(rect, align | Qt::TextSingleLine, text);
}

// A column of characters centred in the rectangle, lines at most `maxLine` high.
void Column(QPainter& p, const QRect& rect, const QString& text, int maxLine) {
    const int lines = static_cast<int>(VerticalLines(text).size());
    if (lines == 0) return;
    const int lineHeight = std::min(maxLine, (rect.height() - 2) / lines);
    const int top = rect.top() + (rect.height() - 2 - lines * lineHeight) / 2;
    DrawVerticalText(p, text, QRect(rect.left(), top, rect.width(), lines * lineHeight + 1), lineHeight);
}

QString YearNumber(const ChartRecord& rec, int year) { return Utf8(HeaderYearText(year, rec.YearDisplay)); }

QString PersonName(const ChartRecord& rec) {
    const std::string_view big5(rec.Person.name, strnlen(rec.Person.name, sizeof rec.Person.name));
    std::string utf8;
    if (big5.empty() || !Big5ToUtf8(big5, utf8)) return Sym(NamelessText, 0);
    return Utf8(utf8);
}

QString DateColumn(const ChartRecord& rec, int year, int month, int day) {
    return YearNumber(rec, year) + Utf8(label::Year) + Num(month) + Utf8(label::Month) + Num(day) + Utf8(label::Day);
}

// ---- Frame, grid and shadings ------------------------------------------------------------

// The period-row cell to mark: none on the natal chart.
int SelectedCell(const ChartRecord& rec) {
    const int cell = rec.Period.Cell;
    return rec.ChartKind != NatalKind && cell >= 0 && cell < LuckPillarCount ? cell : -1;
}

void DrawShades(const Sheet& s) {
    for (const Shade& shade : Shades) s.P.fillRect(s.G.Cells(shade.X0, shade.Y0, shade.X1, shade.Y1), shade.Color);
    if (const int cell = SelectedCell(s.Rec); cell >= 0) {
        const double left = PeriodLeft(cell);
        s.P.fillRect(s.G.Cells(left, 22, left + 2, 28), Selected);
    }
}

void DrawRules(const Sheet& s) {
    QPainter& p = s.P;
    const Grid& g = s.G;
    p.setPen(QPen(Qt::black, 0));
    p.drawRect(QRect(g.X(0), g.Y(0), 34 * g.U, 34 * g.U));
    for (const Rule& r : RowRules) p.drawLine(g.X(r.From), g.Y(r.At), g.X(r.To), g.Y(r.At));
    for (const Rule& r : ColumnRules) p.drawLine(g.X(r.At), g.Y(r.From), g.X(r.At), g.Y(r.To));
    for (int k = 1; k < LuckPillarCount; ++k) p.drawLine(g.X(2 * k), g.Y(22), g.X(2 * k), g.Y(28));
    for (int i = 1; i < 5; ++i) p.drawLine(g.X(0), g.Y(14 + 1.6 * i), g.X(8), g.Y(14 + 1.6 * i));
    if (const int cell = SelectedCell(s.Rec); cell >= 0) {
        const double left = PeriodLeft(cell);
        p.setPen(QPen(Qt::red, 0));
        p.drawRect(g.Cells(left, 22, left + 2, 28));
        p.setPen(Qt::black);
    }
}

// ---- Header column -----------------------------------------------------------------------

QString SexLine(const ChartRecord& rec) {
    const ChartBlock& n = rec.Natal;
    return Sym(text_base::Polarity, n.YearPolarity & 1) + Sym(text_base::Sex, rec.Person.sex & 1) + "  " +
           Utf8(label::Zodiac) + Sym(text_base::Animal, n.Branch[YearPillar] % 12);
}

QString LunarDateColumn(const ChartRecord& rec) {
    const BirthSummary& b = rec.Birth;
    QString text = YearNumber(rec, b.LunarYear) + Utf8(label::Year);
    if (b.LeapMonth) text += Utf8(StringText(LeapMonthText));
    text += Num(b.LunarMonth) + Utf8(label::Month) + Num(b.LunarDay) + Utf8(label::Day);
    if (!BirthTimeUnknown(rec)) text += Sym(text_base::Branch, rec.Natal.Branch[HourPillar] % 12) + Utf8(label::Hour);
    return text;
}

void DrawLunarBlock(const Sheet& s) {
    const Grid& g = s.G;
    Centered(s.P, g.Cells(26, 4, 30, 14), Utf8(label::Lunar));
    Column(s.P, g.Cells(30, 4, 32, 14), LunarDateColumn(s.Rec), g.U);
    const QString season = Sym(text_base::Term, s.Rec.BirthTerm % 24) + "  " +
                           Sym(text_base::Element, s.Rec.BirthSeason % 5) + Utf8(label::InSeason);
    Column(s.P, g.Cells(32, 4, 34, 14), season, g.U);
}

void DrawSolarBlock(const Sheet& s) {
    const Grid& g = s.G;
    const PersonRecord& person = s.Rec.Person;
    Centered(s.P, g.Cells(26, 14, 30, 17), Utf8(label::Solar));
    const QString time = BirthTimeUnknown(s.Rec) ? Utf8(label::UnknownTime) : Utf8(HourText(person.hour, person.minute));
    Centered(s.P, g.Cells(26, 17, 30, 20), time);
    Column(s.P, g.Cells(30, 14, 34, 20), DateColumn(s.Rec, person.year, person.month, person.day), g.U);
}

// The lines under the chart kind's title.
QStringList KindLines(const Sheet& s) {
    const ChartBlock& n = s.Rec.Natal;
    QStringList lines;
    if (s.Rec.ChartKind == NatalKind) {
        for (int p = YearPillar; p <= HourPillar; ++p)
            lines << Sym(text_base::Stem, n.Stem[p] % 10) + Sym(text_base::Branch, n.Branch[p] % 12) + Utf8(label::PillarUnits[p]);
    } else if (s.Rec.ChartKind == LuckKind && SelectedCell(s.Rec) >= 0) {
        const int k = SelectedCell(s.Rec);
        const int first = YearOfAge(s.Rec, s.Rec.Period.Age);
        lines << (s.Rec.Period.UpperHalf ? Sym(text_base::Stem, n.LuckStem[k] % 10) : Sym(text_base::Branch, n.LuckBranch[k] % 12)) + Utf8(label::Luck)
              << Num(s.Rec.Period.Age) + " ~ " + Num(s.Rec.Period.Age + 4) << YearNumber(s.Rec, first) << "||"
              << YearNumber(s.Rec, first + 4);
    } else if (s.Rec.ChartKind == YearKind) {
        const int year = s.Rec.Period.LunarYear ? s.Rec.Period.LunarYear : s.TodayLunar.Year;
        const int pillar = FloorMod(year - 4, 60);
        // Which half of the year cell the chart reads, as the ten-year chart names its stem or branch.
        const bool upper = s.Rec.Period.UpperHalf != 0;
        lines << YearNumber(s.Rec, year) + Utf8(label::Year) << Utf8(PillarText(pillar)) + Utf8(label::Year)
              << Utf8(label::Halves[upper]) + (upper ? Sym(text_base::Stem, pillar % 10) : Sym(text_base::Branch, pillar % 12));
    }
    return lines;
}

void DrawKindBlock(const Sheet& s) {
    const Grid& g = s.G;
    s.P.setPen(Blue);
    s.P.setFont(s.F[HeadFont]);
    Centered(s.P, g.Cells(26, 20, 34, 22), Sym(text_base::ChartKind, s.Rec.ChartKind));
    s.P.setPen(Qt::black);
    s.P.setFont(s.F[HeaderFont]);
    const QStringList lines = KindLines(s);
    for (int i = 0; i < lines.size(); ++i) Centered(s.P, g.Cells(26, 22.5 + i, 34, 23.5 + i), lines[i]);
}

void DrawTodayBlock(const Sheet& s) {
    const Grid& g = s.G;
    Centered(s.P, g.Cells(26, 28, 30, 30), Utf8(label::ChartTime));
    Centered(s.P, g.Cells(26, 30, 30, 32), Sym(NominalAgeText, 0));
    Centered(s.P, g.Cells(26, 32, 30, 34), Num(s.NominalAge) + Utf8(label::AgeUnit));
    Column(s.P, g.Cells(30, 28, 34, 34), DateColumn(s.Rec, s.TodayDate.Year, s.TodayDate.Month, s.TodayDate.Day), g.U);
}

// The sex line, and under it the note that the birth time shown was corrected
// (a line each for the zone and true solar time), made smaller where a long
// zone name would not fit the cell.
void DrawSexAndClockNote(const Sheet& s) {
    const QStringList notes = Utf8(s.Ctx.clockNote).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const double noteTop = notes.size() > 1 ? 2.9 : 3;
    Centered(s.P, s.G.Cells(26, 2, 34, notes.isEmpty() ? 4 : noteTop + 0.2), SexLine(s.Rec));
    s.P.setPen(Blue);
    for (qsizetype i = 0; i < notes.size(); ++i) {
        const double step = (4 - noteTop) / static_cast<double>(notes.size());
        const QRect line = s.G.Cells(26, noteTop + step * static_cast<double>(i), 34, noteTop + step * static_cast<double>(i + 1));
        QFont font = s.F[SummaryFont];
        const int room = line.width() - 4, width = QFontMetrics(font).horizontalAdvance(notes[i]);
        font.setPixelSize(std::max(1, std::min({font.pixelSize(), font.pixelSize() * room / std::max(1, width), line.height()})));
        s.P.setFont(font);
        Centered(s.P, line, notes[i]);
    }
    s.P.setPen(Qt::black);
    s.P.setFont(s.F[HeaderFont]);
}

void DrawHeaderColumn(const Sheet& s) {
    s.P.setFont(s.F[HeadFont]);
    Centered(s.P, s.G.Cells(26, 0, 34, 2), PersonName(s.Rec));
    s.P.setFont(s.F[HeaderFont]);
    DrawSexAndClockNote(s);
    DrawLunarBlock(s);
    DrawSolarBlock(s);
    DrawTodayBlock(s);
    DrawKindBlock(s);
}

// ---- Summary, health and reading columns -------------------------------------------------

// Texts centred in cells of one column, each with its row span.
struct CellText {
    double Y0, Y1;
    QString Text;
};
void DrawCells(QPainter& p, const Grid& g, double x0, double x1, std::initializer_list<CellText> cells) {
    for (const CellText& cell : cells) Centered(p, g.Cells(x0, cell.Y0, x1, cell.Y1), cell.Text);
}

void DrawSummaryColumn(const Sheet& s) {
    const ChartBlock& n = s.Readings();
    const ChartBlock& natal = s.Shown();
    const int conception = ConceptionPillar(SexagenaryOf(natal.Stem[MonthPillar], natal.Branch[MonthPillar]));
    s.P.setFont(s.F[SummaryFont]);
    DrawCells(s.P, s.G, 4, 8,
              {{0, 2, Utf8(label::Strength)}, {2, 4, Utf8(StrengthText(n))}, {4, 6, Utf8(label::Balance)},
               {8, 10, Utf8(StringText(ConceptionPillarText))}, {10, 12, Utf8(PillarText(conception))}});
    s.P.setFont(s.F[BalanceFont]);
    DrawCells(s.P, s.G, 4, 8, {{6, 8, Utf8(TenthsText(n.ClimateBalance))}});
}

void DrawHealthColumn(const Sheet& s) {
    const Grid& g = s.G;
    s.P.setFont(s.F[SummaryFont]);
    Centered(s.P, g.Cells(0, 0, 4, 2), Utf8(label::Health));
    const int margin = std::max(2, g.U / 5);
    for (int stem = 0; stem < 10; ++stem) {
        const QRect line = g.Cells(0, 2 + stem, 4, 3 + stem).adjusted(margin, 0, -margin, 0);
        Centered(s.P, line, Sym(text_base::Organ, stem), Qt::AlignLeft | Qt::AlignVCenter);
        Centered(s.P, line, Num(s.Readings().StemScore[stem]), Qt::AlignRight | Qt::AlignVCenter);
    }
}

QString ClimateStemsText(const ChartBlock& n) {
    if (n.ReadingKind != ByClimate || n.ClimateStem >= 10) return {};
    QString text = Sym(text_base::Stem, n.ClimateStem);
    for (uint8_t more : n.ClimateStemsMore) {
        if (more >= 10) break;
        text += Sym(text_base::Stem, more);
    }
    return text;
}

void DrawReadingRows(const Sheet& s) {
    const Grid& g = s.G;
    const ChartBlock& n = s.Readings();
    QPainter& p = s.P;
    p.setFont(s.F[SummaryFont]);
    DrawCells(p, g, 0, 4, {{12, 13, Utf8(label::MiddleGod)}, {13, 14, ClimateStemsText(n)}});
    DrawCells(p, g, 4, 8, {{12, 13, Utf8(label::PatternGod)}, {13, 14, n.Pattern >= 0 ? Sym(text_base::Pattern, n.Pattern) : QString()}});
    for (int i = 0; i < 5; ++i) {
        const double top = 14 + 1.6 * i;
        Centered(p, g.Cells(0, top, 4, top + 1.6),
                 Sym(text_base::SeasonalState, i) + "     " + Sym(text_base::Element, n.SeasonElement[i] % 5));
        Centered(p, g.Cells(4, top, 8, top + 1.6),
                 Sym(text_base::GodRole, i) + "  " + Sym(text_base::Element, n.Roles[i] % 5));
    }
}

// ---- Pillar block ------------------------------------------------------------------------

QString SeasonalStateOf(const ChartBlock& n, int pillar) {
    for (int i = 0; i < 5; ++i) {
        if (n.SeasonElement[i] == n.StemElement[pillar]) return Sym(text_base::SeasonalState, i);
    }
    return {};
}

// A symbol in the upper part of a row and its element (with → when it changed) below.
void DrawSymbolCell(const Sheet& s, const QRect& cell, const QString& symbol, int element, bool changed) {
    const int split = cell.top() + cell.height() * 5 / 8;
    s.P.setFont(s.F[SymbolFont]);
    Centered(s.P, QRect(cell.left(), cell.top(), cell.width(), split - cell.top()), symbol);
    s.P.setFont(s.F[SummaryFont]);
    const QString below = Sym(text_base::Element, element % 5) + (changed ? Utf8(label::Changed) : QString());
    Centered(s.P, QRect(cell.left(), split, cell.width(), cell.bottom() - split), below);
}

void DrawHiddenCells(const Sheet& s, int pillar, double left) {
    const ChartBlock& n = s.Shown();
    const Grid& g = s.G;
    for (int j = 0; j < 3; ++j) {
        if (n.HiddenStem[pillar][j] == 0) continue;
        const double x0 = left + 4.0 * j / 3, x1 = left + 4.0 * (j + 1) / 3;
        s.P.setFont(s.F[LabelFont]);
        Centered(s.P, g.Cells(x0, 8, x1, 9), Sym(text_base::Stem - 1, n.HiddenStem[pillar][j]));
        s.P.setFont(s.F[SummaryFont]);
        if (n.HiddenElement[pillar][j] != NotApplicable)
            Centered(s.P, g.Cells(x0, 9, x1, 10), Sym(text_base::Element, n.HiddenElement[pillar][j] % 5));
        if (n.HiddenGod[pillar][j] != NotApplicable)
            Column(s.P, g.Cells(x0, 10, x1, 12), Sym(text_base::TenGod, n.HiddenGod[pillar][j]), g.U);
    }
}

void DrawSpiritCell(const Sheet& s, const QRect& cell, const QString& text) {
    if (text.isEmpty()) return;
    const QRect inner = cell.adjusted(3, 3, -3, -3);
    QFont font = s.F[SymbolFont];
    font.setPixelSize(std::max(6, s.G.U * 4 / 5));
    font.setWeight(QFont::DemiBold);
    const SpiritLayout layout = LayOutSpirits(text, font, inner.size());
    s.P.setFont(layout.Font);
    const int top = inner.top() + (inner.height() - layout.LineHeight * static_cast<int>(layout.Lines.size())) / 2;
    for (qsizetype i = 0; i < layout.Lines.size(); ++i)
        Centered(s.P, QRect(inner.left(), top + layout.LineHeight * static_cast<int>(i), inner.width(), layout.LineHeight),
                 layout.Lines[i]);
}

// The ten god on a line of its own as large as the cell's width allows, its
// seasonal state under it: a column of three would leave each a third of the height.
void DrawMainStar(const Sheet& s, const QRect& cell, const QString& god, const QString& state) {
    QFont font = s.F[SymbolFont];
    const int upper = cell.height() * 3 / 5;
    font.setPixelSize(std::max(6, std::min(upper * 4 / 5, (cell.width() - 6) / 3)));
    font.setWeight(QFont::Bold);
    s.P.setFont(font);
    Centered(s.P, QRect(cell.left(), cell.top(), cell.width(), upper), god);
    font.setPixelSize(std::max(6, std::min((cell.height() - upper) * 9 / 10, font.pixelSize())));
    font.setWeight(QFont::DemiBold);
    s.P.setFont(font);
    Centered(s.P, QRect(cell.left(), cell.top() + upper - 1, cell.width(), cell.height() - upper), state);
}

void DrawPillar(const Sheet& s, int pillar) {
    const ChartBlock& n = s.Shown();
    const ChartBlock& c = s.Compared();
    const Grid& g = s.G;
    const double x = PillarLeft(pillar);
    auto cell = [&](PillarRowIndex row) { return g.Cells(x, PillarRows[row].Rows.From, x + 4, PillarRows[row].Rows.To); };
    s.P.setFont(s.F[HeadFont]);
    Centered(s.P, cell(HeadRow), Utf8(label::PillarHeads[pillar]));
    DrawMainStar(s, cell(MainStarRow), Utf8(MainStarText(n, pillar)), SeasonalStateOf(n, pillar));
    DrawSymbolCell(s, cell(StemRow), Sym(text_base::Stem, n.Stem[pillar] % 10), n.StemElement[pillar],
                   c.Stem[pillar] != n.Stem[pillar]);
    DrawSymbolCell(s, cell(BranchRow), Sym(text_base::Branch, n.Branch[pillar] % 12), n.BranchElement[pillar],
                   c.Branch[pillar] != n.Branch[pillar]);
    DrawHiddenCells(s, pillar, x);
    s.P.setFont(s.F[HeaderFont]);
    Centered(s.P, cell(StageRow), Sym(text_base::Stage, n.Stage[pillar] % 12).trimmed());
    Centered(s.P, cell(NaYinRow), Sym(text_base::NaYin, n.NaYin[pillar] % 30));
    DrawSpiritCell(s, cell(SpiritRow), Utf8(SpiritsText(n, pillar)));
}

void DrawRowLabels(const Sheet& s) {
    s.P.setFont(s.F[HeadFont]);
    for (const PillarRow& row : PillarRows) {
        QString text = Utf8(row.Label);
        if (&row == &PillarRows[PeriodRow] && s.Rec.ChartKind == YearKind)
            text = Sym(text_base::ChartKind, YearKind).left(2);
        Column(s.P, s.G.Cells(24, row.Rows.From, 26, row.Rows.To), text, s.G.U);
    }
}

void DrawLuckLines(const Sheet& s) {
    const ChartBlock& n = s.Rec.Natal;
    s.P.setFont(s.F[HeaderFont]);
    const LuckLine lines[] = {LuckChangeText(n), LuckStartTermText(n), LuckSpanText(n)};
    for (int i = 0; i < 3; ++i) Centered(s.P, s.G.Cells(0, 28.5 + 1.5 * i, 24, 29.5 + 1.5 * i), Utf8(lines[i].View()));
    s.P.setPen(Blue);
    s.P.setFont(s.F[SummaryFont]);
    Centered(s.P, s.G.Cells(0, 33, 16.5, 34), Utf8(StringText(ProductTitleText)));
    s.P.setPen(Qt::black);
}

// ---- Period row --------------------------------------------------------------------------

// The age (upper) and age or year (lower) texts of period column k.
std::pair<QString, QString> PeriodLabels(const Sheet& s, int k) {
    const ChartBlock& n = s.Rec.Natal;
    if (s.Rec.ChartKind == YearKind) {
        const int age = s.Rec.Period.FirstAge + k;
        return {Num(age), YearNumber(s.Rec, YearOfAge(s.Rec, age))};
    }
    return {Num(n.LuckStartAge + 10 * k), Num(n.LuckStartAgeMid + 10 * k)};
}

void DrawPeriodRow(const Sheet& s) {
    const ChartBlock& b = s.PeriodBlock();
    const Grid& g = s.G;
    for (int k = 0; k < LuckPillarCount; ++k) {
        const double x = PeriodLeft(k);
        const auto [upper, lower] = PeriodLabels(s, k);
        s.P.setFont(s.F[SummaryFont]);
        Centered(s.P, g.Cells(x, 22, x + 2, 23), upper);
        Centered(s.P, g.Cells(x, 27, x + 2, 28), lower);
        s.P.setFont(s.F[SymbolFont]);
        Centered(s.P, g.Cells(x, 23, x + 2, 25), Sym(text_base::Stem, b.LuckStem[k] % 10));
        Centered(s.P, g.Cells(x, 25, x + 2, 27), Sym(text_base::Branch, b.LuckBranch[k] % 12));
    }
}

// ---- Chart-kind buttons and the side panel -----------------------------------------------

void DrawKindButtons(const Sheet& s) {
    for (int k = NatalKind; k < KindButtonCount; ++k)
        s.P.drawImage(QPoint(KindButtonLeft, s.Layout.y0 + KindButtonStep * k), KindButtonPicture(k, k == s.Rec.ChartKind));
}

// A raised button face, or a pressed one in the chart's blue for the kind on show.
QImage PaintKindButton(int kind, bool selected) {
    QImage image(KindButtonWidth, KindButtonHeight, QImage::Format_RGB32);
    QPainter p(&image);
    const QRect face = image.rect();
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0, selected ? QColor(60, 60, 220) : Ivory);
    fill.setColorAt(1, selected ? Blue : Peach);
    p.fillRect(face, fill);
    const QColor light = selected ? QColor(20, 20, 90) : Qt::white;
    const QColor dark = selected ? QColor(150, 150, 255) : QColor(150, 130, 110);
    for (int i = 1; i <= 2; ++i) {
        const QRect edge = face.adjusted(i, i, -i, -i);
        p.setPen(light);
        p.drawLine(edge.topLeft(), edge.topRight());
        p.drawLine(edge.topLeft(), edge.bottomLeft());
        p.setPen(dark);
        p.drawLine(edge.bottomLeft(), edge.bottomRight());
        p.drawLine(edge.topRight(), edge.bottomRight());
    }
    p.setPen(Qt::black);
    p.drawRect(face.adjusted(0, 0, -1, -1));
    p.setFont(MakeChartFont(7, 20, 700));
    p.setPen(selected ? Qt::white : Blue);
    p.drawText(face.translated(selected ? 1 : 0, selected ? 1 : 0), Qt::AlignCenter | Qt::TextSingleLine,
               Sym(text_base::ChartKind, kind));
    return image;
}

// One framed panel cell, shaded when marked, with its lines of text.
void DrawPanelCell(QPainter& p, const QRect& cell, const QStringList& lines, bool marked, int lineHeight) {
    if (marked) p.fillRect(cell, Today);
    p.drawRect(cell.adjusted(0, 0, -1, -1));
    for (int i = 0; i < lines.size(); ++i)
        Centered(p, QRect(cell.left(), cell.top() + i * lineHeight, cell.width(), lineHeight), lines[i]);
}

// A row of one-line panel cells of the given widths.
void DrawPanelRow(QPainter& p, QPoint at, std::span<const int> widths, std::span<const QString> cells, bool marked, int height) {
    for (size_t c = 0; c < widths.size() && c < cells.size(); ++c) {
        DrawPanelCell(p, QRect(at.x(), at.y(), widths[c], height), {cells[c]}, marked, height);
        at.rx() += widths[c];
    }
}

QString YearCellNumber(const ChartRecord& rec, int year, bool fullYear) {
    char text[16];
    if (rec.YearDisplay == 1)
        std::snprintf(text, sizeof text, "%3d", year - 1911);
    else if (fullYear)
        std::snprintf(text, sizeof text, "%4d", year);
    else
        std::snprintf(text, sizeof text, "%02d", year % 100);
    return QString::fromLatin1(text).trimmed();
}

// 本命盤: 104 years from the birth year, eight to a row.
void DrawYearTable(const Sheet& s, QPoint origin) {
    for (int i = 0; i < 104; ++i) {
        const int year = s.Rec.Birth.LunarYear + i;
        const QRect cell(origin.x() + 28 * (i % 8), origin.y() + 51 * (i / 8), 28, 51);
        const int cycle = FloorMod(year - 4, 60);
        DrawPanelCell(s.P, cell,
                      {YearCellNumber(s.Rec, year, i % 8 == 0 || year % 100 == 0), Sym(text_base::Stem, cycle % 10),
                       Sym(text_base::Branch, cycle % 12)},
                      year == s.TodayLunar.Year, 17);
    }
}

// 十年盤: thirty years around the selected luck span.
void DrawLuckYears(const Sheet& s, QPoint origin) {
    const int firstAge = s.Rec.Period.Age >= 11 ? s.Rec.Period.Age - 10 : 1;
    constexpr int widths[] = {42, 84, 42, 42};
    for (int row = 0; row < 30; ++row) {
        const int age = firstAge + row;
        const int year = YearOfAge(s.Rec, age);
        char number[16], ageText[16];
        std::snprintf(number, sizeof number, "%3d", year);
        std::snprintf(ageText, sizeof ageText, "%3d", age);
        const QString cells[] = {QString::fromLatin1(number).trimmed(), Utf8(EraYearText(year)), Utf8(PillarText(FloorMod(year - 4, 60))),
                                 QString::fromLatin1(ageText).trimmed() + Utf8(label::AgeUnit)};
        const bool marked = age >= s.Rec.Period.Age && age < s.Rec.Period.Age + 5;
        DrawPanelRow(s.P, QPoint(origin.x(), origin.y() + 21 * row), widths, cells, marked, 21);
    }
}

QString TermDateText(const SolarTermTable* table, int year, int term) {
    if (!table || !table->Covers(year)) return Sym(text_base::Term, term);
    const TermMoment& m = table->At(year, term);
    return Sym(text_base::Term, term) + QString::asprintf("%d/%d", m.Month, m.Day);
}

// The terms whose days fall within the lunar month from `first` for `days` days
// (a leap month holds no principal term of its own, usually one term in all).
std::array<QString, 2> TermsWithin(const SolarTermTable* table, const CivilDate& first, int days) {
    std::array<QString, 2> texts;
    size_t found = 0;
    const int32_t from = DayNumber(DayNumberLunarBase, first.Year, first.Month, first.Day);
    for (int year = first.Year; year <= first.Year + 1 && table && table->Covers(year); ++year) {
        for (int term = 0; term < 24 && found < texts.size(); ++term) {
            const TermMoment& m = table->At(year, term);
            const int32_t day = DayNumber(DayNumberLunarBase, year, m.Month, m.Day);
            if (day >= from && day < from + days) texts[found++] = TermDateText(table, year, term);
        }
    }
    return texts;
}

}  // namespace

std::array<QString, 2> LeapMonthTerms(const ChartRecord& rec, int lunarYear) {
    const LunarYearMonths months = LunarMonthLengths(lunarYear);
    CivilDate first{};
    if (!months.HasLeap || !LunarToSolar(LunarDate{lunarYear, months.LeapMonth, 1, true}, first)) return {};
    return TermsWithin(rec.SolarTerms, first, months.Length[months.LeapMonth]);
}

namespace {

QString YearHeading(const Sheet& s, int year) {
    const QString yearText = s.Rec.YearDisplay == 1 ? Utf8(EraYearText(year)) : QString::asprintf("%4d", year) + Utf8(label::Year);
    const int cycle = FloorMod(year - 4, 60);
    return yearText + "  " + Utf8(PillarText(cycle)) + Utf8(label::Year) + "  " + Sym(text_base::Animal, cycle % 12) + "  " +
           Num(AgeInYear(s.Rec, year)) + Utf8(label::AgeUnit);
}

// 流年盤: the months of one lunar year with their pillars and solar terms; returns the height used.
int DrawLunarYearMonths(const Sheet& s, QPoint origin, int year) {
    s.P.setPen(Blue);
    Centered(s.P, QRect(origin.x(), origin.y(), SidePanelWidth, 22), YearHeading(s, year));
    s.P.setPen(Qt::black);
    const LunarYearMonths months = LunarMonthLengths(year);
    constexpr int widths[] = {46, 54, 62, 62};
    for (int i = 0; i < months.Count; ++i) {
        const bool leap = months.HasLeap && i == months.LeapMonth;
        const int month = months.HasLeap && i >= months.LeapMonth ? i : i + 1;
        const int stem = (FloorMod(year - 4, 10) * 2 + 2 + month - 1) % 10;
        const int termYear = month == 12 ? year + 1 : year;
        std::array<QString, 2> terms = {TermDateText(s.Rec.SolarTerms, termYear, (2 * month) % 24),
                                        TermDateText(s.Rec.SolarTerms, termYear, (2 * month + 1) % 24)};
        if (leap) terms = LeapMonthTerms(s.Rec, year);
        const QString cells[] = {(leap ? Utf8(StringText(LeapMonthText)) : QString()) + Sym(text_base::MonthName - 1, month),
                                 Utf8(PillarText(SexagenaryOf(stem, (month + 1) % 12))) + Utf8(label::Month), terms[0], terms[1]};
        const bool today = s.TodayLunar.Year == year && s.TodayLunar.Month == month && s.TodayLunar.Leap == leap;
        DrawPanelRow(s.P, QPoint(origin.x(), origin.y() + 22 + 25 * i), widths, cells, today, 25);
    }
    return 22 + 25 * months.Count + 8;
}

// Where the lunar calendar ends, the panel says so instead of standing empty.

void DrawCalendarEnd(const Sheet& s, QPoint origin) {
    const QString note = Utf8(StringText(CalendarEndsText)) + Num(LunarLastYear) + Utf8(StringText(CalendarEndsTailText));
    s.P.setPen(Blue);
    s.P.drawText(QRect(origin.x(), origin.y(), SidePanelWidth, 80), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                 note);
    s.P.setPen(Qt::black);
}

void DrawSidePanel(const Sheet& s, int width) {
    const QPoint origin(s.Layout.x0 + s.Layout.side + 4, s.Layout.y0);
    if (origin.x() + 28 > width - 20) return;
    s.P.save();
    s.P.setClipRect(QRect(origin.x(), 0, width - 20 - origin.x(), 1 << 20));
    s.P.setFont(MakeChartFont(2, PanelTextSize, 400));
    s.P.setPen(QPen(Qt::black, 0));
    if (s.Rec.ChartKind == NatalKind) {
        DrawYearTable(s, origin);
    } else if (s.Rec.ChartKind == LuckKind) {
        DrawLuckYears(s, origin);
    } else if (s.Rec.ChartKind == YearKind) {
        const int year = s.Rec.Period.LunarYear ? s.Rec.Period.LunarYear : s.TodayLunar.Year;
        int used = 0;
        for (const int shown : {year, year + 1}) {
            if (!LunarYearInRange(shown)) {
                DrawCalendarEnd(s, origin + QPoint(0, used));
                break;
            }
            used += DrawLunarYearMonths(s, origin + QPoint(0, used), shown);
        }
    }
    s.P.restore();
}

void DrawEdgeNote(const Sheet& s, int width, int height) {
    const QRect area = EdgeNoteArea(s.Layout, s.Ctx, width, height);
    if (s.Ctx.edgeNote.empty() || area.isEmpty()) return;
    s.P.setPen(Blue);
    s.P.setFont(s.F[HeaderFont]);
    s.P.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, Utf8(s.Ctx.edgeNote));
    s.P.setPen(Qt::black);
}

LunarDate LunarOf(const CivilDate& date) {
    LunarDate lunar{date.Year, date.Month, date.Day, false};
    SolarToLunar(date, lunar);
    return lunar;
}

}  // namespace

// ---- Public ------------------------------------------------------------------------------

std::span<const char* const> ChartLabelTexts() { return AllLabels; }

const QImage& KindButtonPicture(int kind, bool selected) {
    static const std::array<QImage, 2 * KindButtonCount> pictures = [] {
        std::array<QImage, 2 * KindButtonCount> all;
        for (int k = 0; k < 2 * KindButtonCount; ++k) all[k] = PaintKindButton(k / 2, k % 2 != 0);
        return all;
    }();
    return pictures[2 * std::clamp(kind, 0, KindButtonCount - 1) + (selected ? 1 : 0)];
}

std::string HourText(int hour, int minute) {
    char text[24];
    // 12:00-12:59 is already afternoon: "PM 12:40", as a clock reads it.
    std::snprintf(text, sizeof text, "%s%d:%02d", hour >= 12 ? "PM " : "AM ", hour > 12 ? hour - 12 : hour, minute);
    return text;
}

std::string HeaderYearText(int year, int yearDisplay) { return std::to_string(yearDisplay == 1 ? year - 1911 : year); }

std::string TenthsText(int tenths) {
    // The sign goes first so that -0.5 keeps it.
    const int magnitude = tenths < 0 ? -tenths : tenths;
    return (tenths < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." + std::to_string(magnitude % 10);
}

std::string StrengthText(const ChartBlock& n) {
    const char* comparison = n.SameParty > n.OtherParty ? " > " : n.SameParty == n.OtherParty ? " = " : " < ";
    return "A" + std::to_string(n.SameParty) + comparison + std::to_string(n.OtherParty) + "B";
}

std::string MainStarText(const ChartBlock& n, int pillar) {
    if (pillar == DayPillar) return label::DayMaster;
    if (n.StemGod[pillar] >= 10) return {};
    return std::string(StringText(text_base::TenGod + n.StemGod[pillar]));
}

SpiritLayout LayOutSpirits(const QString& spirits, QFont font, QSize room) {
    const QStringList names = spirits.split(Utf8(label::Comma), Qt::SkipEmptyParts);
    SpiritLayout layout;
    for (int px = std::max(6, font.pixelSize()); px >= 6; --px) {
        font.setPixelSize(px);
        const QFontMetrics metrics(font);
        QStringList lines;
        QString line;
        bool fits = true;
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString piece = names[i] + (i + 1 < names.size() ? Utf8(label::Comma) : QString());
            if (!line.isEmpty() && metrics.horizontalAdvance(line + piece) > room.width()) {
                lines << line;
                line.clear();
            }
            line += piece;
            fits = fits && metrics.horizontalAdvance(line) <= room.width();
        }
        if (!line.isEmpty()) lines << line;
        layout = SpiritLayout{font, lines, metrics.height() + px / 5};
        if (fits && layout.LineHeight * lines.size() <= room.height()) break;
    }
    return layout;
}

std::string SpiritsText(const ChartBlock& n, int pillar) {
    std::string text;
    for (int spirit = 0; spirit < SpiritCount; ++spirit) {
        if (!HasSpirit(n, pillar, static_cast<Spirit>(spirit))) continue;
        if (!text.empty()) text += label::Comma;
        text += SpiritName(static_cast<Spirit>(spirit));
    }
    return text;
}

CivilDate TodayFor(const ChartRecord& rec, const ChartDrawContext& context) {
    if (context.todayYear) return {context.todayYear, context.todayMonth, context.todayDay};
    if (rec.Now.Year) return {rec.Now.Year, rec.Now.Month, rec.Now.Day};
    const QDate today = QDate::currentDate();
    return {today.year(), today.month(), today.day()};
}

ChartLayout ViewChartLayout(int width, int height) {
    ChartLayout layout;
    layout.x0 = ChartLeft;
    layout.y0 = width > height ? 2 : std::max(1, (height - width) / 2);
    const int fitsWidth = width - ChartLeft - 4 - SidePanelWidth - 20;
    layout.side = std::max(34, std::min(height - layout.y0 - 2, fitsWidth));
    layout.unit = layout.side / 34;
    return layout;
}

ChartLayout LayoutFor(const ChartDrawContext& context, int width, int height, int side) {
    ChartLayout layout = context.forPrinter ? ChartLayout{} : ViewChartLayout(width, height);
    layout.side = side;
    layout.unit = side / 34;
    return layout;
}

QRect EdgeNoteArea(const ChartLayout& layout, const ChartDrawContext& context, int width, int height) {
    const int right = width - (context.forPrinter ? 0 : 20);
    const int squareEnd = 34 * layout.unit + 1, gap = std::max(4, layout.unit / 2);
    const QRect below(QPoint(layout.x0, layout.y0 + squareEnd + gap), QPoint(right - 1, height - 1));
    if (below.height() >= 2 * layout.unit) return below;
    // On the screen the side panel stands beside the square.
    if (!context.forPrinter) return {};
    const QRect beside(QPoint(layout.x0 + squareEnd + gap, layout.y0), QPoint(right - 1, layout.y0 + squareEnd));
    return beside.width() >= 8 * layout.unit ? beside : QRect();
}

void DrawChart(QPainter& painter, const ChartRecord& record, const ChartDrawContext& context, int width, int height, int side) {
    painter.save();
    painter.fillRect(0, 0, width, height, Qt::white);
    const ChartLayout layout = LayoutFor(context, width, height, side);
    if (layout.unit < 1) {
        painter.restore();
        return;
    }
    const CivilDate today = TodayFor(record, context);
    const int textSize = context.textSize > 0 ? context.textSize : layout.unit * 4 / 5;
    const Sheet sheet{painter, record, context, layout, Grid{QPoint(layout.x0, layout.y0), layout.unit},
                      Fonts(textSize), today, LunarOf(today), CurrentNominalAge(record, today)};
    painter.setBackgroundMode(Qt::TransparentMode);
    DrawShades(sheet);
    DrawRules(sheet);
    DrawHeaderColumn(sheet);
    DrawSummaryColumn(sheet);
    DrawHealthColumn(sheet);
    DrawReadingRows(sheet);
    for (int p = YearPillar; p <= HourPillar; ++p) DrawPillar(sheet, p);
    DrawRowLabels(sheet);
    DrawLuckLines(sheet);
    DrawPeriodRow(sheet);
    if (!context.forPrinter) {
        DrawKindButtons(sheet);
        DrawSidePanel(sheet, width);
    }
    DrawEdgeNote(sheet, width, height);
    painter.restore();
}

}  // namespace qv::ui
