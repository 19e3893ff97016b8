#pragma once
// Records every framework message box shown; a question is answered No.

#include "framework/MessageBox.h"

#include <vector>

namespace framework::test {

class MessageRecorder {
public:
    MessageRecorder()
    {
        m_previous = SetMessagePresenter([this](QWidget*, const MessageRequest& request) {
            shown.push_back(request);
            return request.buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
        });
    }
    ~MessageRecorder() { SetMessagePresenter(m_previous); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<MessageRequest> shown;

private:
    MessagePresenter m_previous;
};

} // namespace framework::test
