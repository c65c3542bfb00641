#include "online/tipclient.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include "core/modules.h"
#include "online/connection.h"
#include "online/httpreply.h"

namespace online {

namespace {

bool isHttps(const QUrl& url) {
    return url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
}

constexpr int kSlice = 50; // ms between two looks at the window system

} // namespace

std::unique_ptr<TipClient> TipClient::create(const QUrl& url, QString netModule) {
    const QString scheme = url.scheme().toLower();
    if ((scheme != QLatin1String("http") && scheme != QLatin1String("https")) || url.host().isEmpty()) return {};
    return std::unique_ptr<TipClient>(new TipClient(url, std::move(netModule)));
}

QString TipClient::defaultNetModule() {
    return core::besideProgram(QStringLiteral("lenkwerk-net.so"));
}

TipClient::TipClient(const QUrl& url, QString netModule) : m_url(url), m_netModule(std::move(netModule)) {}

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
    close();
    const QString module = m_netModule.isEmpty() ? defaultNetModule() : m_netModule;
    const auto openConnection =
        reinterpret_cast<OpenConnection>(core::moduleFunction(module, "lenkwerk_open_connection", "network module"));
    if (!openConnection) {
        // Short enough for the dialog's line.
        m_error = QStringLiteral("Netzwerkmodul %1 fehlt").arg(QFileInfo(module).fileName());
        return false;
    }
    const bool tls = isHttps(m_url);
    const quint16 port = static_cast<quint16>(m_url.port(tls ? 443 : 80));
    m_socket.reset(openConnection(m_url.host(), port, tls, m_timeout, m_pump, m_error));
    if (m_socket) return true;
    if (m_error.isEmpty()) m_error = QStringLiteral("Keine Verbindung");
    return false;
}

bool TipClient::waitForBytes(qint64 remainingMs) {
    QElapsedTimer idle;
    idle.start();
    for (;;) {
        if (m_socket->bytesAvailable() > 0) return true;
        if (!m_socket->connected()) return false;
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
    if (!m_socket || !m_socket->connected()) {
        m_error = QStringLiteral("Keine Verbindung");
        return false;
    }
    const QByteArray req = request();
    if (m_socket->write(req.constData(), req.size()) != req.size()) {
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
