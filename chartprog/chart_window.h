#pragma once
// The flow-year chart program's one window: the fortune curve of the command
// line with its hot areas and explanations, or, when the birth could not be
// charted, a notice in its place. Its picture for --render.
#include <QDialog>
#include <QIcon>
#include <memory>
#include <string>

#include "chart_session.h"

namespace qv::chartprog {

inline constexpr const char* ChartWindowCaption = "流年運勢圖";
inline constexpr const char* NotChartedText = "出生資料無法排盤";
inline constexpr const char* NoPeriodText = "這段期間無法繪製運勢圖";
inline constexpr const char* IconFileName = "Velmaro.png";

// The program's own icon, shipped beside it; null when missing.
QIcon ProgramIcon();

// The window for the session's chart of the request (mode and category checked already).
std::unique_ptr<QDialog> MakeChartWindow(ChartSession& session, const ChartRequest& request);

// Whether a --render name ends in .png or .pdf.
bool IsPicturePath(const std::string& path);
// Draws the window as it shows on a 1024 x 768 screen into a PNG `width`
// pixels wide (0: its own width) or a PDF, by the name's ending: the chart by
// its own painting, so a PDF keeps its texts. Failed with the reason.
Result RenderWindow(QDialog& window, const std::string& path, int width);

}  // namespace qv::chartprog
