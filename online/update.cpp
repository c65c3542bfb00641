#include "online/update.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include "core/context.h"
#include "online/settings.h"
#include "online/tipclient.h"
#include "platform/ansi.h"
#include "platform/inifile.h"

namespace online {

namespace {

const QString kTitle = QStringLiteral("Tavolin-Update");
const QString kNoDownload = QStringLiteral("Kein Download");
const QString kNoUpdate = QStringLiteral("Kein Lenkwerk-Update vorhanden.");

bool isHex64(const QString& s) {
    if (s.size() != 64) return false;
    for (QChar c : s)
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'))))
            return false;
    return true;
}

// Receiving into a file (ReadToFile): the texts of the dialog, the 1024-byte minimum.
bool readToFile(UpdateRun& run, TipClient& client) {
    UpdateState& st = run.state;
    st.CFSTAT = QStringLiteral("Software-Update wurde gefunden.");
    run.show();
    QFile file(run.ctx.path(st.CFILE));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        st.CFSTAT = QStringLiteral("Kann Download-Datei NICHT speichern !");
        run.show();
        return false;
    }
    const bool ok = client.receive(
        [&](const char* data, std::size_t size) { return file.write(data, qint64(size)) == qint64(size); },
        [&](std::uint64_t received) {
            st.NREADLEN = received;
            st.CDLOAD = QString::number(received) + st.CLUSIZE;
            run.show();
        });
    file.close();
    if (!ok) {
        st.CFSTAT = client.error();
        return false;
    }
    if (st.NREADLEN < kMinimumFileSize) {
        st.CFSTAT = QStringLiteral("Software-Update NICHT gefunden !");
        return false;
    }
    return true;
}

} // namespace

QString urlForDisplay(const QString& url) {
    const int de = url.indexOf(QLatin1String(".de"), 0, Qt::CaseInsensitive);
    if (de >= 0) return url.left(de + 3);
    // Without ".de" the address is cut after its host, so that the line still says where it goes.
    const QUrl u(url);
    if (!u.isValid() || u.host().isEmpty()) return url.left(60);
    return u.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo).toString();
}

QString offeredVersion(const QString& description) {
    const int at = description.indexOf(QLatin1String("<Program_Version>"));
    const QString window = description.mid(at < 0 ? 0 : at, 24);
    const int gt = window.indexOf(QLatin1Char('>'));
    return window.mid(gt + 1, 7);
}

bool isNewerVersion(const QString& offered, const QString& release) {
    if (release.isEmpty() || offered.isEmpty() || offered.at(0) != release.at(0)) return false;
    return offered.left(release.size()) > release;
}

std::optional<QString> announcedSha256(const QString& description) {
    const QString tag = QStringLiteral("<Program_Sha256>");
    const int at = description.indexOf(tag, 0, Qt::CaseInsensitive);
    if (at < 0) return std::nullopt;
    const int start = at + tag.size();
    const int end = description.indexOf(QLatin1Char('<'), start);
    return description.mid(start, end < 0 ? 128 : end - start).trimmed().toLower();
}

QString fileSha256(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&f)) return {};
    return QString::fromLatin1(hash.result().toHex());
}

bool CHK4UPDATE(UpdateRun& run, const QString& fileName) {
    UpdateState& st = run.state;
    const QString path = run.ctx.path(fileName);
    QFile f(path);
    QString text;
    if (f.open(QIODevice::ReadOnly)) text = platform::fromAnsi(f.read(qint64(kDescriptionCeiling)).toStdString());
    f.close();
    bool newer = false;
    if (!text.trimmed().isEmpty()) {
        newer = isNewerVersion(offeredVersion(text), run.ctx.settings.CRELNUM);
        const auto sha = announcedSha256(text);
        st.shaAnnounced = sha.has_value();
        st.sha256 = sha.value_or(QString());
    }
    QFile::remove(path);
    if (newer) {
        st.CFSTAT = QStringLiteral("Lenkwerk-Update wurde gefunden.");
    } else {
        st.CFSTAT = kNoUpdate;
        st.CDLOAD = kNoDownload;
    }
    run.show();
    return newer;
}

