// compare --out: the two charts side by side as the comparison window draws
// them, into a PNG or PDF.
#include <memory>

#include "comparison_paint.h"
#include "picture_out.h"
#include "engine/texts/string_table.h"
#include "two_persons.h"

namespace qv::cli {
namespace {

std::string CaptionOf(const ChartRecord& rec) {
    return BirthText(rec.Person) + " " + std::string(StringText(text_base::Sex + (rec.Person.sex == 1)));
}

}  // namespace

int RunComparePicture(Args& args) {
    PictureOptions picture;
    if (!TakePictureOptions(args, picture)) return ExitBadInput;
    Charting charting;
    TwoPersons two;
    if (const int code = ChartTwoPersons(args, charting, two, false); code != ExitOk) return code;
    auto sheet = std::make_unique<ui::ComparisonSheet>();
    sheet->A = two.A.get(), sheet->B = two.B.get();
    sheet->CaptionA = CaptionOf(*two.A), sheet->CaptionB = CaptionOf(*two.B);
    CompareCharts(two.A->Natal, two.B->Natal, sheet->Found);
    const QSize page(ui::ComparisonWidth, ui::ComparisonHeight(*sheet));
    if (picture.Width == 0) picture.Width = page.width();
    picture.Title = std::string(StringText(ComparisonTitleText));
    return WritePicture(picture, page, [&](QPainter& painter) { ui::PaintComparison(painter, *sheet, QRectF(QPoint(0, 0), page)); });
}

}  // namespace qv::cli
