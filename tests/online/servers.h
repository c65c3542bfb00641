#pragma once

#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

// A server of the tests, a Python script in this folder started on 127.0.0.1; it prints its port first and is
// killed with the object.
class ScriptServer {
public:
    ScriptServer(const char* script, const QString& outputFile) {
        // Debian's interpreter, which has the packages scripts/deps installs (python3-aiosmtpd).
        const QString debian = QStringLiteral("/usr/bin/python3");
        m_process.setProgram(QFileInfo::exists(debian) ? debian : QStringLiteral("python3"));
        m_process.setArguments(
            {QStringLiteral(LW_SOURCE_DIR "/tests/online/") + QString::fromLatin1(script), outputFile});
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(5000)) return;
        while (!m_process.canReadLine() && m_process.waitForReadyRead(10000)) {
        }
        m_port = m_process.readLine().trimmed().toInt();
    }
    ~ScriptServer() {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    int port() const { return m_port; }
    QString base(const QString& folder) const {
        return QStringLiteral("http://127.0.0.1:%1/%2/").arg(m_port).arg(folder);
    }

private:
    QProcess m_process;
    int m_port = 0;
};
