#include "comparison_paint.h"

#include <algorithm>

#include "engine/texts/comparison_words.h"
#include "paint_helpers.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

const QColor Ink(32, 32, 32);
const QColor GridLine(150, 150, 150);
const QColor HeadFill(225, 225, 245);
const QColor HarmonyColor(0, 130, 60);
const QColor ConflictColor(190, 0, 0);

constexpr int Margin = 20, TitleHeight = 44, RowHeight = 26, CellWidth = 112;
constexpr int BlockLeft[2] = {Margin, ComparisonWidth / 2 + Margin};
constexpr int TableRows = 6;  // 柱 十神 天干 地支 藏干 納音
constexpr int InfoRows = 2;   // strength, roles
// The person's caption, strength and roles above the table, so that the
// relations leave its foot unhindered.
constexpr int BlockTop = TitleHeight + (1 + InfoRows) * RowHeight;
constexpr int BlockBottom = BlockTop + TableRows * RowHeight;
constexpr int LinkGap = 12;
constexpr int ListLine = 22;
constexpr int SummaryLines = 5;


int LinkDepth(const ChartComparison& c) { return (c.StemCount + c.BranchCount + 1) * LinkGap + RowHeight; }
int ListTop(const ChartComparison& c) { return BlockBottom + LinkDepth(c) + RowHeight; }
int ListRows(const ChartComparison& c) { return (c.StemCount + c.BranchCount + 1) / 2; }

QColor ToneColor(RelationTone tone) { return tone == RelationTone::Harmonious ? HarmonyColor : ConflictColor; }

// Pillars from right to left as the almanacs set them: 時 日 月 年.
int ColumnX(int side, int pillar) { return BlockLeft[side] + (3 - pillar) * CellWidth; }

QString HiddenStems(const ChartBlock& n, int p) {
    QString s;
    for (int slot = 0; slot < 3; ++slot)
        if (n.HiddenStem[p][slot]) s += Text(text_base::Stem + n.HiddenStem[p][slot] - 1);
    return s;
}

QString CellTextOf(const ChartBlock& n, int row, int p) {
    switch (row) {
        case 0: return Text(text_base::PillarName + p);
        case 1: return p == DayPillar ? Text(DayMasterWordText) : Text(text_base::TenGod + n.StemGod[p]);
        case 2: return Text(text_base::Stem + n.Stem[p]);
        case 3: return Text(text_base::Branch + n.Branch[p]);
        case 4: return HiddenStems(n, p);
        default: return Text(text_base::NaYin + n.NaYin[p]);
    }
}

void DrawPerson(QPainter& p, int side, const ChartBlock& n, const std::string& caption, const DayMasterStrength& s) {
    const int left = BlockLeft[side], width = 4 * CellWidth;
    p.setPen(Ink);
    p.setFont(MakeChartFont(0, 15, 700));
    p.drawText(QRect(left, TitleHeight, width, RowHeight), Qt::AlignLeft | Qt::AlignVCenter,
               Text(side ? PersonBText : PersonAText) + QStringLiteral("  ") + Utf8(caption));
    for (int row = 0; row < TableRows; ++row) {
        p.setFont(MakeChartFont(0, row == 2 || row == 3 ? 20 : 14, row == 2 || row == 3 ? 700 : 400));
        for (int pillar = 0; pillar < 4; ++pillar) {
            const QRect cell(ColumnX(side, pillar), BlockTop + row * RowHeight, CellWidth, RowHeight);
            if (row == 0) p.fillRect(cell, HeadFill);
            p.setPen(GridLine);
            p.drawRect(cell);
            p.setPen(Ink);
            p.drawText(cell, Qt::AlignCenter, CellTextOf(n, row, pillar));
        }
    }
    p.setFont(MakeChartFont(0, 14, 400));
    const int infoTop = TitleHeight + RowHeight;
    const QString strength = Text(DayMasterWordText) + Text(text_base::Stem + n.Stem[DayPillar]) + QStringLiteral("  ") +
                             Text(s.Strong ? StrongText : WeakText) +
                             QStringLiteral("  (%1 / %2)").arg(s.SameParty).arg(s.OtherParty);
    p.drawText(QRect(left, infoTop, width, RowHeight), Qt::AlignLeft | Qt::AlignVCenter, strength);
    QString roles;
    for (int r = 0; r < 5; ++r)
        roles += Text(text_base::GodRole + r) + Text(text_base::Element + n.Roles[r] % 5) + QStringLiteral("  ");
    p.drawText(QRect(left, infoTop + RowHeight, width, RowHeight), Qt::AlignLeft | Qt::AlignVCenter, roles);
}

// One relation as a line under both tables: down from each pillar taking
// part, across at its own depth, the kind written at its start.
void DrawLink(QPainter& p, const ComparisonLine& line, int k) {
    const int y = BlockBottom + (k + 1) * LinkGap;
    const int nudge = (k % 5 - 2) * 4;
    int leftmost = ComparisonWidth, rightmost = 0;
    p.setPen(QPen(ToneColor(line.Tone), 1.6));
    for (int side = 0; side < 2; ++side) {
        const unsigned mask = side ? line.MaskB : line.MaskA;
        for (int pillar = 0; pillar < 4; ++pillar) {
            if (!(mask >> pillar & 1u)) continue;
            const int x = ColumnX(side, pillar) + CellWidth / 2 + nudge;
            p.drawLine(x, BlockBottom, x, y);
            leftmost = std::min(leftmost, x), rightmost = std::max(rightmost, x);
        }
    }
    p.drawLine(leftmost, y, rightmost, y);
    p.setFont(MakeChartFont(0, 10, 400));
    p.drawText(QRect(leftmost + 3, y - LinkGap, 60, LinkGap), Qt::AlignLeft | Qt::AlignBottom, Utf8(line.Kind));
}

