#pragma once
// Where a tool window goes on a screen of today. Each window lays itself out
// on the 1024 x 768 screen its layout was made for; on a larger screen that
// layout is scaled as the chart view scales its page, and the window is kept
// off the places of the chart a user clicks (the period row, the kind
// buttons), giving up some of its scale before it covers them.
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

class QApplication;
class QDialog;
class QWidget;

namespace qv::ui {

enum class ToolAnchor { BottomCentre, BottomRight };

struct ToolPlacement {
    double Scale = 1;  // client pixels per layout pixel; never below 1
    QRect Client;      // in global coordinates, the fixed part included
};

// The scale of the 1024 x 768 layouts on a screen: as the chart view's page,
// 1 on a screen smaller than that (the layouts then follow the screen itself).
double ScreenScale(QSize screen);

// logical: the client on a 1024 x 768 screen; fixedWidth: client pixels that
// do not scale (a scroll bar); frame: the caption and edges around the client.
// The first of the largest scales at which the window lies on the screen
// clear of every keepClear rectangle: at the anchor, under a rectangle, above
// one, or right of one. When none is clear at scale 1, the anchor's place.
ToolPlacement PlaceToolWindow(QSize logical, int fixedWidth, QMargins frame, const QRect& screen,
                              const std::vector<QRect>& keepClear, ToolAnchor anchor);

// The window's font (and so its buttons' and boxes') grown by the placement's
// scale, so its controls keep their share of the scaled window.
void ScaleControlFont(QWidget& window, double scale);

// Every dialog that keeps the default font (ours and Qt's own: the person and
// query dialogs, the print and file dialogs, the message boxes) grows, when it
// is first shown, by the screen's scale as the windows do: its text, its
// controls and its size, within the screen, centred over its owner. Windows
// that lay themselves out (an own font, no layout) are left as they are. The
// menu bar and the menus grow too.
void ScaleDialogsWithScreen(QApplication& application);
// The same for one dialog about to be shown.
void ScaleDialogToScreen(QDialog& dialog);

// The client of that size (cut to the screen) centred on the screen with its frame.
QRect CentredClient(QSize client, QMargins frame, const QRect& screen);
// The frame a tool window of the platform's style gets: caption and edges.
QMargins ToolWindowFrame(const QWidget& window);

// The screen area the tool windows of `owner` lay themselves out on; a test
// sets another (a large screen the offscreen platform does not have).
QRect ToolScreenArea(const QWidget* owner);
void OverrideToolScreenArea(std::optional<QRect> area);

}  // namespace qv::ui
