#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <map>

class QSocketNotifier;

namespace shell {

// The way a second start of the program reaches the running copy of the same program folder and asks it to show
// itself. A local stream socket under `name`: an absolute name is the socket file itself, any other lies in the
// temporary folder. Only the user who runs the program can connect to it.
class ShowChannel : public QObject {
public:
    // The running copy: listens under `name` and calls `show` for every request. A socket file left by a copy that
    // crashed is replaced; one that another copy still listens on is left alone, and this one does not listen.
    ShowChannel(const QString& name, std::function<void()> show, QObject* parent = nullptr);
    ~ShowChannel() override;
    ShowChannel(const ShowChannel&) = delete;
    ShowChannel& operator=(const ShowChannel&) = delete;

    bool isListening() const { return m_listener >= 0; }
    // Why it does not listen.
    const QString& error() const { return m_error; }

    // The socket file of `name`.
    static QString socketPath(const QString& name);
    // The second start: asks the copy listening under `name` to show itself; false when none has answered within
    // `timeoutMs`.
    static bool askToShow(const QString& name, int timeoutMs);

private:
    bool listen(const QByteArray& path);
    void acceptClients();
    void readFrom(QSocketNotifier* client);
    void drop(QSocketNotifier* client);

    std::function<void()> m_show;
    int m_listener = -1;
    QByteArray m_path;
    // The socket file this copy made, so that it removes no other.
    unsigned long long m_device = 0, m_inode = 0;
    QString m_error;
    // What each connected client has sent so far.
    std::map<QSocketNotifier*, QByteArray> m_received;
};

} // namespace shell
