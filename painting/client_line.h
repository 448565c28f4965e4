#pragma once
// The line that names the client on every printed page: the person's name and
// birth, the years as the chart shows them (Western or 民國).
#include <QRectF>
#include <QString>
#include <string>

#include "engine/chart/chart_record.h"

class QPainter;

namespace qv::ui {

// The person's name in UTF-8; empty for a record without one.
std::string PersonNameText(const ChartRecord& rec);

// "王小明　出生：1990年2月19日 9時5分" ("民國79年…" under the 民國 display;
// "時辰不詳" for an unknown hour; "無名氏" for a record without a name).
std::string ClientLine(const ChartRecord& rec);

// Draws the line centred in `area`, as large as its height allows.
void PaintClientLine(QPainter& painter, const QRectF& area, const QString& line);

}  // namespace qv::ui
