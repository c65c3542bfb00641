#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <cstdint>
#include <functional>
#include <memory>

namespace online {

class Connection;

// TIPCLIENT: one transfer from a web server over a TCP socket (TLS for https), HTTP/1.0 with "Connection:
// close". Every wait ends after the time-out without new bytes; the header part must arrive within one time-out
// altogether, the whole transfer within kMaxTransferMs. The socket comes from the network module
// (lenkwerk-net.so), loaded with the first open().
class TipClient {
public:
    static constexpr int kTimeoutMs = 5000;
    static constexpr int kMaxTransferMs = 15 * 60 * 1000;

    // A client for the URL's scheme ("http" or "https"); none for any other scheme or a URL without host.
    // `netModule` is the network module's file, by default the one beside the executable.
    static std::unique_ptr<TipClient> create(const QUrl& url, QString netModule = {});
    static QString defaultNetModule();
    ~TipClient();
    TipClient(const TipClient&) = delete;
    TipClient& operator=(const TipClient&) = delete;

    // Shorter waits for tests; the program keeps the default.
    void setTimeout(int milliseconds) { m_timeout = milliseconds; }
    void setBodyCeiling(std::uint64_t bytes) { m_ceiling = bytes; }
    // Called between waits, so the window that shows the transfer keeps repainting.
    void setPump(std::function<void()> pump) { m_pump = std::move(pump); }

    // Connects to the URL's host and port (80 or 443 unless the URL names one); false on a socket error or without
    // the network module.
    bool open();
    // Sends the request and hands the body to `sink` as it arrives; `progress` gets the bytes received so far.
    // False when the reply broke off, was too large or too slow, or the sink refused.
    bool receive(const std::function<bool(const char* data, std::size_t size)>& sink,
                 const std::function<void(std::uint64_t received)>& progress);
    void close();

    // cReply: the server's status line ("" when none came).
    const QString& reply() const { return m_reply; }
    // Why the last step failed, in words for the dialog.
    const QString& error() const { return m_error; }
    // The request as sent, for the tests: "GET /Downloads/Lenkwerk.xml HTTP/1.0\r\nHost: ...".
    QByteArray request() const;

private:
    TipClient(const QUrl& url, QString netModule);
    // Waits until bytes are there or the connection is gone; false after the time-out or the overall deadline.
    bool waitForBytes(qint64 remainingMs);
    void pump();

    QUrl m_url;
    QString m_netModule;
    std::unique_ptr<Connection> m_socket;
    int m_timeout = kTimeoutMs;
    std::uint64_t m_ceiling = 32ull * 1024 * 1024;
    std::function<void()> m_pump;
    QString m_reply;
    QString m_error;
    bool m_timedOut = false;
};

} // namespace online
