#include "comparison_window.h"

#include <algorithm>

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <cmath>

#include "client_line.h"
#include "paint_helpers.h"
#include "picture_export.h"
#include "show_message.h"
#include "engine/texts/string_table.h"
#include "engine/texts/text_ids.h"
#include "tool_window_place.h"

namespace qv::ui {
namespace {


class ComparisonCanvas : public QWidget {
public:
    ComparisonCanvas(const ComparisonSheet& sheet, QWidget* parent) : QWidget(parent), sheet_(sheet) {
        setObjectName(QStringLiteral("comparisonCanvas"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::TextAntialiasing);
        PaintComparison(painter, sheet_, QRectF(rect()));
    }

private:
    const ComparisonSheet& sheet_;
};

QPushButton* AddButton(QBoxLayout& row, const char* text, const char* name) {
    auto* button = new QPushButton(QString::fromUtf8(text));
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    row.addWidget(button);
    return button;
}

}  // namespace

void AddPrintAndExport(QBoxLayout& row, QDialog& window, const std::function<void()>& print,
                       const std::function<void()>& exportPicture) {
    QObject::connect(AddButton(row, "列印(&P)...", "printButton"), &QPushButton::clicked, &window, print);
    QObject::connect(AddButton(row, "匯出圖片(&E)...", "exportButton"), &QPushButton::clicked, &window, exportPicture);
    QObject::connect(new QShortcut(QKeySequence::Print, &window), &QShortcut::activated, &window, print);
    QObject::connect(new QShortcut(QKeySequence(QStringLiteral("Ctrl+S")), &window), &QShortcut::activated, &window,
                     exportPicture);
}

void PrintThrough(const TwoPersonHooks& hooks, QWidget* parent, QPageLayout::Orientation orientation, int titleText,
                  const std::function<bool(QPrinter&)>& printOn) {
    QPrinter& printer = hooks.Printer();
    printer.setPageOrientation(orientation);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() != QDialog::Accepted) return;
    printer.setDocName(Utf8(StringText(titleText)));
    if (!printOn(printer)) ShowMessage(CannotPrintText);
}

QString PersonsPictureName(const ChartRecord& a, const ChartRecord* b, int titleText) {
    const QString first = QString::fromStdString(PersonNameText(a));
    const QString second = b ? QString::fromStdString(PersonNameText(*b)) : QString();
    if (first.isEmpty() || second.isEmpty()) return first.isEmpty() && second.isEmpty() ? Text(titleText) : first + second;
    return first + QStringLiteral("與") + second;
}

QSize ComparisonPage(const ComparisonSheet& sheet) { return QSize(ComparisonWidth, ComparisonHeight(sheet)); }

CComparisonWnd::CComparisonWnd(std::unique_ptr<ChartRecord> a, std::unique_ptr<ChartRecord> b, TwoPersonHooks hooks,
                               QWidget* owner)
    : QDialog(owner), persons_{std::move(a), std::move(b)}, hooks_(std::move(hooks)),
      sheet_(std::make_unique<ComparisonSheet>()) {
    setObjectName(QStringLiteral("comparisonWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* row = new QHBoxLayout;
    connect(AddButton(*row, "甲方(&A)...", "choosePersonA"), &QPushButton::clicked, this, [this] { ChoosePerson(0); });
    connect(AddButton(*row, "乙方(&B)...", "choosePersonB"), &QPushButton::clicked, this, [this] { ChoosePerson(1); });
    row->addStretch();
    AddPrintAndExport(*row, *this, [this] { Print(); }, [this] { ExportPicture(); });
    connect(AddButton(*row, "關閉", "closeButton"), &QPushButton::clicked, this, &QDialog::reject);
    scroll_ = new QScrollArea;
    scroll_->setBackgroundRole(QPalette::Base);
    canvas_ = new ComparisonCanvas(*sheet_, scroll_);
    scroll_->setWidget(canvas_);
    scroll_->viewport()->installEventFilter(this);  // the drawing follows the room it has
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);  // the drawing's width stays as it scrolls
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(scroll_, 1);
    Compare();

    // As wide as the chart view's page scale makes it, no wider than the
    // screen; as tall as the drawing, no taller.
    const QRect screen = ToolScreenArea(owner);
    const QMargins frame = ToolWindowFrame(*this);
    const double scale = ScreenScale(screen.size());
    ScaleControlFont(*this, scale);
    const int bar = scroll_->verticalScrollBar()->sizeHint().width() + 2 * layout->contentsMargins().left();
    const int width = std::min(screen.width() - frame.left() - frame.right(), int(std::lround(ComparisonWidth * scale)) + bar);
    const int wanted = layout->sizeHint().height() + int(std::lround(double(width - bar) * ComparisonHeight(*sheet_) / ComparisonWidth));
    setGeometry(CentredClient(QSize(width, wanted), frame, screen));
}

CComparisonWnd::~CComparisonWnd() = default;

QString CComparisonWnd::Title() const {
    return Utf8(StringText(ComparisonTitleText)) + QStringLiteral(" - ") + QString::fromStdString(sheet_->CaptionA) +
           QStringLiteral(" / ") + QString::fromStdString(sheet_->CaptionB);
}

void CComparisonWnd::Compare() {
    ComparisonSheet& s = *sheet_;
    s.A = persons_[0].get(), s.B = persons_[1].get();
    s.CaptionA = ClientLine(*s.A), s.CaptionB = ClientLine(*s.B);
    CompareCharts(s.A->Natal, s.B->Natal, s.Found);
    setWindowTitle(Title());
    FitCanvas();
    canvas_->update();
}

std::unique_ptr<ChartRecord> ChooseCharted(const TwoPersonHooks& hooks) {
    auto chosen = std::make_unique<ChartRecord>();
    if (!hooks.ChooseOther || !hooks.ChooseOther(*chosen)) return nullptr;
    return chosen;
}

void CComparisonWnd::ChoosePerson(int side) {
    if (auto chosen = ChooseCharted(hooks_)) {
        persons_[side] = std::move(chosen);
        Compare();
    }
}

void CComparisonWnd::FitCanvas() {
    const int width = std::max(200, scroll_->viewport()->width());
    canvas_->resize(width, int(std::lround(double(width) * ComparisonHeight(*sheet_) / ComparisonWidth)));
}

bool CComparisonWnd::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scroll_->viewport() && event->type() == QEvent::Resize) FitCanvas();
    return QDialog::eventFilter(watched, event);
}

bool CComparisonWnd::PrintOn(QPrinter& printer) const {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    PaintComparison(painter, *sheet_, QRectF(QPointF(0, 0), page.size()));
    return painter.end();
}

// Wider than tall, as the calendar: across a landscape page.
void CComparisonWnd::Print() {
    PrintThrough(hooks_, this, QPageLayout::Landscape, ComparisonTitleText,
                 [this](QPrinter& printer) { return PrintOn(printer); });
}

void CComparisonWnd::ExportPicture() {
    const QString name = PersonsPictureName(*persons_[0], persons_[1].get(), ComparisonTitleText);
    const QSize page = ComparisonPage(*sheet_);
    ExportPictureTelling(this, page, name,
                         [this, page](QPainter& painter) { PaintComparison(painter, *sheet_, QRectF(QPointF(0, 0), page)); });
}

}  // namespace qv::ui
