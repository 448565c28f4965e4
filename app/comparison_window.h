#pragma once
// Two charts side by side (命盤對照): a modeless window over two charted
// persons, the current one or any of the records file, drawn by the one
// comparison painting on screen, printer and picture file.
#include <QDialog>
#include <QPageLayout>
#include <functional>
#include <memory>

#include "comparison_paint.h"

class QBoxLayout;
class QLabel;
class QPrinter;
class QScrollArea;

namespace qv::ui {

// What the two-person windows ask of the program.
struct TwoPersonHooks {
    // A person of the records file charted with the fortune tables; false when cancelled.
    std::function<bool(ChartRecord&)> ChooseOther;
    std::function<QPrinter&()> Printer;  // the program's shared printer
};
// A person charted through ChooseOther; null when cancelled.
std::unique_ptr<ChartRecord> ChooseCharted(const TwoPersonHooks& hooks);

// The print and picture buttons of a two-person window and their keys, Ctrl+P and Ctrl+S.
void AddPrintAndExport(QBoxLayout& row, QDialog& window, const std::function<void()>& print,
                       const std::function<void()>& exportPicture);
// The print dialog over the program's printer turned to `orientation`, then
// `printOn` as the document titled by text `titleText`; a failure is told.
void PrintThrough(const TwoPersonHooks& hooks, QWidget* parent, QPageLayout::Orientation orientation, int titleText,
                  const std::function<bool(QPrinter&)>& printOn);
// The name a picture of the persons is offered under: "甲與乙", the one name
// there is, or text `titleText` when neither has a name.
QString PersonsPictureName(const ChartRecord& a, const ChartRecord* b, int titleText);

class CComparisonWnd : public QDialog {
    Q_OBJECT
public:
    // a and b charted already; on a large screen the drawing grows with it.
    CComparisonWnd(std::unique_ptr<ChartRecord> a, std::unique_ptr<ChartRecord> b, TwoPersonHooks hooks,
                   QWidget* owner);
    ~CComparisonWnd() override;

    const ComparisonSheet& Sheet() const { return *sheet_; }
    QWidget* Canvas() const { return canvas_; }
    // Person 0 (甲方) or 1 (乙方) chosen anew from the records file.
    void ChoosePerson(int side);
    bool PrintOn(QPrinter& printer) const;
    void Print();
    void ExportPicture();  // as PNG or PDF, offering the two names as the file's

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Compare();
    void FitCanvas();
    QString Title() const;

    std::unique_ptr<ChartRecord> persons_[2];
    TwoPersonHooks hooks_;
    std::unique_ptr<ComparisonSheet> sheet_;
    QScrollArea* scroll_ = nullptr;
    QWidget* canvas_ = nullptr;
};

// The page of the comparison at its own size.
QSize ComparisonPage(const ComparisonSheet& sheet);

}  // namespace qv::ui
