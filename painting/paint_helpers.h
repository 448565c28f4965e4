#pragma once
// Drawing helpers shared by every window of the program: the logical page size,
// the chart fonts, columns of characters and the Republican-era year text.
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTransform>
#include <string>
#include <string_view>

class QPaintDevice;

namespace qv::ui {

// The UTF-8 texts of the engine and the string table as Qt strings.
QString Utf8(std::string_view text);
QString Text(int id);

// Every window lays itself out on this logical page; the painter's transform scales
// the page to the real window, so layouts never depend on the screen or its DPI.
inline constexpr int kLogicalPageWidth = 1024;
inline constexpr int kLogicalPageHeight = 768;

// The device size clamped to at most 1024 x 768.
QSize ScreenMetrics(QSize deviceSize);
QSize ScreenMetrics(const QPaintDevice& device);

// Scales the logical page `logical` to fill `target` (keeping its aspect ratio and
// centring it) through the painter's transform.
void ScaleToLogicalPage(QPainter& painter, QSize logical, QSize target);
// That scaling as a transform from page to target coordinates.
QTransform LogicalPageTransform(QSize logical, QSize target);

// The installed family standing in for "新細明體": AR PL UMing TW, then Noto Serif CJK TC.
QString ChartFontFamily();

// Pixel size of font mode 0..12 for base size s (0 for an unknown mode).
int ChartFontPixelSize(int mode, int baseSize);

// The chart font of `mode` for base size s; weight 400 normal, 700 bold.
QFont MakeChartFont(int mode, int baseSize, int weight);

// Draws `text` as a column, one double-byte character per line (two ASCII characters
// share a line, as in "12" of "12運"); line k spans rect.top() + 1 + k*lineHeight to
// the next line, each centred in the rectangle's width.
void DrawVerticalText(QPainter& painter, const QString& text, const QRect& rect, int lineHeight);

// The text split into the lines DrawVerticalText draws.
QStringList VerticalLines(const QString& text);

// "民國元年", "民國" + R + "年" or "民國前" + n + "年" for a Western year (UTF-8).
std::string EraYearText(int westernYear);
// A year as the chart's year display shows it: "1990年", or EraYearText under 民國 (1).
std::string DisplayedYearText(int westernYear, int yearDisplay);

}  // namespace qv::ui
