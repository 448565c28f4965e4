#pragma once
// Paints a fortune curve on any painter: the window, a printed page, a PNG or
// PDF of the command-line tool or of 匯出圖片.
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

#include "fortune_curve.h"

namespace qv::ui {

inline const QColor CurveBackground(230, 230, 255);
inline const QColor NegativeValueColor(180, 0, 0);
// Bar colour of level 0 最優 … 11 最累.
QColor LevelColor(int level);

// Draws the whole chart with its top-left corner at area's; the layout gives
// every position. A taller area (the printed picture) leaves background below.
void PaintFortuneCurve(QPainter& painter, const FortuneCurve& curve, const ChartRecord& rec,
                       const CurveLayout& layout, const QRect& area);

// The title band alone, `width` wide from the painter's origin: a window
// scrolling along a chart wider than itself keeps it in view.
void PaintCurveTitle(QPainter& painter, const FortuneCurve& curve, const ChartRecord& rec, const CurveLayout& layout,
                     int width);

// The chart as an image of the layout's size with two row units more under
// it, as a printed page holds it.
QImage CurvePicture(const FortuneCurve& curve, const ChartRecord& rec, const CurveLayout& layout);

}  // namespace qv::ui
