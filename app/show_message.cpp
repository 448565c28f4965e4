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

int Show(const MessageRequest& request) {
    if (Sink()) {
        Sink()(request);
    } else {
        ShowMessageBox(request);
    }
    return 0;
}

}  // namespace

int ShowMessage(int textId, int captionId, int style) {
    return Show(MessageRequest{textId, captionId, style, std::string(StringText(textId)),
                               std::string(StringText(captionId))});
}

int ShowMessageWith(int textId, std::string_view detail) {
    std::string text(StringText(textId));
    if (!detail.empty()) (text += '\n') += detail;
    return Show(MessageRequest{textId, ProductTitleText, MessageExclamation, std::move(text),
                               std::string(StringText(ProductTitleText))});
}

MessageSink SetMessageSink(MessageSink sink) {
    MessageSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

}  // namespace qv::ui
