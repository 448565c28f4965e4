#pragma once
// The program's own help page, shipped with the program.
#include <QUrl>

namespace qv::ui {

// help/index.html in the folder of the data shipped with the program.
QUrl HelpPageUrl();

}  // namespace qv::ui
