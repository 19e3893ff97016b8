#pragma once
// Answers the framework's message boxes in tests and records every one shown.

#include "framework/MessageBox.h"

#include <deque>
#include <vector>

namespace framework::test {

class MessageRecorder {
public:
    MessageRecorder()
    {
        m_previous = SetMessagePresenter([this](QWidget*, const MessageRequest& request) {
            shown.push_back(request);
            if (answers.empty())
                return request.buttons == MessageButtons::YesNo ? MessageResult::No : MessageResult::Ok;
            const MessageResult answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~MessageRecorder() { SetMessagePresenter(m_previous); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<MessageRequest> shown;
    std::deque<MessageResult> answers;

private:
    MessagePresenter m_previous;
};

} // namespace framework::test
