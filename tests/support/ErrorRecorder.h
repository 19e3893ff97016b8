#pragma once
// Records every error box a session shows while it lives, and puts the reporter it found
// back when it goes.

#include "dalport/ErrorReporter.h"

#include <string>
#include <vector>

class ErrorRecorder {
public:
    ErrorRecorder()
        : m_previous(dalport::SetErrorReporter([this](const dalport::ReportedError& e) { all.push_back(e); }))
    {
    }
    ~ErrorRecorder() { dalport::SetErrorReporter(m_previous); }
    ErrorRecorder(const ErrorRecorder&) = delete;
    ErrorRecorder& operator=(const ErrorRecorder&) = delete;

    // The boxes' texts, one per line, for a failure message.
    std::string text() const
    {
        std::string out;
        for (const auto& e : all)
            out += e.text + "\n";
        return out;
    }
    std::vector<std::string> texts() const
    {
        std::vector<std::string> out;
        for (const auto& e : all)
            out.push_back(e.text);
        return out;
    }
    // The server's own errors only (number, level, message).
    std::vector<dalport::ReportedError> provider() const
    {
        std::vector<dalport::ReportedError> out;
        for (const auto& e : all)
            if (e.kind == dalport::ReportedError::Kind::Provider)
                out.push_back(e);
        return out;
    }
    void clear() { all.clear(); }

    std::vector<dalport::ReportedError> all;

private:
    dalport::ErrorReporter m_previous;
};
