#include "picture_file.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cerrno>

#include "atomic_file.h"
#include "paint_helpers.h"
#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

void PaintOnto(QPaintDevice& device, QSize page, const PagePainter& paint) {
    QPainter painter(&device);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ScaleToLogicalPage(painter, page, QSize(device.width(), device.height()));
    paint(painter);
}

}  // namespace

QImage ReadPictureFile(const std::string& path, std::string& error) {
    std::string bytes;
    if (Result read = ReadRegularFile(path, LongestPictureFile, bytes); !read.Ok) {
        error = read.Detail;
        return {};
    }
    QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()));
    if (image.isNull()) error = path + " is not a picture";
    return image;
}

bool IsPdfName(const std::string& path) { return path.size() >= 4 && path.compare(path.size() - 4, 4, ".pdf") == 0; }

QByteArray PagePictureBytes(bool pdf, QSize page, int width, const QString& title, const PagePainter& paint) {
    QByteArray bytes;
    if (page.isEmpty()) return bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (pdf) {
        // Drawn at 1200 to the inch: lines and placements keep their fractions.
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setTitle(title);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setPageSize(QPageSize(QSizeF(page.width() * 72.0 / 96, page.height() * 72.0 / 96), QPageSize::Point));
        PaintOnto(writer, page, paint);
    } else {
        const int w = width > 0 ? width : page.width();
        QImage image(w, std::max(1, w * page.height() / page.width()), QImage::Format_RGB32);
        image.fill(Qt::white);
        PaintOnto(image, page, paint);
        image.save(&buffer, "PNG");
    }
    return bytes;
}

Result SavePagePicture(const std::string& path, QSize page, int width, const QString& title, const PagePainter& paint) {
    const QByteArray bytes = PagePictureBytes(IsPdfName(path), page, width, title, paint);
    if (bytes.isEmpty()) return Result::Failed(CannotWriteFileText, path);
    Result written = WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
    // The user reads why in Chinese and the file it concerns.
    if (!written.Ok) written.Detail = path;
    return written;
}

std::string PictureFailureText(const Result& saved) {
    const std::string_view reason = saved.ReasonText();
    return reason.empty() ? saved.Detail : std::string(reason) + "\n" + saved.Detail;
}

}  // namespace qv::ui
