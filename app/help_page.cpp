#include "help_page.h"

#include "atomic_file.h"
#include "data_paths.h"

namespace qv::ui {

QUrl HelpPageUrl() {
    return QUrl::fromLocalFile(QString::fromStdString(ShippedDataDir()) + QStringLiteral("/help/index.html"));
}

bool HelpPageReadable() {
    constexpr size_t LongestHelpPage = size_t{4} << 20;
    std::string page;
    const ReadResult read = ReadRegularFile(HelpPageUrl().toLocalFile().toStdString(), LongestHelpPage, page);
    return read.Ok || read.Missing;
}

}  // namespace qv::ui
