#include "online/tipclient.h"

#include <QElapsedTimer>
#include <QSslSocket>
#include <QTcpSocket>

#include "online/httpreply.h"

namespace online {

namespace {

bool isHttps(const QUrl& url) {
    return url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
}

constexpr int kSlice = 50; // ms between two looks at the window system

} // namespace

std::unique_ptr<TipClient> TipClient::create(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    if ((scheme != QLatin1String("http") && scheme != QLatin1String("https")) || url.host().isEmpty()) return {};
    return std::unique_ptr<TipClient>(new TipClient(url));
}

TipClient::TipClient(const QUrl& url) : m_url(url) {}

TipClient::~TipClient() {
    close();
}

void TipClient::pump() {
    if (m_pump) m_pump();
}

QByteArray TipClient::request() const {
    QByteArray target = m_url.path(QUrl::FullyEncoded).toLatin1();
    if (target.isEmpty()) target = "/";
    if (m_url.hasQuery()) target += '?' + m_url.query(QUrl::FullyEncoded).toLatin1();
    QByteArray host = m_url.host(QUrl::FullyEncoded).toLatin1();
    if (m_url.port() > 0) host += ':' + QByteArray::number(m_url.port());
    return "GET " + target + " HTTP/1.0\r\nHost: " + host + "\r\nConnection: close\r\n\r\n";
}

bool TipClient::open() {
    m_error.clear();
    m_reply.clear();
    const bool tls = isHttps(m_url);
    const quint16 port = static_cast<quint16>(m_url.port(tls ? 443 : 80));
    QElapsedTimer clock;
    clock.start();
    if (tls) {
        if (!QSslSocket::supportsSsl()) {
            m_error = QStringLiteral("Keine TLS-Unterstützung vorhanden");
            return false;
        }
        auto* ssl = new QSslSocket;
        m_socket.reset(ssl);
        ssl->connectToHostEncrypted(m_url.host(), port);
        while (!ssl->isEncrypted()) {
            if (ssl->state() == QAbstractSocket::UnconnectedState || clock.elapsed() > m_timeout) break;
            ssl->waitForEncrypted(kSlice);
            pump();
        }
        if (!ssl->isEncrypted()) {
            const auto errors = ssl->sslHandshakeErrors();
            if (!errors.isEmpty())
                m_error = QStringLiteral("Zertifikatsfehler: ") + errors.first().errorString();
            else if (clock.elapsed() > m_timeout)
                m_error = QStringLiteral("Zeitüberschreitung beim Verbinden");
            else
                m_error = ssl->errorString();
            ssl->abort();
            return false;
        }
        return true;
    }
    m_socket = std::make_unique<QTcpSocket>();
    m_socket->connectToHost(m_url.host(), port);
    while (m_socket->state() != QAbstractSocket::ConnectedState) {
        if (m_socket->state() == QAbstractSocket::UnconnectedState || clock.elapsed() > m_timeout) break;
        m_socket->waitForConnected(kSlice);
        pump();
    }
    if (m_socket->state() != QAbstractSocket::ConnectedState) {
        m_error =
            clock.elapsed() > m_timeout ? QStringLiteral("Zeitüberschreitung beim Verbinden") : m_socket->errorString();
        m_socket->abort();
        return false;
    }
    return true;
}

bool TipClient::waitForBytes(qint64 remainingMs) {
    QElapsedTimer idle;
    idle.start();
    for (;;) {
        if (m_socket->bytesAvailable() > 0) return true;
        if (m_socket->state() != QAbstractSocket::ConnectedState) return false;
        const qint64 left = std::min<qint64>(m_timeout, remainingMs) - idle.elapsed();
        if (left <= 0) {
            m_timedOut = true;
            return false;
        }
        m_socket->waitForReadyRead(static_cast<int>(std::min<qint64>(left, kSlice)));
        pump();
    }
}

bool TipClient::receive(const std::function<bool(const char*, std::size_t)>& sink,
                        const std::function<void(std::uint64_t)>& progress) {
    m_error.clear();
    m_timedOut = false;
    if (!m_socket || m_socket->state() != QAbstractSocket::ConnectedState) {
        m_error = QStringLiteral("Keine Verbindung");
        return false;
    }
    const QByteArray req = request();
    if (m_socket->write(req) != req.size()) {
        m_error = m_socket->errorString();
        return false;
    }
    HttpReplyParser parser(m_ceiling, [&](std::string_view bytes) { return sink(bytes.data(), bytes.size()); });
    QElapsedTimer clock;
    clock.start();
    char buffer[16 * 1024];
    while (!parser.done()) {
        // The head has one time-out altogether, so a server that trickles header bytes cannot hold the dialog.
        const qint64 limit = parser.headersDone() ? kMaxTransferMs : m_timeout;
        if (!waitForBytes(limit - clock.elapsed())) {
            if (m_timedOut) {
                m_error = QStringLiteral("Zeitüberschreitung: der Server antwortet nicht");
                m_reply = QString::fromLatin1(parser.statusLine());
                return false;
            }
            // The connection ended; whatever was still buffered has been read.
            parser.finish();
            break;
        }
        const qint64 n = m_socket->read(buffer, sizeof buffer);
        if (n <= 0) continue;
        const bool ok = parser.feed(std::string_view(buffer, static_cast<std::size_t>(n)));
        if (parser.headersDone() || parser.failed()) m_reply = QString::fromLatin1(parser.statusLine());
        if (!ok) break;
        if (progress) progress(parser.bodyReceived());
    }
    m_reply = QString::fromLatin1(parser.statusLine());
    if (parser.done()) return true;
    m_error = QString::fromUtf8(parser.error());
    return false;
}

void TipClient::close() {
    if (!m_socket) return;
    m_socket->abort();
    m_socket.reset();
}

} // namespace online
