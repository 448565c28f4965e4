// The readable chart of quorvane-cli: the chart view's content as text
// columns for a CJK terminal (each Chinese character two columns wide).
#pragma once

#include <string>
#include <string_view>

#include "engine/chart/chart_record.h"

namespace qv::cli {

// Terminal columns a UTF-8 text takes: East Asian wide characters count two.
int DisplayWidth(std::string_view text);

// Appends text padded with blanks to the given number of columns.
void AppendPadded(std::string& out, std::string_view text, int columns);

void AppendReadableChart(std::string& out, const ChartRecord& rec);

}  // namespace qv::cli
