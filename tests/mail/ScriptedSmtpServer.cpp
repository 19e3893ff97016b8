#include "ScriptedSmtpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

namespace {

// No wait of the server lasts longer than this; tests finish well within it.
constexpr int kMaxWaitMs = 20000;

qsizetype FindLineEnd(const QByteArray& bytes, qsizetype from)
{
    const qsizetype end = bytes.indexOf('\n', from);
    return end < 0 ? -1 : end + 1;
}

qsizetype FindDataEnd(const QByteArray& bytes, qsizetype from)
{
    // The data may follow the DATA line directly; its end is CR LF "." CR LF.
    const qsizetype end = bytes.indexOf("\r\n.\r\n", from > 2 ? from - 2 : 0);
    return end < 0 ? -1 : end + 5;
}

} // namespace

std::vector<ScriptedSmtpServer::Step> ScriptedSmtpServer::Greeted()
{
    return {Reply("220 scripted ready\r\n"), Line(), Reply("250 hello\r\n")};
}

ScriptedSmtpServer::ScriptedSmtpServer(std::vector<Step> script)
    : m_script(std::move(script))
{
    m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(m_listener, 1);
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    if (::pipe(m_wake) != 0)
        m_wake[0] = m_wake[1] = -1;
    m_thread = std::thread([this] { Run(); });
}

ScriptedSmtpServer::~ScriptedSmtpServer()
{
    const char stop = 1;
    [[maybe_unused]] const auto written = ::write(m_wake[1], &stop, 1);
    if (m_thread.joinable())
        m_thread.join();
    if (m_client >= 0)
        ::close(m_client);
    ::close(m_listener);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

QByteArray ScriptedSmtpServer::Received()
{
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

bool ScriptedSmtpServer::ReadSome(int waitMs)
{
    if (m_peerClosed)
        return false;
    pollfd fd{m_client, POLLIN, 0};
    if (::poll(&fd, 1, waitMs) <= 0)
        return false;
    char buffer[4096];
    const ssize_t got = ::recv(m_client, buffer, sizeof buffer, 0);
    if (got <= 0) {
        m_peerClosed = true;
        return false;
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_received.append(buffer, got);
    return true;
}

bool ScriptedSmtpServer::WaitFor(qsizetype (*find)(const QByteArray&, qsizetype), qsizetype& consumed)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMaxWaitMs);
    for (;;) {
        qsizetype end;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            end = find(m_received, consumed);
        }
        if (end >= 0) {
            consumed = end;
            return true;
        }
        if (m_peerClosed || std::chrono::steady_clock::now() > deadline)
            return false;
        ReadSome(100);
    }
}

bool ScriptedSmtpServer::SendAll(const char* data, qsizetype size)
{
    while (size > 0) {
        pollfd fd{m_client, POLLOUT, 0};
        if (::poll(&fd, 1, kMaxWaitMs) <= 0)
            return false;
        const ssize_t sent = ::send(m_client, data, static_cast<size_t>(size), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= sent;
    }
    return true;
}

void ScriptedSmtpServer::Run()
{
    pollfd waiting{m_listener, POLLIN, 0};
    if (::poll(&waiting, 1, kMaxWaitMs) <= 0)
        return;
    m_client = ::accept(m_listener, nullptr, nullptr);
    if (m_client < 0)
        return;
    qsizetype consumed = 0;
    for (const Step& step : m_script) {
        bool ok = true;
        switch (step.kind) {
        case Step::Kind::Send:
            if (step.pieceSize <= 0) {
                ok = SendAll(step.bytes.constData(), step.bytes.size());
            } else {
                for (qsizetype at = 0; ok && at < step.bytes.size(); at += step.pieceSize) {
                    ok = SendAll(step.bytes.constData() + at,
                                 std::min<qsizetype>(step.pieceSize, step.bytes.size() - at));
                    std::this_thread::sleep_for(std::chrono::milliseconds(step.ms));
                }
            }
            break;
        case Step::Kind::ReadLine:
            ok = WaitFor(FindLineEnd, consumed);
            break;
        case Step::Kind::ReadData:
            ok = WaitFor(FindDataEnd, consumed);
            break;
        case Step::Kind::Pause:
        case Step::Kind::Stall: {
            // Read nothing; a client that gave up may still have data queued, so its close
            // never reaches us: the test ending the server ends the stall instead.
            pollfd fds[] = {{m_client, POLLRDHUP, 0}, {m_wake[0], POLLIN, 0}};
            ::poll(fds, 2, step.ms);
            break;
        }
        case Step::Kind::Close:
            ::shutdown(m_client, SHUT_RDWR);
            // What the client had sent before the close still counts.
            while (ReadSome(100)) {
            }
            return;
        case Step::Kind::Endless: {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMaxWaitMs);
            while (ok && std::chrono::steady_clock::now() < deadline) {
                ok = SendAll(step.bytes.constData(), step.bytes.size());
                ReadSome(0);
            }
            break;
        }
        }
        if (!ok)
            break;
    }
    // Silence: record whatever else comes until the client closes.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kMaxWaitMs);
    while (!m_peerClosed && std::chrono::steady_clock::now() < deadline)
        ReadSome(100);
}
