#pragma once
// A real SMTP server for a test: the aiosmtpd script on 127.0.0.1 at a free port, in
// its own process, writing each message it receives to a file in a temporary folder.

#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class SmtpSink {
public:
    // stall: "" answers everything; "rcpt" never answers a RCPT TO; "data" takes each
    // message and never answers its end.
    explicit SmtpSink(const QString& stall = QString());
    ~SmtpSink();

    // Empty when the server runs, else what went wrong.
    QString Problem() const { return m_problem; }
    quint16 port() const { return m_port; }

    // The k-th message received (1-based), waiting a little for it to be written;
    // empty when it never came.
    QJsonObject Message(int k) const;
    int MessageCount() const;
    // How many times the server has begun to stall.
    int StallCount() const;

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_problem;
};

// A base64 field of a message record as bytes.
QByteArray Field64(const QJsonObject& message, const char* name);