bool MAINOPEN(UpdateRun& run, const QString& url, bool showCompletion, std::uint64_t ceiling) {
    core::BusyScope busy(run.ctx.messages());
    UpdateState& st = run.state;
    st.NREADLEN = 0;
    st.CVURL = urlForDisplay(url);
    run.show();
    if (url.trimmed().isEmpty()) {
        core::WARNBOX(run.ctx, QStringLiteral("Es wurde keine URL gefunden !"), QStringLiteral("Problem"));
        return false;
    }
    auto client = TipClient::create(QUrl(url.trimmed()), run.netModule);
    if (!client) {
        st.CFSTAT = QStringLiteral("Es wurde kein Update gefunden !");
        run.show();
        return false;
    }
    client->setTimeout(run.timeoutMs);
    client->setBodyCeiling(ceiling);
    client->setPump(run.pump);
    if (!client->open()) {
        st.CVSTAT = QStringLiteral("URL wurde nicht gefunden !");
        st.CFSTAT = client->error();
        st.CDLOAD = client->reply().isEmpty() ? kNoDownload : client->reply();
        run.show();
        return false;
    }
    st.CVSTAT = client->reply().isEmpty() ? QStringLiteral("<verbunden>") : client->reply();
    run.show();
    if (!readToFile(run, *client)) {
        client->close();
        st.CDLOAD = QStringLiteral("Kein Download !");
        QFile::remove(run.ctx.path(st.CFILE));
        run.show();
        return false;
    }
    if (showCompletion) st.CDLOAD = QStringLiteral("Datei '") + st.CFILE + QStringLiteral("' erfolgreich empfangen.");
    client->close();
    if (showCompletion)
        st.CDLOAD += QLatin1Char('\r') + (client->reply().isEmpty() ? QStringLiteral("Fertig (no goodbye message)")
                                                                    : QStringLiteral("Fertig: ") + client->reply());
    run.show();
    return true;
}

bool DOWNLOADS(UpdateRun& run) {
    core::Context& ctx = run.ctx;
    UpdateState& st = run.state;
    const OnlineSettings settings = readOnlineSettings(ctx);
    const QString base = settings.DownLink.trimmed();
    if (!core::MSGNOYES(ctx, QStringLiteral("Haben Sie eine Internet-Verbindung hergestellt ?"), kTitle)) return false;

    st.CFILE = kDescriptionName;
    if (!MAINOPEN(run, base.isEmpty() ? QString() : base + kDescriptionName, false, kDescriptionCeiling)) return false;
    if (!CHK4UPDATE(run, kDescriptionName)) return false;
    QFile::remove(ctx.path(kDescriptionName));
    const QString lastSize = settings.LastUpSize.trimmed();
    st.CLUSIZE = lastSize.isEmpty() ? QString() : QStringLiteral(" von ca. ") + lastSize;

    st.CFILE = kInstallerFile;
    st.LOK = MAINOPEN(run, base + kInstallerName, true, kInstallerCeiling);
    if (!st.LOK) return false;

    // Only a file that is what the description announced is started; without an announced hash the learner
    // decides knowingly.
    const QString installer = ctx.path(kInstallerFile);
    if (st.shaAnnounced) {
        if (!isHex64(st.sha256) || fileSha256(installer) != st.sha256) {
            QFile::remove(installer);
            st.LOK = false;
            st.CFSTAT = QStringLiteral("Prüfsumme falsch - Datei gelöscht !");
            st.CDLOAD = QStringLiteral("Kein Download !");
            run.show();
            core::MSGINFO(ctx,
                          QStringLiteral("Die empfangene Datei stimmt nicht mit der angekündigten Prüfsumme "
                                         "überein.\rSie wurde gelöscht und wird nicht ausgeführt."),
                          kTitle);
            return false;
        }
    } else if (!core::MSGNOYES(ctx,
                               QStringLiteral("Für die empfangene Datei wurde keine Prüfsumme angekündigt;\r"
                                              "sie kann nicht geprüft werden.\rSoll sie trotzdem ausgeführt "
                                              "werden ?"),
                               kTitle)) {
        QFile::remove(installer);
        st.LOK = false;
        st.CFSTAT = QStringLiteral("Ungeprüfte Datei gelöscht.");
        st.CDLOAD = QStringLiteral("Kein Download !");
        run.show();
        return false;
    }
    return true;
}

bool startInstaller(core::Context& ctx, const QString& programFile) {
    const QString dir = ctx.path(kBackupFolder);
    QDir().mkpath(dir);
    if (QFileInfo(dir).isDir() && QFileInfo::exists(programFile)) {
        const QString copy = dir + QLatin1Char('/') + QFileInfo(programFile).fileName();
        QFile::remove(copy);
        QFile::copy(programFile, copy);
    }
    const QString installer = ctx.path(kInstallerFile);
    const qint64 size = QFileInfo(installer).size();
    platform::writeProfileString(iniFile(ctx), QStringLiteral("Setup"), QStringLiteral("LastUpSize"),
                                 QString::number(size));
    QFile::setPermissions(installer, QFile::permissions(installer) | QFile::ExeOwner | QFile::ReadOwner);
    const QString folder = QDir::toNativeSeparators(QDir(ctx.programDir).absolutePath());
    return ctx.shell().startProcess(installer, {QStringLiteral("/SILENT"), QStringLiteral("/DIR=") + folder},
                                    ctx.programDir);
}

} // namespace online
