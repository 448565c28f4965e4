#pragma once
// A window's picture exported where the user chooses: the file dialog, a PNG's
// width, the page written through SavePagePicture.
#include <optional>
#include <string>

#include "picture_file.h"

class QWidget;

namespace qv::ui {

// Where a window's picture goes: a file, and a PNG's width in pixels.
struct PictureChoice {
    std::string Path;
    int Width = 0;
};
// The folder the program's file dialogs open in: the user's data folder
// (empty until set: the working folder).
void SetFileDialogFolder(const std::string& folder);
QString FileDialogFolder();
// Where the picture dialog starts: that folder and "name.png" (a name made
// safe as a file name; "圖片" when empty).
QString PictureDialogStart(const QString& suggestedName);

// Asks with the file dialog (PNG or PDF) and, for a PNG, for its width;
// nothing when the user cancels. A test answers through SetPictureChooser.
std::optional<PictureChoice> ChoosePictureFile(QWidget* parent, int defaultWidth, const QString& suggestedName = {});
using PictureChooser = std::function<std::optional<PictureChoice>(int defaultWidth)>;
void SetPictureChooser(PictureChooser chooser);

// Asks where (offering the title as the file name), then saves the page as
// ChoosePictureFile was answered; done too when the user cancelled.
Result ExportPicture(QWidget* parent, QSize page, const QString& title, const PagePainter& paint);
// The same, telling the user of a failure in a message box.
void ExportPictureTelling(QWidget* parent, QSize page, const QString& title, const PagePainter& paint);

}  // namespace qv::ui
