#include "SmtpSink.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QThread>

SmtpSink::SmtpSink(const QString& stall)
{
    if (!m_folder.isValid()) {
        m_problem = QStringLiteral("no temporary folder");
        return;
    }
    m_process.setProgram(QStringLiteral(QUORIN_MAIL_PYTHON));
    QStringList arguments{QStringLiteral(QUORIN_MAIL_SINK), m_folder.path()};
    if (!stall.isEmpty())
        arguments << stall;
    m_process.setArguments(arguments);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start();
    if (!m_process.waitForStarted(10000)) {
        m_problem = QStringLiteral("python did not start: ") + m_process.errorString();
        return;
    }
    const QDeadlineTimer deadline(20000);
    QByteArray out;
    while (!out.contains('\n') && !deadline.hasExpired()) {
        if (!m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
        out += m_process.readAllStandardOutput();
    }
    if (out.startsWith("PORT "))
        m_port = static_cast<quint16>(out.mid(5).trimmed().toUInt());
    if (m_port == 0)
        m_problem = QStringLiteral("the SMTP server did not start: ")
            + QString::fromLocal8Bit(out + m_process.readAllStandardError());
}

SmtpSink::~SmtpSink()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // Closing its input ends the script; terminate it if it lingers.
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000)) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000))
            m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QJsonObject SmtpSink::Message(int k) const
{
    const QString name = QDir(m_folder.path()).filePath(QString::number(k) + QStringLiteral(".json"));
    const QDeadlineTimer deadline(5000);
    while (!QFile::exists(name) && !deadline.hasExpired())
        QThread::msleep(20);
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

int SmtpSink::MessageCount() const
{
    return static_cast<int>(QDir(m_folder.path()).entryList({QStringLiteral("*.json")}, QDir::Files).size());
}

int SmtpSink::StallCount() const
{
    return static_cast<int>(QDir(m_folder.path()).entryList({QStringLiteral("*.stall")}, QDir::Files).size());
}

QByteArray Field64(const QJsonObject& message, const char* name)
{
    return QByteArray::fromBase64(message.value(QLatin1String(name)).toString().toLatin1());
}
