#include "show_message.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

#include "engine/texts/string_table.h"

namespace qv::ui {
namespace {

MessageSink& Sink() {
    static MessageSink sink;
    return sink;
}

QuestionSink& Questions() {
    static QuestionSink sink;
    return sink;
}

// Over the window on top (a dialog, when one is open), which gets the focus back afterwards.
bool RunMessageBox(const MessageRequest& request, bool question) {
    QPointer<QWidget> top = QApplication::activeModalWidget();
    if (!top) top = QApplication::activeWindow();
    QMessageBox box(question ? QMessageBox::Question : QMessageBox::Warning, QString::fromStdString(request.Caption),
                    QString::fromStdString(request.Text), question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    top);
    if (question) {
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是(&Y)"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否(&N)"));
        box.setDefaultButton(QMessageBox::No);
    }
    const bool yes = box.exec() == QMessageBox::Yes;
    if (top) {
        top->raise();
        top->activateWindow();
    }
    return yes;
}

void ShowMessageBox(const MessageRequest& request) { RunMessageBox(request, false); }

MessageRequest RequestWith(int textId, std::string_view detail) {
    std::string text(StringText(textId));
    if (!detail.empty()) (text += '\n') += detail;
    return MessageRequest{textId, ProductTitleText, MessageExclamation, std::move(text),
                          std::string(StringText(ProductTitleText))};
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

int ShowMessageWith(int textId, std::string_view detail) { return Show(RequestWith(textId, detail)); }

bool AskYesNo(int textId, std::string_view detail) {
    const MessageRequest request = RequestWith(textId, detail);
    return Questions() ? Questions()(request) : RunMessageBox(request, true);
}

QuestionSink SetQuestionSink(QuestionSink sink) {
    QuestionSink previous = std::move(Questions());
    Questions() = std::move(sink);
    return previous;
}

MessageSink SetMessageSink(MessageSink sink) {
    MessageSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

}  // namespace qv::ui
