#pragma once
// The program's own help page, shipped beside the program.
#include <QUrl>

namespace qv::ui {

// help/index.html in the program's folder.
QUrl HelpPageUrl();

}  // namespace qv::ui
