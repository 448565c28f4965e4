#include "picture_export.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <algorithm>
#include <cerrno>

#include "engine/texts/string_table.h"
#include "paint_helpers.h"

namespace qv::ui {
namespace {

PictureChooser& Chooser() {
    static PictureChooser chooser;
    return chooser;
}



std::string& Folder() {
    static std::string folder;
    return folder;
}

}  // namespace

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

Result ExportPicture(QWidget* parent, QSize page, const QString& title, const PagePainter& paint) {
    // Twice the page's width: sharp on a phone or a high-density screen.
    const std::optional<PictureChoice> choice = ChoosePictureFile(parent, std::clamp(2 * page.width(), 256, 8192), title);
    if (!choice) return Result::Done();
    return SavePagePicture(choice->Path, page, choice->Width, title, paint);
}

void ExportPictureTelling(QWidget* parent, QSize page, const QString& title, const PagePainter& paint) {
    if (const Result saved = ExportPicture(parent, page, title, paint); !saved.Ok) {
        QMessageBox::warning(parent, Text(ProductTitleText),
                             Text(CannotSavePictureText) + QLatin1Char('\n') + Utf8(PictureFailureText(saved)));
    }
}

}  // namespace qv::ui
