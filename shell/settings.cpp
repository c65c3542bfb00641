#include "shell/settings.h"

#include <filesystem>
#include <optional>

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "catalog/crypt.h"
#include "platform/inifile.h"
#include "core/context.h"
#include "store/fileio.h"

namespace shell {

namespace {

const QString kSetup = QStringLiteral("Setup");
const QString kSystem = QStringLiteral("System");

std::optional<QByteArray> readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return f.readAll();
}

// Written beside the file under the engine's temporary name and renamed over it, so that a crash at any point
// leaves the old file or the new one; a left-over is removed by the next start's sweep.
bool writeAll(const QString& path, const QByteArray& bytes) {
    auto out = store::io::TempFile::create(std::filesystem::path(path.toStdString()));
    return out && store::io::writeAt(out->fd(), bytes.constData(), std::size_t(bytes.size()), 0) && out->commit() &&
           store::io::syncFolder(std::filesystem::path(path.toStdString()).parent_path());
}

// Why `bytes` do not read as a settings file (text without NUL bytes, with at least one [section]); empty when
// they do. A file saved as UTF-16 by an editor is judged by its text.
QString settingsFileFault(const QByteArray& bytes) {
    QString text;
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        auto decode = QStringDecoder(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
        text = decode(bytes.mid(2));
    } else {
        if (bytes.contains('\0')) return QStringLiteral("sie enthält Null-Bytes");
        text = QString::fromLatin1(bytes);
    }
    for (const QChar c : text)
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\r') && c != QLatin1Char('\n') &&
            c.unicode() != 0x1A)
            return QStringLiteral("sie ist keine Textdatei");
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.indexOf(QLatin1Char(']')) > 1) return {};
    }
    return bytes.isEmpty() ? QStringLiteral("sie ist leer") : QStringLiteral("sie hat keinen Abschnitt");
}


} // namespace

QString iniPath(const core::Context& ctx) {
    return ctx.path(QStringLiteral("TAVOLIN.INI"));
}

QString backupPath(const core::Context& ctx) {
    return ctx.path(QStringLiteral("TAVOLIN.SAV"));
}

void deleteUpdateLeftovers(const core::Context& ctx) {
    for (const QString& name : {QStringLiteral("tvupdate.exe"), QStringLiteral("Video.sem")}) {
        const QString path = ctx.path(name);
        if (QFileInfo(path).isFile()) QFile::remove(path);
    }
}

bool restoreSettingsBackup(const core::Context& ctx, QString* warning) {
    const QString sav = backupPath(ctx);
    if (!QFileInfo(sav).isFile()) return false;
    const auto bytes = readAll(sav);
    if (!bytes) return false;
    const QString ini = iniPath(ctx);
    if (const QString fault = settingsFileFault(*bytes); !fault.isEmpty()) {
        // Damage, not an orderly exit's copy: restoring it would throw away every setting.
        if (warning)
            *warning = QStringLiteral("Die Sicherung TAVOLIN.SAV ist keine Einstellungsdatei (%1).\r"
                                      "Die Einstellungen aus TAVOLIN.INI bleiben erhalten.")
                           .arg(fault);
        return false;
    }
    const auto current = readAll(ini);
    if (current && *current == *bytes) return true;
    return writeAll(ini, *bytes);
}

bool saveSettingsBackup(const core::Context& ctx) {
    const QString ini = iniPath(ctx);
    if (!QFileInfo(ini).isFile()) return false;
    const auto bytes = readAll(ini);
    return bytes && writeAll(backupPath(ctx), *bytes);
}

QString nextStartPicture(const QString& current) {
    if (current.startsWith(QStringLiteral("START1"))) return QStringLiteral("START2");
    if (current.startsWith(QStringLiteral("START2"))) return QStringLiteral("START3");
    if (current.startsWith(QStringLiteral("START3"))) return QStringLiteral("START4");
    return QStringLiteral("START1");
}

bool SETPUBLICS(core::Context& ctx, bool writeBack, SettingsProblem* problem) {
    core::Settings& s = ctx.settings;
    s.CINIFILE = QStringLiteral(".\\Tavolin.ini");
    s.CS_ACROBAT.clear();
    s.CKEY = catalog::CKEY;
    s.CENCRYPT = catalog::CENCRYPT;
    s.CDECRYPT = catalog::CDECRYPT;

    const QString ini = iniPath(ctx);
    SettingsProblem found;
    // A file that is there but cannot be read gives every default, like a missing one; the caller says so.
    found.unreadable = QFileInfo::exists(ini) && !readAll(ini).has_value();
    core::readSettings<core::Settings>(s, core::settingsTable(), ini);

    ctx.setLogin(core::LoginState{});
    s.CS_BRUSH = nextStartPicture(s.CS_BRUSH);

    if (writeBack && !found.unreadable)
        found.notWritten = !core::writeSettings<core::Settings>(s, core::settingsTable(), ini, core::WrittenAtStart);
    else if (writeBack)
        // Writing into a file we could not read would replace what it holds with our few keys.
        found.notWritten = true;
    if (problem) *problem = found;
    return true;
}

