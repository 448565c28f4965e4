#pragma once
// The program's own help page, shipped with the program.
#include <QUrl>

namespace qv::ui {

// help/index.html in the folder of the data shipped with the program.
QUrl HelpPageUrl();
// Whether the page is a regular file a browser can open (a FIFO or a device
// there would hang it).
bool HelpPageReadable();

}  // namespace qv::ui
