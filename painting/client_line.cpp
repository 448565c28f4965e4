#include "client_line.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cstring>

#include "engine/texts/big5.h"
#include "paint_helpers.h"
#include "engine/chart/person_record.h"
#include "records_file.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

std::string Number(int n) { return std::to_string(n); }

}  // namespace

std::string PersonNameText(const ChartRecord& rec) {
    const std::string_view big5(rec.Person.name, strnlen(rec.Person.name, sizeof rec.Person.name));
    std::string utf8;
    return !big5.empty() && Big5ToUtf8(big5, utf8) ? utf8 : std::string();
}

std::string ClientLine(const ChartRecord& rec) {
    const PersonRecord& p = rec.Person;
    std::string name = PersonNameText(rec);
    if (name.empty()) name = StringText(NamelessText);
    std::string line = name + "　出生：" + DisplayedYearText(p.year, rec.YearDisplay) + Number(p.month) + "月" + Number(p.day) + "日 ";
    return line + (p.hour == HourUnknown ? std::string("時辰不詳") : Number(p.hour) + "時" + Number(p.minute) + "分");
}

void PaintClientLine(QPainter& painter, const QRectF& area, const QString& line) {
    painter.save();
    QFont font = MakeChartFont(0, 10, 400);
    font.setPixelSize(std::max(1, int(area.height() * 0.7)));
    const double width = QFontMetricsF(font).horizontalAdvance(line);
    if (width > area.width()) font.setPixelSize(std::max(1, int(font.pixelSize() * area.width() / width)));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(area, Qt::AlignCenter | Qt::TextSingleLine, line);
    painter.restore();
}

}  // namespace qv::ui
