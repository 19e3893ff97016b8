#pragma once
// An SMTP peer on its own thread that plays a script (replies, pauses, silence, a
// closed connection) to one client and records every byte the client sends: the
// replies a real server won't give. Loopback only; every wait is bounded, so a test
// never hangs on it.

#include <QByteArray>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

class ScriptedSmtpServer {
public:
    struct Step {
        enum class Kind { Send, ReadLine, ReadData, Pause, Close, Endless, Stall };
        Kind kind;
        QByteArray bytes;
        int pieceSize = 0; // Send: bytes per write, 0 for all at once
        int ms = 0;        // Pause, and the pause between pieces
    };

    static Step Reply(const QByteArray& text) { return {Step::Kind::Send, text}; }
    static Step ReplyInPieces(const QByteArray& text, int pieceSize, int pauseMs)
    {
        return {Step::Kind::Send, text, pieceSize, pauseMs};
    }
    static Step Line() { return {Step::Kind::ReadLine, {}}; }          // one command
    static Step Data() { return {Step::Kind::ReadData, {}}; }          // up to "\r\n.\r\n"
    static Step Pause(int ms) { return {Step::Kind::Pause, {}, 0, ms}; }
    static Step Close() { return {Step::Kind::Close, {}}; }
    // Reads nothing for a while, so what the client sends backs up.
    static Step Stall(int ms) { return {Step::Kind::Stall, {}, 0, ms}; }
    // Sends the line again and again until the client goes away.
    static Step Endless(const QByteArray& line) { return {Step::Kind::Endless, line}; }

    // The usual opening: greeting, HELO and its reply.
    static std::vector<Step> Greeted();

    // After the script the server answers nothing and records until the client closes.
    explicit ScriptedSmtpServer(std::vector<Step> script);
    ~ScriptedSmtpServer();

    quint16 port() const { return m_port; }

    // Everything the client sent, once its connection has ended.
    QByteArray Received();

private:
    void Run();
    bool WaitFor(qsizetype (*find)(const QByteArray&, qsizetype), qsizetype& consumed);
    bool ReadSome(int waitMs);
    bool SendAll(const char* data, qsizetype size);

    std::vector<Step> m_script;
    int m_listener = -1;
    int m_client = -1;
    int m_wake[2] = {-1, -1}; // written when the server is destroyed, to end a stall
    quint16 m_port = 0;
    bool m_peerClosed = false;
    QByteArray m_received;
    std::mutex m_mutex;
    std::thread m_thread;
};
