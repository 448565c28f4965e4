// The pictures of the drawing subcommands (render, curve): --out and --size,
// an offscreen Qt for the fonts, and the PNG or PDF written safely.
#pragma once

#include <QPainter>
#include <QSize>
#include <functional>
#include <string>

#include "cli.h"
#include "picture_file.h"

namespace qv::cli {

// A printed page: A4 at 96 pixels to the inch.
inline constexpr int PrintedPageWidth = 794, PrintedPageHeight = 1123;

struct PictureOptions {
    std::string Out;
    bool Pdf = false;
    int Width = 0;      // of a PNG, in pixels; 0: the page's own width
    std::string Title;  // of a PDF document (UTF-8), empty for none
};

// Takes --out chart.png|chart.pdf and --size WIDTH (256-8192; without it the
// page's own width); false after a complaint.
bool TakePictureOptions(Args& args, PictureOptions& options);

// Draws a page of `page` logical pixels (96 per inch) scaled onto the PNG or
// PDF and writes the file. Returns ExitOk or ExitBadInput after a complaint.
using PagePainter = ui::PagePainter;
int WritePicture(const PictureOptions& options, QSize page, const PagePainter& paint);

}  // namespace qv::cli
