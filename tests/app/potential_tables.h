// Potential tables the window and dialog tests start from: categories of
// named abilities written as the program would save them.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "engine/fortune/potential.h"
#include "potential_dialogs.h"
#include "potential_file.h"

namespace qv::test {

struct CategoryDef {
    QString Name;
    int Items;
};

// Category c's abilities are named by its name and their number from 1, and
// each has element bit c % 5 and ten-god bit i % 10, so a moved one is known.
inline std::unique_ptr<PotentialTable> MakePotentialTable(const std::vector<CategoryDef>& categories) {
    auto table = std::make_unique<PotentialTable>();
    ResetPotentialTable(*table);
    for (const CategoryDef& def : categories) {
        const int c = AddPotentialCategory(*table, 40, def.Items);
        EXPECT_GE(c, 0) << def.Name.toStdString();
        if (c < 0) break;
        PotentialCategory& cat = table->Categories[c];
        ui::StorePotentialName(cat.Name, sizeof cat.Name, def.Name);
        for (int i = 0; i < def.Items; ++i) {
            PotentialItem& item = table->Items[cat.FirstItem + i];
            ui::StorePotentialName(item.Name, sizeof item.Name, def.Name + QString::number(i + 1));
            item.ElementMask = ElementBit(c % 5);
            item.TenGodMask = TenGodBit(i % 10);
        }
    }
    return table;
}

inline void WritePotentialTable(const std::string& path, const std::vector<CategoryDef>& categories) {
    ASSERT_TRUE(SavePotentialTable(path, *MakePotentialTable(categories)).Ok);
}

}  // namespace qv::test
