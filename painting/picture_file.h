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

#include "engine/texts/result.h"

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

// The same written crash-safe to `path` (PDF by the name's ending); failed
// with the reason and the file it concerns as the detail.
Result SavePagePicture(const std::string& path, QSize page, int width, const QString& title, const PagePainter& paint);
// What the user reads of a picture that was not saved: why, then the file.
std::string PictureFailureText(const Result& saved);

}  // namespace qv::ui
