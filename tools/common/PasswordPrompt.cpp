#include "tools/common/PasswordPrompt.h"

#include <fstream>
#include <iostream>
#include <stdexcept>

#if defined(_WIN32)
#include <conio.h>
#else
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace quorin::tools {

namespace {

// Turns terminal echo off while it lives (when standard input is a terminal).
class EchoOff {
public:
    EchoOff()
    {
#if !defined(_WIN32)
        if (isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &m_saved) == 0) {
            termios quiet = m_saved;
            quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
            m_active = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
        }
#endif
    }
    ~EchoOff()
    {
#if !defined(_WIN32)
        if (m_active)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
#endif
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
#if !defined(_WIN32)
    termios m_saved{};
#endif
    bool m_active = false;
};

void stripLineEnd(std::string& s)
{
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
}

} // namespace

std::optional<std::string> promptPassword(const std::string& prompt)
{
    std::cerr << prompt << std::flush;
    std::string line;
    bool ok;
    {
        EchoOff quiet;
        ok = static_cast<bool>(std::getline(std::cin, line));
    }
    std::cerr << "\n";
    if (!ok)
        return std::nullopt;
    stripLineEnd(line);
    return line;
}

std::string readPasswordFile(const std::string& path)
{
#if !defined(_WIN32)
    // A password others may read is no secret: refused before it is used.
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && (info.st_mode & (S_IRGRP | S_IROTH)) != 0)
        throw std::runtime_error("the password file " + path
                                 + " can be read by other users of this computer; make it readable by its owner "
                                   "only (chmod 600 " + path + ")");
#endif
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot read the password file " + path);
    std::string line;
    std::getline(in, line);
    stripLineEnd(line);
    return line;
}

} // namespace quorin::tools