void DrawLegendAndList(QPainter& p, const ComparisonSheet& s, const std::vector<ComparisonLine>& lines) {
    const ChartComparison& c = s.Found;
    int y = BlockBottom + LinkDepth(c);
    p.setFont(MakeChartFont(0, 14, 400));
    int x = Margin;
    for (RelationTone tone : {RelationTone::Harmonious, RelationTone::Conflicting}) {
        p.setPen(QPen(ToneColor(tone), 3));
        p.drawLine(x, y + RowHeight / 2, x + 30, y + RowHeight / 2);
        p.setPen(Ink);
        p.drawText(QRect(x + 36, y, 200, RowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                   Text(tone == RelationTone::Harmonious ? HarmoniousText : ConflictingText));
        x += 140;
    }
    y = ListTop(c);
    const int half = ListRows(c);
    for (size_t i = 0; i < lines.size(); ++i) {
        const ComparisonLine& l = lines[i];
        const int column = static_cast<int>(i) < half ? 0 : 1;
        const int row = column ? static_cast<int>(i) - half : static_cast<int>(i);
        p.setPen(ToneColor(l.Tone));
        p.drawText(QRect(BlockLeft[column], y + row * ListLine, 4 * CellWidth, ListLine), Qt::AlignLeft | Qt::AlignVCenter,
                   Utf8(l.Kind) + QStringLiteral("  ") + Text(PersonAText) + Utf8(l.PillarsA) + QStringLiteral(" — ") +
                       Text(PersonBText) + Utf8(l.PillarsB) + QStringLiteral("  ") + Utf8(l.Detail));
    }
    y += half * ListLine + RowHeight / 2;
    std::string zodiac;
    for (int i = 0; i < c.YearRelationCount; ++i) zodiac += std::string(i ? "、" : " ") + std::string(StringText(RelationKindText(c.YearRelations[i].Kind)));
    const QString summary[SummaryLines] = {
        Text(TenGodWordText) + QStringLiteral("  ") + Text(PersonBText) + Text(DayMasterWordText) + QStringLiteral("：") +
            Text(text_base::TenGod + c.GodOfBFromA) + QStringLiteral("   ") + Text(PersonAText) + Text(DayMasterWordText) +
            QStringLiteral("：") + Text(text_base::TenGod + c.GodOfAFromB),
        Text(ZodiacWordText) + QStringLiteral("  ") + Text(text_base::Animal + c.ZodiacA) + QStringLiteral(" / ") +
            Text(text_base::Animal + c.ZodiacB) + Utf8(zodiac),
        Text(NaYinWordText) + QStringLiteral("  ") + Text(text_base::NaYin + s.A->Natal.NaYin[YearPillar]) +
            QStringLiteral(" / ") + Text(text_base::NaYin + s.B->Natal.NaYin[YearPillar]) + QStringLiteral("  ") +
            Utf8(NaYinRelationWord(c)),
        Text(HarmoniousText) + QStringLiteral(" %1  ").arg(c.Summary.Harmonious()) +
            Utf8(SummaryWords(c.Summary, RelationTone::Harmonious)),
        Text(ConflictingText) + QStringLiteral(" %1  ").arg(c.Summary.Conflicting()) +
            Utf8(SummaryWords(c.Summary, RelationTone::Conflicting)),
    };
    p.setPen(Ink);
    for (int i = 0; i < SummaryLines; ++i)
        p.drawText(QRect(Margin, y + i * ListLine, ComparisonWidth - 2 * Margin, ListLine), Qt::AlignLeft | Qt::AlignVCenter,
                   summary[i]);
}

}  // namespace

int ComparisonHeight(const ComparisonSheet& sheet) {
    return ListTop(sheet.Found) + ListRows(sheet.Found) * ListLine + RowHeight / 2 + SummaryLines * ListLine + Margin;
}

void PaintComparison(QPainter& painter, const ComparisonSheet& sheet, const QRectF& area) {
    if (!sheet.A || !sheet.B) return;
    painter.save();
    painter.fillRect(area, Qt::white);
    const double height = ComparisonHeight(sheet);
    const double scale = std::min(area.width() / ComparisonWidth, area.height() / height);
    painter.translate(area.left() + (area.width() - ComparisonWidth * scale) / 2, area.top());
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Ink);
    painter.setFont(MakeChartFont(0, 22, 700));
    painter.drawText(QRect(0, 0, ComparisonWidth, TitleHeight), Qt::AlignCenter, Text(ComparisonTitleText));
    DrawPerson(painter, 0, sheet.A->Natal, sheet.CaptionA, sheet.Found.StrengthA);
    DrawPerson(painter, 1, sheet.B->Natal, sheet.CaptionB, sheet.Found.StrengthB);
    const std::vector<ComparisonLine> lines = RelationLines(sheet.Found);
    for (size_t k = 0; k < lines.size(); ++k) DrawLink(painter, lines[k], static_cast<int>(k));
    DrawLegendAndList(painter, sheet, lines);
    painter.restore();
}

}  // namespace qv::ui
