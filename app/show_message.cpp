#include "show_message.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include "string_table.h"

namespace qv::ui {
namespace {

MessageSink& Sink() {
    static MessageSink sink;
    return sink;
}

void ShowMessageBox(const MessageRequest& request) {
    // Over the window on top (a dialog, when one is open), which gets the focus back afterwards.
    QPointer<QWidget> top = QApplication::activeModalWidget();
    if (!top) top = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(request.Caption),
                    QString::fromStdString(request.Text), QMessageBox::Ok, top);
    box.exec();
    if (top) {
        top->raise();
        top->activateWindow();
    }
}

}  // namespace

int ShowMessage(int textId, int captionId, int style) {
    const MessageRequest request{textId, captionId, style, std::string(StringText(textId)),
                                 std::string(StringText(captionId))};
    if (Sink()) {
        Sink()(request);
    } else {
        ShowMessageBox(request);
    }
    return 0;
}

MessageSink SetMessageSink(MessageSink sink) {
    MessageSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

}  // namespace qv::ui
