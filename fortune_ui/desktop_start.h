#pragma once
// What both window programs do on the desktop before and beside their
// windows: Qt's own dialogs in Traditional Chinese, and a reason the program
// cannot start shown where a user started it from a menu.
#include <QString>
#include <string>

class QCoreApplication;

namespace qv::ui {

// Loads Qt's zh_TW texts (qtbase_zh_TW from Qt's translations folder) into the
// application, so standard buttons and dialogs read 確定, 取消, 另存新檔 …
// False, and nothing changed, when the translations are not installed.
bool InstallChineseQtTexts(QCoreApplication& application);

// Whether a window can be shown: a display is named and Qt is not told to
// draw off screen.
bool DisplayAvailable();

// The reason the solar-term table cannot be had, in Traditional Chinese with
// the file's path (or the folders searched); `detail` is the technical line.
std::string TermTableFailureText(const std::string& programDir, const std::string& detail);

// Shows `text` (UTF-8) in a message box titled `title` when a display is
// there; the caller has told stderr already and exits with status 1.
void ShowStartFailure(const QString& title, const std::string& text);

}  // namespace qv::ui
