#include "shell/settings.h"

#include <cmath>
#include <limits>
#include <optional>

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QScreen>
#include <QWidget>

#include "catalog/crypt.h"
#include "platform/inifile.h"
#include "platform/programdir.h"
#include "ui/context.h"
#include "ui/fonts.h"

namespace shell {

namespace {

const QString kSetup = QStringLiteral("Setup");
const QString kSystem = QStringLiteral("System");

// A name of the program folder as a path: the existing file in whatever case, else the name as written.
QString programFile(const ui::Context& ctx, const QString& name) {
    return platform::ProgramDir(ctx.programDir).resolve(name);
}

std::optional<QByteArray> readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
    return f.readAll();
}

bool writeAll(const QString& path, const QByteArray& bytes) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

// Whole numbers are all the program keeps; a fraction is cut off, and a huge value stays inside int.
int wholeNumber(double v) {
    v = std::trunc(v);
    if (!(v == v)) return 0;
    if (v >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(v);
}

int readNumber(const QString& ini, const QString& section, const QString& key, int def) {
    return wholeNumber(platform::readProfileNumber(ini, section, key, def));
}

bool readFlag(const QString& ini, const QString& section, const QString& key, bool def) {
    return platform::readProfileFlag(ini, section, key, def);
}

} // namespace

QString iniPath(const ui::Context& ctx) {
    return programFile(ctx, QStringLiteral("TAVOLIN.INI"));
}

QString backupPath(const ui::Context& ctx) {
    return programFile(ctx, QStringLiteral("TAVOLIN.SAV"));
}

void deleteUpdateLeftovers(const ui::Context& ctx) {
    for (const QString& name : {QStringLiteral("tvupdate.exe"), QStringLiteral("Video.sem")}) {
        const QString path = programFile(ctx, name);
        if (QFileInfo(path).isFile()) QFile::remove(path);
    }
}

bool restoreSettingsBackup(const ui::Context& ctx) {
    const QString sav = backupPath(ctx);
    if (!QFileInfo(sav).isFile()) return false;
    const auto bytes = readAll(sav);
    if (!bytes) return false;
    const QString ini = iniPath(ctx);
    if (bytes->isEmpty() && QFileInfo(ini).size() > 0) return false;
    const auto current = readAll(ini);
    if (current && *current == *bytes) return true;
    return writeAll(ini, *bytes);
}

bool saveSettingsBackup(const ui::Context& ctx) {
    const QString ini = iniPath(ctx);
    if (!QFileInfo(ini).isFile()) return false;
    const auto bytes = readAll(ini);
    return bytes && writeAll(backupPath(ctx), *bytes);
}

int settingNumber(const QString& text) {
    return wholeNumber(platform::profileNumber(text));
}

QString nextStartPicture(const QString& current) {
    if (current.startsWith(QStringLiteral("START1"))) return QStringLiteral("START2");
    if (current.startsWith(QStringLiteral("START2"))) return QStringLiteral("START3");
    if (current.startsWith(QStringLiteral("START3"))) return QStringLiteral("START4");
    return QStringLiteral("START1");
}

bool SETPUBLICS(ui::Context& ctx, bool writeBack, SettingsProblem* problem) {
    ui::Settings& s = ctx.settings;
    s.CINIFILE = QStringLiteral(".\\Tavolin.ini");
    s.CS_ACROBAT.clear();
    s.OFONT = ui::dialogFont(false);
    s.OFONTB = ui::dialogFont(true);
    s.NCOLF = QColor(1, 0, 0);
    s.NCOLB = QColor(255, 255, 208);
    s.NCOLBH = QColor(255, 255, 140);
    s.CKEY = catalog::CKEY;
    s.CENCRYPT = catalog::CENCRYPT;
    s.CDECRYPT = catalog::CDECRYPT;

    const QString ini = iniPath(ctx);
    SettingsProblem found;
    // A file that is there but cannot be read gives every default, like a missing one; the caller says so.
    found.unreadable = QFileInfo::exists(ini) && !readAll(ini).has_value();

    s.NS_MAXFRAGEN = readNumber(ini, kSetup, QStringLiteral("MAXFRAGEN"), 30);
    s.NS_MAXDURCH = readNumber(ini, kSetup, QStringLiteral("MAXDURCH"), 1);
    s.LS_WVORLAGE = readFlag(ini, kSetup, QStringLiteral("WVORLAGE"), false);
    s.LS_SAUSWERT = readFlag(ini, kSetup, QStringLiteral("SAUSWERT"), true);
    s.LS_FPSHOW = readFlag(ini, kSetup, QStringLiteral("FPSHOW"), true);
    s.LS_SOUND = readFlag(ini, kSetup, QStringLiteral("SOUND"), true);
    s.LS_SPEECH = readFlag(ini, kSetup, QStringLiteral("SPEECH"), false);
    s.NS_THEMEN = readNumber(ini, kSetup, QStringLiteral("THEMEN"), 2);
    s.NS_WINSIZE = readNumber(ini, kSetup, QStringLiteral("WINSIZE"), 2);
    s.NS_ERROR = readNumber(ini, kSetup, QStringLiteral("ERROR"), 1);
    const QString project = QStringLiteral("Project");
    s.CS_EMAIL_M = platform::readProfileString(ini, project, QStringLiteral("Email_Menue"), {});
    s.CS_EMAIL = platform::readProfileString(ini, project, QStringLiteral("Email_URL"), {});
    s.CS_WWW_M = platform::readProfileString(ini, project, QStringLiteral("Internet_Menue"), {});
    s.CS_WWW = platform::readProfileString(ini, project, QStringLiteral("Internet_URL"), {});
    s.CS_BRUSH = platform::readProfileString(ini, kSetup, QStringLiteral("Background"), QStringLiteral("MAIN640"));
    s.CRELEASE = platform::readProfileString(ini, QStringLiteral("About"), QStringLiteral("Release"),
                                             QStringLiteral("QRT Lenkwerk-Trainer 2007 v2.41"));

    ctx.login = ui::LoginState{};
    s.CS_BRUSH = nextStartPicture(s.CS_BRUSH);

    if (writeBack && !found.unreadable) {
        // SPEECH is left out on purpose: only the settings dialog stores it.
        bool ok = platform::writeProfileNumber(ini, kSetup, QStringLiteral("MAXFRAGEN"), s.NS_MAXFRAGEN);
        ok = platform::writeProfileNumber(ini, kSetup, QStringLiteral("MAXDURCH"), s.NS_MAXDURCH) && ok;
        ok = platform::writeProfileFlag(ini, kSetup, QStringLiteral("WVORLAGE"), s.LS_WVORLAGE) && ok;
        ok = platform::writeProfileFlag(ini, kSetup, QStringLiteral("SAUSWERT"), s.LS_SAUSWERT) && ok;
        ok = platform::writeProfileFlag(ini, kSetup, QStringLiteral("FPSHOW"), s.LS_FPSHOW) && ok;
        ok = platform::writeProfileFlag(ini, kSetup, QStringLiteral("SOUND"), s.LS_SOUND) && ok;
        ok = platform::writeProfileNumber(ini, kSetup, QStringLiteral("THEMEN"), s.NS_THEMEN) && ok;
        ok = platform::writeProfileNumber(ini, kSetup, QStringLiteral("WINSIZE"), s.NS_WINSIZE) && ok;
        ok = platform::writeProfileNumber(ini, kSetup, QStringLiteral("ERROR"), s.NS_ERROR) && ok;
        ok = platform::writeProfileString(ini, kSetup, QStringLiteral("Background"), s.CS_BRUSH) && ok;
        found.notWritten = !ok;
    } else if (writeBack) {
        // Writing into a file we could not read would replace what it holds with our few keys.
        found.notWritten = true;
    }
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

bool GETCOORDS(const ui::Context& ctx, int slot, int& top, int& left, int& bottom, int& right) {
    const QString ini = iniPath(ctx);
    auto number = [&](const QString& key, int def) { return readNumber(ini, kSystem, key, def); };
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

bool GETCOORDS(const ui::Context& ctx, int slot, Coords& c) {
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

void putMainWindowCoords(const ui::Context& ctx, const Coords& window, QSize screen, bool maximised) {
    const QString ini = iniPath(ctx);
    const Coords c = snapMainWindow(window);
    const int w = c.right - c.left;
    const int h = c.bottom - c.top;
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

// The saved rectangle is the window's position and size: our windows are exactly right - left wide, so the
// window's last column plus one is the right edge kept in the file, and sizes read back unchanged.
Coords windowCoords(const QWidget* window) {
    const QPoint pos = window->pos();
    const QSize size = window->size();
    return Coords{pos.y(), pos.x(), pos.y() + size.height(), pos.x() + size.width()};
}

QRect mainWindowGeometry(const Coords& c) {
    return QRect(c.left, c.top, qMax(1, c.right - c.left), qMax(1, c.bottom - c.top));
}

void PUTCOORDS(const ui::Context& ctx, int slot, const QWidget* window) {
    if (!window) return;
    const Coords c = windowCoords(window);
    switch (slot) {
    case 0: {
        const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        const QSize screenSize = screen ? screen->geometry().size() : QSize(INT_MAX, INT_MAX);
        putMainWindowCoords(ctx, c, screenSize, window->isMaximized() || window->isFullScreen());
        break;
    }
    case 1:
    case 2: {
        const QString ini = iniPath(ctx);
        const QString prefix = QString::number(slot) + QLatin1Char('_');
        platform::writeProfileNumber(ini, kSystem, prefix + QStringLiteral("Top"), c.top);
        platform::writeProfileNumber(ini, kSystem, prefix + QStringLiteral("Left"), c.left);
        break;
    }
    default:
        break;
    }
}

} // namespace shell
