#include "help_page.h"

#include <QCoreApplication>

namespace qv::ui {

QUrl HelpPageUrl() {
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/help/index.html"));
}

}  // namespace qv::ui
