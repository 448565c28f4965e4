// The forty spirits (神煞) of the natal pillars, as two bit sets per pillar.
#pragma once

#include <string_view>

#include "engine/chart/chart_record.h"

namespace qv {

// Spirits 0-21 live in SpiritMaskA (bit 31 - n, text 243 + n), 22-39 in
// SpiritMaskB (bit 31 - (n - 22), text 265 + n - 22).
enum Spirit : int {
    三奇貴人, 魁罡貴人, 金神, 福星, 天乙貴人, 文昌, 天德, 月德, 月將, 將星, 華蓋,
    學堂, 詞館, 驛馬, 紅鸞, 天喜, 六秀, 十靈, 天醫, 祿神, 天德合, 月德合,
    羊刃, 飛刃, 劫煞, 亡神, 咸池, 紅艷, 外桃, 六甲空亡, 孤虛, 四大空亡,
    孤辰, 寡宿, 天轉, 地轉, 天羅, 地網, 十惡大敗, 四廢,
    SpiritCount
};

bool HasSpirit(const ChartBlock& block, int pillar, Spirit s);
std::string_view SpiritName(Spirit s);

// Evaluates every rule for Natal; the pillars are those of the birth (some
// rules read them rather than the shown conception pillar).
void FillSpirits(ChartRecord& rec, const PillarQuad& pillars);

}  // namespace qv
