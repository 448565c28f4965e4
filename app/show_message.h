#pragma once
// Message boxes with string-table texts over the main window. Every message
// of the program goes through ShowMessage; a test replaces the sink to read
// the texts without a modal box.
#include <functional>
#include <string>
#include <string_view>

#include "engine/texts/text_ids.h"

namespace qv::ui {

inline constexpr int MessageExclamation = 48;  // the style every caller passes

struct MessageRequest {
    int TextId;
    int CaptionId;
    int Style;
    std::string Text;     // UTF-8 text of TextId
    std::string Caption;  // UTF-8 text of CaptionId
};

using MessageSink = std::function<void(const MessageRequest&)>;

// Shows the message (through the sink when one is set). Returns 0.
int ShowMessage(int textId, int captionId = ProductTitleText, int style = MessageExclamation);
// The same with `detail` (a fault the program found) on a line after the text.
int ShowMessageWith(int textId, std::string_view detail);

// Replaces the sink; an empty one restores the message box. Returns the previous sink.
MessageSink SetMessageSink(MessageSink sink);

// A yes/no question (the text, then `detail` on its own line); "否" is the
// default, so a stray Enter changes nothing. True when the user said yes.
using QuestionSink = std::function<bool(const MessageRequest&)>;
bool AskYesNo(int textId, std::string_view detail);
QuestionSink SetQuestionSink(QuestionSink sink);

}  // namespace qv::ui
