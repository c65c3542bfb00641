#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

namespace online {

// One open TCP connection (TLS for https) as the transfer client needs it. The network module makes them, so that
// the program loads the network libraries only when it goes online.
class Connection {
public:
    virtual ~Connection() = default;
    // Still connected; bytes already received stay readable after the peer closed.
    virtual bool connected() const = 0;
    virtual qint64 bytesAvailable() const = 0;
    // Waits up to `ms` for new bytes or the end of the connection.
    virtual void waitForReadyRead(int ms) = 0;
    virtual qint64 read(char* data, qint64 maxSize) = 0;
    virtual qint64 write(const char* data, qint64 size) = 0;
    virtual QString errorString() const = 0;
    virtual void abort() = 0;
};

// The network module's one function (lenkwerk_open_connection in lenkwerk-net.so): connects to `host`:`port`,
// with the TLS handshake when `tls`, within `timeoutMs`, calling `pump` between waits. Null with `error` in words
// for the dialog when it fails; the caller owns what it returns.
using OpenConnection = Connection* (*)(const QString& host, quint16 port, bool tls, int timeoutMs,
                                       const std::function<void()>& pump, QString& error);

} // namespace online
