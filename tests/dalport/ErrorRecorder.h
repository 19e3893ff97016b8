#pragma once
// Installs a reporter that records every error box a session shows, for the life of
// the recorder.

#include "dalport/ErrorReporter.h"

#include <string>
#include <vector>

class ErrorRecorder {
public:
    ErrorRecorder()
    {
        m_previous = dalport::SetErrorReporter([this](const dalport::ReportedError& e) { boxes.push_back(e); });
    }
    ~ErrorRecorder() { dalport::SetErrorReporter(m_previous); }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& b : boxes)
            out.push_back(b.text);
        return out;
    }

    std::vector<dalport::ReportedError> boxes;

private:
    dalport::ErrorReporter m_previous;
};
