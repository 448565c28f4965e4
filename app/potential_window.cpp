#include "potential_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

#include "quorvane_app.h"

namespace qv::ui {

FrameMetrics WindowFrameMetrics(const QWidget& widget) {
    const QStyle* s = widget.style();
    return FrameMetrics{s->pixelMetric(QStyle::PM_ScrollBarExtent), s->pixelMetric(QStyle::PM_DefaultFrameWidth),
                        s->pixelMetric(QStyle::PM_TitleBarHeight)};
}

CPotentialWnd::CPotentialWnd(const CQuorvaneApp& app, std::function<void()> onClosed, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      app_(app),
      onClosed_(std::move(onClosed)),
      scroll_(new QScrollBar(Qt::Vertical, this)) {
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
    const QScreen* screen = parentWidget() && parentWidget()->screen() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    const FrameMetrics frame = WindowFrameMetrics(*this);
    layout_ = LayoutPotentialWindow(area.size(), frame, items, app_.potentialStyle, relayout);
    scroll_->setRange(0, layout_.ScrollMax);
    scroll_->setVisible(layout_.ScrollBar);
    const QRect client = PotentialClientRect(layout_, frame);
    setFixedSize(client.size());
    setGeometry(client.translated(area.topLeft()));
    scroll_->setGeometry(width() - frame.ScrollBar, 0, frame.ScrollBar, height());
    setWindowTitle(PotentialCaption(table, category));
    update();
}

QSize CPotentialWnd::DrawingSize() const {
    return QSize(width() - (scroll_->isVisible() ? scroll_->width() : 0), height());
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
    DrawPotentialWindow(painter, Picture(), DrawingSize());
}

void CPotentialWnd::closeEvent(QCloseEvent* event) {
    if (onClosed_) onClosed_();
    event->accept();
}

bool PrintPotentialOn(QPrinter& printer, const PotentialPicture& picture) {
    printer.setDocName(QStringLiteral("報表"));
    const QSize source = PotentialSourceSize(picture);
    QImage image(source, QImage::Format_RGB32);
    {
        QPainter off(&image);
        off.setRenderHint(QPainter::TextAntialiasing);
        DrawPotentialWindow(off, picture, source);
    }
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QSize page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    const int f = std::max(1, std::min(page.width() / source.width(), page.height() / source.height()));
    painter.drawImage(QRect(0, 0, f * source.width(), f * source.height()), image);
    return painter.end();
}

}  // namespace qv::ui
