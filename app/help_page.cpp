#include "help_page.h"

#include "data_paths.h"

namespace qv::ui {

QUrl HelpPageUrl() {
    return QUrl::fromLocalFile(QString::fromStdString(ShippedDataDir()) + QStringLiteral("/help/index.html"));
}

}  // namespace qv::ui
