#pragma once
// Every message box of the program: caption "Quorin", the stop, information or no icon,
// OK, Yes/No or Yes/No/Cancel. Texts may carry "\r", "\n" or "\r\n" as line breaks.
//
// The boxes go through one presenter so that widget tests can answer them without a
// modal loop; the default presenter shows a real QMessageBox.

#include <QString>

#include <functional>
#include <memory>

class QMessageBox;
class QWidget;

namespace framework {

enum class MessageIcon { Default, Stop, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageResult { Ok, Yes, No, Cancel };

struct MessageRequest {
    QString text;
    MessageIcon icon = MessageIcon::Default;
    MessageButtons buttons = MessageButtons::Ok;
};

using MessagePresenter = std::function<MessageResult(QWidget* parent, const MessageRequest&)>;

// The caption every box carries.
QString MessageCaption();

// Turns "\r\n" and a lone "\r" into "\n", which the box shows as a line break.
QString NormaliseLineBreaks(const QString& text);

// Builds (without showing) the box a request describes.
std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* parent, const MessageRequest& request);

// Shows the box through the installed presenter.
MessageResult ShowMessage(QWidget* parent, const MessageRequest& request);
MessageResult ShowMessage(const QString& text, MessageIcon icon = MessageIcon::Default,
                          MessageButtons buttons = MessageButtons::Ok);

// Installs a presenter (an empty one restores the Qt box); returns the previous one.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

} // namespace framework
