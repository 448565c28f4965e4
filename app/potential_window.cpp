#include "potential_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "picture_export.h"
#include "quorvane_app.h"
#include "engine/texts/text_ids.h"
#include "tool_window_place.h"
#include "show_message.h"

namespace qv::ui {

FrameMetrics WindowFrameMetrics(const QWidget& widget) {
    const QStyle* s = widget.style();
    return FrameMetrics{s->pixelMetric(QStyle::PM_ScrollBarExtent), s->pixelMetric(QStyle::PM_DefaultFrameWidth),
                        s->pixelMetric(QStyle::PM_TitleBarHeight)};
}

CPotentialWnd::CPotentialWnd(const CQuorvaneApp& app, std::function<void()> onClosed, QWidget* owner,
                             std::vector<QRect> keepClear)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      app_(app),
      onClosed_(std::move(onClosed)),
      scroll_(new QScrollBar(Qt::Vertical, this)),
      keepClear_(std::move(keepClear)) {
    setObjectName(QStringLiteral("potentialWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    scroll_->setObjectName(QStringLiteral("potentialScroll"));
    // One step, line or page, is one band.
    scroll_->setSingleStep(1);
    scroll_->setPageStep(1);
    connect(scroll_, &QScrollBar::valueChanged, this, [this] { update(); });
    Layout(false);
}

void CPotentialWnd::Layout(bool relayout) {
    const PotentialTable& table = app_.Potentials();
    const int category = app_.currentCategory;
    const int items = table.TableReady && category < table.CategoryCount ? table.Categories[category].ItemCount : 0;
    const QRect area = ToolScreenArea(parentWidget());
    const FrameMetrics frame = WindowFrameMetrics(*this);
    layout_ = LayoutPotentialWindow(area.size(), frame, items, app_.potentialStyle, relayout);
    scroll_->setRange(0, layout_.ScrollMax);
    scroll_->setVisible(layout_.ScrollBar);
    // The client is what the style draws, and the scroll bar beside it at its own width; every
    // style stands in the same corner, so changing it never moves the window away.
    PotentialPicture shape;
    shape.Style = std::clamp<int>(app_.potentialStyle, 0, PotentialStyleCount - 1);
    shape.Layout = layout_;
    drawing_ = PotentialSourceSize(shape);
    const ToolPlacement place = PlaceToolWindow(drawing_, layout_.ScrollBar ? frame.ScrollBar : 0, ToolWindowFrame(*this),
                                                area, keepClear_, ToolAnchor::BottomRight);
    scale_ = place.Scale;
    setFixedSize(place.Client.size());
    setGeometry(place.Client);
    scroll_->setGeometry(width() - frame.ScrollBar, 0, frame.ScrollBar, height());
    setWindowTitle(PotentialCaption(table, category));
    update();
}

PotentialPicture CPotentialWnd::Picture() const {
    PotentialPicture picture =
        MakePotentialPicture(app_.Potentials(), app_.Record(), app_.currentCategory, app_.potentialStyle, layout_);
    picture.ScrollPos = picture.Style == 7 ? 0 : scroll_->value();
    return picture;
}

void CPotentialWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale_, scale_);  // the style's vectors at the screen's size: sharp at any scale
    DrawPotentialWindow(painter, Picture(), drawing_);
}

void CPotentialWnd::closeEvent(QCloseEvent* event) {
    if (onClosed_) onClosed_();
    event->accept();
}

void CPotentialWnd::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_S) {
        ExportPicture();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CPotentialWnd::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    connect(menu.addAction(QStringLiteral("匯出圖片...\tS")), &QAction::triggered, this, &CPotentialWnd::ExportPicture);
    menu.exec(event->globalPos());
}

void CPotentialWnd::ExportPicture() {
    const QSize page = DrawingSize();
    const PotentialPicture picture = Picture();
    const auto paint = [&](QPainter& painter) { DrawPotentialWindow(painter, picture, page); };
    if (const qv::Result saved = ui::ExportPicture(this, page, windowTitle(), paint); !saved.Ok)
        ShowMessageWith(CannotSavePictureText, PictureFailureText(saved));
}

bool PrintPotentialOn(QPrinter& printer, const PotentialPicture& picture) {
    printer.setDocName(QStringLiteral("報表"));
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    PaintPotentialPage(painter, printer.pageLayout().paintRectPixels(printer.resolution()).size(), picture);
    return painter.end();
}

}  // namespace qv::ui
