#pragma once
// A page drawn by one of the painting routines, saved as a picture to share:
// a PNG at a chosen width, or a PDF page whose texts stay texts and lines stay
// lines. The window programs and the command line save through it alike.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QPainter;
class QWidget;

namespace qv::ui {

// Draws the page in its own logical pixels; the painter is scaled already.
using PagePainter = std::function<void(QPainter& painter)>;

// A picture file the programs read (the banner, the icon): a regular file of
// at most LongestPictureFile bytes, read through the file layer; a null image
// with the reason otherwise, at once for a FIFO or a device.
inline constexpr size_t LongestPictureFile = size_t{64} << 20;
QImage ReadPictureFile(const std::string& path, std::string& error);

// Whether a file name ends in .pdf (else a PNG is meant).
bool IsPdfName(const std::string& path);

// The encoded file: a PNG `width` pixels wide (0: the page's own width), or a
// one-page PDF of the page's size at 96 logical pixels to the inch titled
// `title`. Empty when nothing could be drawn.
QByteArray PagePictureBytes(bool pdf, QSize page, int width, const QString& title, const PagePainter& paint);

// The same written crash-safe to `path` (PDF by the name's ending); false with
// the reason in the user's words and the file it concerns.
bool SavePagePicture(const std::string& path, QSize page, int width, const QString& title, const PagePainter& paint,
                     std::string& error);

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

enum class ExportResult { Cancelled, Saved, Failed };
// Asks where (offering the title as the file name), then saves the page as
// ChoosePictureFile was answered; the reason of a failure in `error`.
ExportResult ExportPicture(QWidget* parent, QSize page, const QString& title, const PagePainter& paint,
                           std::string& error);
// The same, telling the user of a failure in a message box.
void ExportPictureTelling(QWidget* parent, QSize page, const QString& title, const PagePainter& paint);

}  // namespace qv::ui
