// The network as a module of its own, loaded by online::TipClient with the first transfer: Qt Network and the
// TLS, proxy and name-service libraries under it then cost nothing at the program's start.
#include <QElapsedTimer>
#include <QSslSocket>
#include <QTcpSocket>

#include <memory>

#include "online/connection.h"

namespace {

constexpr int kSlice = 50; // ms between two looks at the window system

class SocketConnection final : public online::Connection {
public:
    explicit SocketConnection(std::unique_ptr<QTcpSocket> socket) : m_socket(std::move(socket)) {}
    bool connected() const override { return m_socket->state() == QAbstractSocket::ConnectedState; }
    qint64 bytesAvailable() const override { return m_socket->bytesAvailable(); }
    void waitForReadyRead(int ms) override { m_socket->waitForReadyRead(ms); }
    qint64 read(char* data, qint64 maxSize) override { return m_socket->read(data, maxSize); }
    qint64 write(const char* data, qint64 size) override { return m_socket->write(data, size); }
    QString errorString() const override { return m_socket->errorString(); }
    void abort() override { m_socket->abort(); }

private:
    std::unique_ptr<QTcpSocket> m_socket;
};

const QString kConnectTimeout = QStringLiteral("Zeitüberschreitung beim Verbinden");

std::unique_ptr<QTcpSocket> openEncrypted(const QString& host, quint16 port, int timeoutMs,
                                          const std::function<void()>& pump, QString& error) {
    if (!QSslSocket::supportsSsl()) {
        error = QStringLiteral("Keine TLS-Unterstützung vorhanden");
        return {};
    }
    QElapsedTimer clock;
    clock.start();
    auto ssl = std::make_unique<QSslSocket>();
    ssl->connectToHostEncrypted(host, port);
    while (!ssl->isEncrypted()) {
        if (ssl->state() == QAbstractSocket::UnconnectedState || clock.elapsed() > timeoutMs) break;
        ssl->waitForEncrypted(kSlice);
        if (pump) pump();
    }
    if (ssl->isEncrypted()) return ssl;
    const auto errors = ssl->sslHandshakeErrors();
    if (!errors.isEmpty())
        error = QStringLiteral("Zertifikatsfehler: ") + errors.first().errorString();
    else if (clock.elapsed() > timeoutMs)
        error = kConnectTimeout;
    else
        error = ssl->errorString();
    ssl->abort();
    return {};
}

std::unique_ptr<QTcpSocket> openPlain(const QString& host, quint16 port, int timeoutMs,
                                      const std::function<void()>& pump, QString& error) {
    QElapsedTimer clock;
    clock.start();
    auto socket = std::make_unique<QTcpSocket>();
    socket->connectToHost(host, port);
    while (socket->state() != QAbstractSocket::ConnectedState) {
        if (socket->state() == QAbstractSocket::UnconnectedState || clock.elapsed() > timeoutMs) break;
        socket->waitForConnected(kSlice);
        if (pump) pump();
    }
    if (socket->state() == QAbstractSocket::ConnectedState) return socket;
    error = clock.elapsed() > timeoutMs ? kConnectTimeout : socket->errorString();
    socket->abort();
    return {};
}

} // namespace

extern "C" Q_DECL_EXPORT online::Connection* lenkwerk_open_connection(const QString& host, quint16 port, bool tls,
                                                                      int timeoutMs, const std::function<void()>& pump,
                                                                      QString& error) {
    // The caller's type must match the one named in the header.
    [[maybe_unused]] constexpr online::OpenConnection checked = &lenkwerk_open_connection;
    auto socket =
        tls ? openEncrypted(host, port, timeoutMs, pump, error) : openPlain(host, port, timeoutMs, pump, error);
    if (!socket) return nullptr;
    return new SocketConnection(std::move(socket));
}