QString settingsProblemText(const SettingsProblem& problem) {
    if (problem.unreadable)
        return QStringLiteral("Die Einstellungsdatei TAVOLIN.INI kann nicht gelesen werden.\r"
                              "Das Programm arbeitet mit den Standardeinstellungen;\r"
                              "Änderungen werden nicht gespeichert.");
    if (problem.notWritten)
        return QStringLiteral("Die Einstellungsdatei TAVOLIN.INI kann nicht geschrieben werden.\r"
                              "Änderungen der Einstellungen gehen beim Beenden verloren.");
    return {};
}

bool GETCOORDS(const core::Context& ctx, int slot, int& top, int& left, int& bottom, int& right) {
    const QString ini = iniPath(ctx);
    auto number = [&](const QString& key, int def) { return core::readSettingNumber(ini, kSystem, key, def); };
    switch (slot) {
    case 0:
        top = number(QStringLiteral("0_Top"), 0);
        left = number(QStringLiteral("0_Left"), 0);
        bottom = number(QStringLiteral("0_Bottom"), 600);
        right = number(QStringLiteral("0_Right"), 800);
        break;
    case 1:
        top = number(QStringLiteral("1_Top"), 0);
        left = number(QStringLiteral("1_Left"), 0);
        bottom = 0;
        right = 0;
        break;
    case 2:
        top = number(QStringLiteral("2_Top"), 0);
        left = number(QStringLiteral("2_Left"), 0);
        break;
    default:
        break;
    }
    return true;
}

bool GETCOORDS(const core::Context& ctx, int slot, Coords& c) {
    return GETCOORDS(ctx, slot, c.top, c.left, c.bottom, c.right);
}

int snapHeight(int h) {
    if (h >= 480 && h <= 489) return 480;
    if (h >= 601 && h <= 609) return 600;
    if (h >= 769 && h <= 774) return 768;
    if (h >= 1025 && h <= 1029) return 1024;
    return h;
}

int snapWidth(int w) {
    if (w >= 640 && w <= 649) return 640;
    if (w >= 801 && w <= 809) return 800;
    if (w >= 1025 && w <= 1029) return 1024;
    if (w >= 1281 && w <= 1289) return 1280;
    return w;
}

Coords snapMainWindow(Coords c) {
    c.top = qMax(0, c.top);
    c.left = qMax(0, c.left);
    c.bottom = c.top + snapHeight(c.bottom - c.top);
    c.right = c.left + snapWidth(c.right - c.left);
    return c;
}

bool mostlyOnScreen(const QRect& rect, const QList<QRect>& screens) {
    if (rect.width() <= 0 || rect.height() <= 0) return false;
    const qint64 area = qint64(rect.width()) * rect.height();
    for (const QRect& screen : screens) {
        const QRect on = rect.intersected(screen);
        if (!on.isEmpty() && 2 * qint64(on.width()) * on.height() >= area) return true;
    }
    return false;
}

void putMainWindowCoords(const core::Context& ctx, const Coords& window, QSize screen, bool maximised,
                         const QList<QRect>& screens) {
    const QString ini = iniPath(ctx);
    const Coords c = snapMainWindow(window);
    const int w = c.right - c.left;
    const int h = c.bottom - c.top;
    if (!maximised) {
        const QRect rect(window.left, window.top, window.right - window.left, window.bottom - window.top);
        const QList<QRect> on = screens.isEmpty() ? QList<QRect>{QRect(QPoint(0, 0), screen)} : screens;
        if (rect.width() < kMinWindowWidth || rect.height() < kMinWindowHeight || !mostlyOnScreen(rect, on)) return;
    }
    // A maximised window counts as filling the screen whatever size the desktop's panels leave it.
    if (!maximised && w < screen.width() && h < screen.height()) {
        platform::writeProfileNumber(ini, kSystem, QStringLiteral("0_Top"), c.top);
        platform::writeProfileNumber(ini, kSystem, QStringLiteral("0_Left"), c.left);
        platform::writeProfileNumber(ini, kSystem, QStringLiteral("0_Bottom"), c.bottom);
        platform::writeProfileNumber(ini, kSystem, QStringLiteral("0_Right"), c.right);
        platform::writeProfileNumber(ini, kSystem, QStringLiteral("0_Width"), w);
        platform::writeProfileNumber(ini, kSystem, QStringLiteral("0_Hight"), h);
    } else {
        platform::writeProfileString(ini, kSetup, QStringLiteral("WINSIZE"), QStringLiteral("1"));
    }
}

QRect mainWindowGeometry(const Coords& c) {
    return QRect(c.left, c.top, qMax(1, c.right - c.left), qMax(1, c.bottom - c.top));
}

QRect mainWindowGeometry(const Coords& c, const QList<QRect>& screens, const QRect& primaryArea) {
    const QRect saved(c.left, c.top, c.right - c.left, c.bottom - c.top);
    if (saved.width() >= kMinWindowWidth && saved.height() >= kMinWindowHeight && mostlyOnScreen(saved, screens))
        return saved;
    const QRect area = primaryArea.isEmpty() ? QRect(0, 0, 800, 600) : primaryArea;
    QRect fallback(QPoint(0, 0), QSize(800, 600).boundedTo(area.size()));
    fallback.moveCenter(area.center());
    return fallback;
}

std::optional<QPoint> dialogPosition(const QPoint& topLeft, QSize size, const QList<QRect>& screens) {
    if (!mostlyOnScreen(QRect(topLeft, size), screens)) return std::nullopt;
    return topLeft;
}

} // namespace shell
