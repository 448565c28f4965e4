#include "picture_file.h"

#include <QBuffer>
#include <QFileDialog>
#include <QImage>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cerrno>

#include "atomic_file.h"
#include "paint_helpers.h"
#include "string_table.h"

namespace qv::ui {
namespace {

void PaintOnto(QPaintDevice& device, QSize page, const PagePainter& paint) {
    QPainter painter(&device);
    painter.setRenderHint(QPainter::TextAntialiasing);
    ScaleToLogicalPage(painter, page, QSize(device.width(), device.height()));
    paint(painter);
}

PictureChooser& Chooser() {
    static PictureChooser chooser;
    return chooser;
}

QString Text(int id) {
    const std::string_view t = StringText(id);
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}


std::string& Folder() {
    static std::string folder;
    return folder;
}

}  // namespace

QImage ReadPictureFile(const std::string& path, std::string& error) {
    std::string bytes;
    if (ReadRegularFile(path, LongestPictureFile, bytes, error) != ReadOutcome::Read) return {};
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

bool SavePagePicture(const std::string& path, QSize page, int width, const QString& title, const PagePainter& paint,
                     std::string& error) {
    const QByteArray bytes = PagePictureBytes(IsPdfName(path), page, width, title, paint);
    std::string why;
    if (bytes.isEmpty()) {
        error = std::string(StringText(CannotWriteFileText)) + "：" + path;
        return false;
    }
    if (WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()), why)) return true;
    // The user reads why in Chinese; the system's own words are for a log.
    error = std::string(StringText(FaultText(errno))) + "\n" + path;
    return false;
}

void SetFileDialogFolder(const std::string& folder) { Folder() = folder; }

QString FileDialogFolder() { return QString::fromStdString(Folder()); }

QString PictureDialogStart(const QString& suggestedName) {
    QString name = suggestedName.trimmed();
    for (const QChar bad : {u'/', u'\\', u':', u'*', u'?', u'"', u'<', u'>', u'|'}) name.replace(bad, u'_');
    if (name.isEmpty() || name.startsWith(u'.')) name = QStringLiteral("圖片") + name;
    const QString file = name + QStringLiteral(".png");
    return Folder().empty() ? file : FileDialogFolder() + u'/' + file;
}

std::optional<PictureChoice> ChoosePictureFile(QWidget* parent, int defaultWidth, const QString& suggestedName) {
    if (Chooser()) return Chooser()(defaultWidth);
    const QString png = QStringLiteral("PNG 圖片 (*.png)"), pdf = QStringLiteral("PDF 文件 (*.pdf)");
    QString filter = png;
    QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("匯出圖片"), PictureDialogStart(suggestedName),
                                                png + QStringLiteral(";;") + pdf, &filter);
    if (path.isEmpty()) return std::nullopt;
    const bool asPdf = filter == pdf || path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
    const QString suffix = asPdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
    if (!path.endsWith(suffix, Qt::CaseInsensitive)) path += suffix;
    PictureChoice choice{path.toStdString(), 0};
    if (!asPdf) {
        bool ok = false;
        choice.Width = QInputDialog::getInt(parent, QStringLiteral("匯出圖片"), QStringLiteral("圖片寬度（像素）："),
                                            defaultWidth, 256, 8192, 64, &ok);
        if (!ok) return std::nullopt;
    }
    return choice;
}

void SetPictureChooser(PictureChooser chooser) { Chooser() = std::move(chooser); }

ExportResult ExportPicture(QWidget* parent, QSize page, const QString& title, const PagePainter& paint,
                           std::string& error) {
    // Twice the page's width: sharp on a phone or a high-density screen.
    const std::optional<PictureChoice> choice = ChoosePictureFile(parent, std::clamp(2 * page.width(), 256, 8192), title);
    if (!choice) return ExportResult::Cancelled;
    return SavePagePicture(choice->Path, page, choice->Width, title, paint, error) ? ExportResult::Saved
                                                                                   : ExportResult::Failed;
}

void ExportPictureTelling(QWidget* parent, QSize page, const QString& title, const PagePainter& paint) {
    std::string error;
    if (ExportPicture(parent, page, title, paint, error) == ExportResult::Failed)
        QMessageBox::warning(parent, Text(ProductTitleText), Text(CannotSavePictureText) + QLatin1Char('\n') + QString::fromStdString(error));
}

}  // namespace qv::ui
