#include "tool_window_place.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFont>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>

#include "paint_helpers.h"

namespace qv::ui {
namespace {

constexpr int Gap = 4;          // between the window and what it keeps clear of
constexpr int ScaleSteps = 40;  // tried between the screen's scale and 1

std::optional<QRect>& ScreenOverride() {
    static std::optional<QRect> area;
    return area;
}

bool Clear(const QRect& frame, const QRect& screen, const std::vector<QRect>& keepClear) {
    if (!screen.contains(frame)) return false;
    return std::none_of(keepClear.begin(), keepClear.end(), [&](const QRect& r) { return frame.intersects(r); });
}

// The layout's own place: at the bottom of the screen, centred or at its right.
QRect AnchorFrame(QSize size, const QRect& screen, ToolAnchor anchor) {
    const int x = anchor == ToolAnchor::BottomRight ? screen.right() + 1 - size.width()
                                                    : screen.left() + (screen.width() - size.width()) / 2;
    return QRect(QPoint(x, screen.bottom() + 1 - size.height()), size);
}

// The frames tried at one size: the anchor's place first, then beside what
// is kept clear.
std::optional<QRect> ClearFrameOfSize(QSize size, const QRect& screen, const std::vector<QRect>& keepClear,
                                      ToolAnchor anchor) {
    const QRect home = AnchorFrame(size, screen, anchor);
    std::vector<int> xs{home.left()}, ys{home.top()};
    for (const QRect& r : keepClear) {
        ys.push_back(r.bottom() + 1 + Gap);
        ys.push_back(r.top() - Gap - size.height());
        xs.push_back(r.right() + 1 + Gap);
    }
    for (int y : ys)
        for (int x : xs)
            if (const QRect frame(QPoint(x, y), size); Clear(frame, screen, keepClear)) return frame;
    return std::nullopt;
}

// The menus take the screen's scale before their first sizing; a font of
// their own is one grown already.
void ScaleMenuToScreen(QWidget& menu) {
    if (menu.testAttribute(Qt::WA_SetFont)) return;
    if (const double scale = ScreenScale(ToolScreenArea(&menu).size()); scale > 1) ScaleControlFont(menu, scale);
}

// Catches each dialog's first showing, before it is placed and drawn, and
// each menu's polishing, before it is first measured.
class DialogScaler : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !event->spontaneous()) {
            if (auto* dialog = qobject_cast<QDialog*>(watched)) ScaleDialogToScreen(*dialog);
        } else if (event->type() == QEvent::Polish && (qobject_cast<QMenuBar*>(watched) || qobject_cast<QMenu*>(watched))) {
            ScaleMenuToScreen(*static_cast<QWidget*>(watched));
        }
        return false;
    }
};

}  // namespace

double ScreenScale(QSize screen) {
    const double s = std::min(double(screen.width()) / kLogicalPageWidth, double(screen.height()) / kLogicalPageHeight);
    return std::max(1.0, s);
}

ToolPlacement PlaceToolWindow(QSize logical, int fixedWidth, QMargins frame, const QRect& screen,
                              const std::vector<QRect>& keepClear, ToolAnchor anchor) {
    const double top = ScreenScale(screen.size());
    auto frameSize = [&](double s) {
        return QSize(int(std::lround(logical.width() * s)) + fixedWidth + frame.left() + frame.right(),
                     int(std::lround(logical.height() * s)) + frame.top() + frame.bottom());
    };
    auto placed = [&](double s, const QRect& f) { return ToolPlacement{s, f.marginsRemoved(frame)}; };
    for (int step = 0; step <= ScaleSteps; ++step) {
        const double s = top - (top - 1) * step / ScaleSteps;
        if (const std::optional<QRect> f = ClearFrameOfSize(frameSize(s), screen, keepClear, anchor)) return placed(s, *f);
        if (top == 1) break;
    }
    // Nowhere clear (a small screen): where the layout puts it.
    return placed(1, AnchorFrame(frameSize(1), screen, anchor));
}

void ScaleControlFont(QWidget& window, double scale) {
    QFont font = window.font();
    if (font.pixelSize() > 0) {
        font.setPixelSize(int(std::lround(font.pixelSize() * scale)));
    } else {
        font.setPointSizeF(font.pointSizeF() * scale);
    }
    window.setFont(font);
}

void ScaleDialogsWithScreen(QApplication& application) {
    static bool installed = false;  // once, however often asked
    if (!std::exchange(installed, true)) application.installEventFilter(new DialogScaler(&application));
}

void ScaleDialogToScreen(QDialog& dialog) {
    // An own font: grown already, or a window that sizes itself; no layout: one that is painted.
    if (dialog.testAttribute(Qt::WA_SetFont) || dialog.layout() == nullptr) return;
    const QRect screen = ToolScreenArea(dialog.parentWidget());
    const QSize room = screen.marginsRemoved(ToolWindowFrame(dialog)).size();
    const QSize size = dialog.size();
    if (size.isEmpty()) return;
    // As much of the screen's scale as lets the grown dialog fit.
    const double scale = std::max(1.0, std::min({ScreenScale(screen.size()), double(room.width()) / size.width(),
                                                 double(room.height()) / size.height()}));
    if (scale <= 1) return;
    // The fonts a control sets for itself first, while they still come from the dialog's.
    for (QWidget* child : dialog.findChildren<QWidget*>())
        if (child->testAttribute(Qt::WA_SetFont)) ScaleControlFont(*child, scale);
    ScaleControlFont(dialog, scale);
    // A size the dialog's maker chose grows with the text; otherwise the layout's own.
    const QSize wanted = dialog.testAttribute(Qt::WA_Resized)
                             ? QSize(int(std::lround(size.width() * scale)), int(std::lround(size.height() * scale)))
                             : QSize();
    const QSize grown = wanted.expandedTo(dialog.sizeHint()).boundedTo(room);
    if (dialog.minimumSize() == dialog.maximumSize()) {
        dialog.setFixedSize(grown);
    } else {
        dialog.resize(grown);
    }
}

QMargins ToolWindowFrame(const QWidget& window) {
    const int edge = window.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    return QMargins(edge, window.style()->pixelMetric(QStyle::PM_TitleBarHeight) + edge, edge, edge);
}

QRect ToolScreenArea(const QWidget* owner) {
    if (ScreenOverride()) return *ScreenOverride();
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, kLogicalPageWidth, kLogicalPageHeight);
}

void OverrideToolScreenArea(std::optional<QRect> area) { ScreenOverride() = area; }

QRect CentredClient(QSize client, QMargins frame, const QRect& screen) {
    const QRect room = screen.marginsRemoved(frame);
    const QSize size = client.boundedTo(room.size());
    return QRect(room.topLeft() + QPoint((room.width() - size.width()) / 2, (room.height() - size.height()) / 2), size);
}

}  // namespace qv::ui
