#include "diag/errorsys.h"

#include <malloc.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <cxxabi.h>
#include <typeinfo>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QObject>
#include <QThread>

#include "core/context.h"
#include "diag/errorlog.h"
#include "diag/stack.h"
#include "diag/sysinfo.h"
#include "platform/ansi.h"
#include "store/error.h"

namespace diag {

namespace {

constexpr std::size_t kLogCapacity = 256 * 1024;
constexpr int kMaxTitles = 64;
constexpr int kMaxTables = 64;

// Everything the handler of a fatal signal needs lies here, prepared while the program runs normally.
struct State {
    char release[256] = "";
    char folder[1024] = "";
    char logPath[1200] = "";
    char programPath[1024] = "";
    std::int64_t programSize = 0;
    int maxHandles = 0;
    long utcOffset = 0;
    // The window titles in two halves: the one not shown to the handler is rewritten, then made current.
    char titleText[2][8192] = {};
    std::string_view titles[2][kMaxTitles] = {};
    int titleCount[2] = {};
    std::atomic<int> titleSide{0};
    DialogHook dialog;
    bool active = false;
    bool netErr = false;
    bool installed = false;
};

State& state() {
    static State s;
    return s;
}

struct RetryScope {
    bool requested = false;
    RetryScope* outer = nullptr;
};
RetryScope* g_retry = nullptr;

[[noreturn]] void endProgram() {
    std::fflush(nullptr);
    std::_Exit(1);
}

void copyText(char* out, std::size_t size, const std::string& text) {
    const std::size_t n = std::min(size - 1, text.size());
    std::memcpy(out, text.data(), n);
    out[n] = 0;
}

void refreshLogPath() {
    State& s = state();
    copyText(s.logPath, sizeof s.logPath, logPath().toStdString());
}

// Civil date of a day count since 1970-01-01.
void civil(long long days, int& y, int& m, int& d) {
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const unsigned doe = unsigned(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2));
}

void fillTime(log::Facts& f, std::time_t now, long offset) {
    const long long local = static_cast<long long>(now) + offset;
    long long days = local / 86400;
    long long secs = local % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    civil(days, f.year, f.month, f.day);
    f.hour = int(secs / 3600);
    f.minute = int(secs / 60 % 60);
    f.second = int(secs % 60);
}

void fillCommon(log::Facts& f) {
    State& s = state();
    f.release = s.release;
    f.programPath = s.programPath;
    f.programSize = s.programSize;
    f.maxHandles = s.maxHandles;
    const int side = s.titleSide.load();
    f.titles = s.titles[side];
    f.titleCount = s.titleCount[side];
}

// The figures of the allocator: bytes in use and the most it holds from the system.
void allocatorFigures(log::Facts& f) {
    const struct mallinfo2 m = mallinfo2();
    f.memoryInUse = std::int64_t(m.uordblks + m.hblkhd);
    f.memoryPeak = std::int64_t(m.arena + m.hblkhd);
}

// ---- fatal signals ----------------------------------------------------------------------------------------------

char g_signalText[256];
char g_crashLog[kLogCapacity];
stack::Frame g_crashFrames[stack::kMaxLevels];
SystemFacts g_crashSystem;
log::OpenTable g_crashTables[kMaxTables];
alignas(16) char g_altStack[128 * 1024];
volatile sig_atomic_t g_inSignal = 0;

const char* signalName(int sig) {
    switch (sig) {
    case SIGSEGV:
        return "Speicherschutzverletzung (SIGSEGV)";
    case SIGBUS:
        return "Busfehler (SIGBUS)";
    case SIGFPE:
        return "Arithmetikfehler (SIGFPE)";
    case SIGILL:
        return "Unerlaubter Befehl (SIGILL)";
    case SIGABRT:
        return "Programmabbruch (SIGABRT)";
    default:
        return "Signal";
    }
}

void writeCrashLog(int sig, int frameCount, const log::Facts& base) {
    // "Fehler SIGNAL/11  Speicherschutzverletzung (SIGSEGV): function"
    log::Buffer text(g_signalText, sizeof g_signalText);
    text.add("Fehler SIGNAL/");
    text.number(sig);
    text.add("  ");
    text.add(signalName(sig));
    if (frameCount > 0) {
        text.add(": ");
        text.add(g_crashFrames[0].name);
    }
    log::Facts f = base;
    f.errorText = text.text();
    f.frames = g_crashFrames;
    f.frameCount = frameCount;
    const std::size_t size = log::compose(g_crashLog, sizeof g_crashLog, f);
    log::writeFile(state().logPath, std::string_view(g_crashLog, size));
}

void onAlarm(int) {
    // Naming the call levels hung (a lock held by the crashed code): the log of the first pass stands.
    _exit(1);
}

void onSignal(int sig, siginfo_t*, void* context) {
    if (g_inSignal) _exit(1); // a fault while the log is written
    g_inSignal = 1;
    stack::Addresses addresses;
    stack::capture(addresses, 0);
    if (context) {
        const auto* uc = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
        stack::startAt(addresses, reinterpret_cast<void*>(uc->uc_mcontext.gregs[REG_RIP]));
#elif defined(__aarch64__)
        stack::startAt(addresses, reinterpret_cast<void*>(uc->uc_mcontext.pc));
#endif
    }
    log::Facts f;
    fillCommon(f);
    fillTime(f, std::time(nullptr), state().utcOffset);
    collectSystemFacts(g_crashSystem);
    f.system = &g_crashSystem;
    f.tableCount = log::scanOpenTables(g_crashTables, kMaxTables);
    f.tables = g_crashTables;
    // First pass with system calls only: addresses for names.
    writeCrashLog(sig, stack::unresolved(addresses, g_crashFrames), f);
    // Second pass: names and lines from the debug information, which allocates; bounded in time.
    struct sigaction alarm {};
    alarm.sa_handler = onAlarm;
    sigaction(SIGALRM, &alarm, nullptr);
    ::alarm(5);
    allocatorFigures(f);
    // The work areas are read as the fault left them; should that fault again, the first log stands.
    f.tableCount = log::listOpenTables(g_crashTables, kMaxTables);
    writeCrashLog(sig, stack::resolve(addresses, g_crashFrames), f);
    _exit(1);
}

void installSignals() {
    stack_t alt{};
    alt.ss_sp = g_altStack;
    alt.ss_size = sizeof g_altStack;
    sigaltstack(&alt, nullptr);
    struct sigaction action {};
    action.sa_sigaction = onSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        sigaction(sig, &action, nullptr);
}

// ---- exceptions and the table engine --------------------------------------------------------------------------

QString exceptionText(std::exception_ptr error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
        int status = -1;
        char* name = abi::__cxa_demangle(typeid(e).name(), nullptr, nullptr, &status);
        const QString type = QString::fromLatin1(status == 0 && name ? name : typeid(e).name());
        std::free(name);
        return QStringLiteral("Ausnahme %1: %2").arg(type, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        return QStringLiteral("Ausnahme unbekannten Typs");
    }
    return QStringLiteral("Programmabbruch ohne Ausnahme");
}

void onTerminate() {
    ErrorRecord error;
    error.GENCODE = gencode::kException;
    error.SUBSYSTEM = QStringLiteral("C++");
    error.SUBCODE = 0;
    error.DESCRIPTION = QStringLiteral("std::terminate: ") + exceptionText(std::current_exception());
    ERRORDIALOG(error, 1);
    endProgram();
}

ErrorRecord fromStore(const store::StoreError& e) {
    const QString message = QString::fromStdString(e.message);
    ErrorRecord r;
    r.SUBSYSTEM = QString::fromLatin1(kTableDriver);
    r.DESCRIPTION = message;
    r.FILENAME = QString::fromStdString(e.file);
    r.CANDEFAULT = true; // the engine goes on with its failure result
    r.CANRETRY = e.canRetry;
    auto has = [&](const char* text) { return message.contains(QString::fromUtf8(text), Qt::CaseInsensitive); };
    if (e.open) {
        r.GENCODE = gencode::kOpen;
        if (e.systemCode == EWOULDBLOCK)
            r.OSCODE = kOsSharingViolation;
        else if (e.systemCode == EACCES || e.systemCode == EPERM || e.systemCode == EROFS)
            r.OSCODE = kOsAccessDenied;
    } else if (has("ist gesperrt") || has("nicht sperren")) {
        r.GENCODE = gencode::kOpen;
        r.OSCODE = kOsSharingViolation;
    } else if (has("schreibgeschützt")) {
        r.GENCODE = gencode::kOpen;
        r.OSCODE = kOsAccessDenied;
    } else if (has("nicht öffnen")) {
        r.GENCODE = gencode::kOpen;
    } else if (has("keine Tabelle") || has("abgeschnitten") || has("unbekannte Dateiart") || has("Kopflänge") ||
               has("Satzlänge") || has("fehlt") || has("damaged") || has("unzulässige")) {
        r.GENCODE = gencode::kCorruption;
    } else if (has("angelegt")) {
        r.GENCODE = gencode::kCreate;
    } else if (has("schreiben") || has("geschrieben") || has("write")) {
        r.GENCODE = gencode::kWrite;
    } else if (has("lesen") || has("read")) {
        r.GENCODE = gencode::kRead;
    }
    r.SUBCODE = 1000 + r.GENCODE;
    return r;
}

store::ErrorAction onStoreError(const store::StoreError& e) {
    ErrorRecord r = fromStore(e);
    r.CANRETRY = r.CANRETRY || g_retry != nullptr;
    if (!ERRORDIALOG(r, 3)) return store::ErrorAction::Default;
    // The engine repeats an open itself; any other operation is repeated by the caller's retryable().
    if (e.canRetry) return store::ErrorAction::Retry;
    if (g_retry) g_retry->requested = true;
    return store::ErrorAction::Default;
}

bool eventLoopRunning() {
    return QThread::currentThread()->loopLevel() > 0;
}

std::string titleBytes(const QString& title) {
    return platform::toAnsi(title);
}

} // namespace

// ---- texts ----------------------------------------------------------------------------------------------------

QString ERRORMESSAGE(const ErrorRecord& e) {
    QString text;
    if (e.OSCODE == 0)
        text = e.SEVERITY > 1 ? QStringLiteral("Fehler ") : QStringLiteral("Warnung ");
    else
        text = QStringLiteral("(DOS-Fehler %1) ").arg(e.OSCODE);
    text += e.SUBSYSTEM ? *e.SUBSYSTEM : QStringLiteral("???");
    text += e.SUBCODE ? QStringLiteral("/%1").arg(*e.SUBCODE) : QStringLiteral("/???");
    if (e.DESCRIPTION) text += QStringLiteral("  ") + *e.DESCRIPTION;
    if (!e.FILENAME.isEmpty())
        text += QStringLiteral(": ") + e.FILENAME;
    else if (!e.OPERATION.isEmpty())
        text += QStringLiteral(": ") + e.OPERATION;
    return text;
}

QChar typeLetter(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return QLatin1Char('U');
    if (v.canConvert<CodeBlock>() && v.userType() == qMetaTypeId<CodeBlock>()) return QLatin1Char('B');
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
        return QLatin1Char('C');
    case QMetaType::Bool:
        return QLatin1Char('L');
    case QMetaType::QDate:
        return QLatin1Char('D');
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return QLatin1Char('A');
    case QMetaType::QObjectStar:
        return QLatin1Char('O');
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return QLatin1Char('N');
    default:
        return QLatin1Char('U');
    }
}

namespace {
QString numberText(const QVariant& v) {
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return QString::number(v.toDouble(), 'g', 15);
    return v.toString();
}
} // namespace

QString CGETINFO(const QVariant& v) {
    switch (typeLetter(v).toLatin1()) {
    case 'C':
        return QLatin1Char('"') + v.toString() + QLatin1Char('"');
    case 'O': {
        const QObject* object = v.value<QObject*>();
        return QStringLiteral("Class: ") + QString::fromLatin1(object ? object->metaObject()->className() : "NIL");
    }
    case 'A':
        return QStringLiteral("Len: ") + QStringLiteral("%1").arg(v.toList().size(), 4);
    case 'N':
        return numberText(v);
    case 'D':
        return v.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case 'L':
        return v.toBool() ? QStringLiteral(".t.") : QStringLiteral(".f.");
    case 'B':
        return QStringLiteral("{|| ... }");
    default:
        return {};
    }
}

QString plainText(const QVariant& v) {
    switch (typeLetter(v).toLatin1()) {
    case 'C':
        return v.toString();
    case 'O':
        return QStringLiteral("Object");
    case 'A':
        return QStringLiteral("{ ... }");
    default:
        return CGETINFO(v);
    }
}

// ---- set-up ---------------------------------------------------------------------------------------------------

void ERRORSYS() {
    State& s = state();
    if (s.installed) return;
    s.installed = true;
    stack::prepare();
    char exe[1024];
    const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n > 0) {
        exe[n] = 0;
        std::memcpy(s.programPath, exe, std::size_t(n) + 1);
        struct stat st {};
        if (::stat(exe, &st) == 0) s.programSize = st.st_size;
        if (char* slash = std::strrchr(exe, '/')) *slash = 0;
        // Beside the program until the program folder is known.
        if (!s.folder[0]) setLogFolder(QString::fromLocal8Bit(exe));
    }
    rlimit files{};
    if (::getrlimit(RLIMIT_NOFILE, &files) == 0) s.maxHandles = int(files.rlim_cur);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    s.utcOffset = local.tm_gmtoff;
    std::set_terminate(onTerminate);
    store::setErrorCallback(onStoreError);
    installSignals();
}

void setErrorDialog(DialogHook hook) {
    state().dialog = std::move(hook);
}

void attach(const core::Context& ctx) {
    setRelease(ctx.settings.CRELEASE);
    setLogFolder(ctx.programDir);
}

void setLogFolder(const QString& folder) {
    copyText(state().folder, sizeof state().folder, folder.toLocal8Bit().toStdString());
    refreshLogPath();
}

void setRelease(const QString& release) {
    copyText(state().release, sizeof state().release, platform::toAnsi(release));
    // The offset to UTC may have changed since the start (summer time).
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    state().utcOffset = local.tm_gmtoff;
}

void setWindowTitles(const QStringList& titles) {
    State& s = state();
    const int side = 1 - s.titleSide.load();
    QStringList distinct;
    for (const QString& t : titles)
        if (!distinct.contains(t)) distinct << t;
    std::size_t used = 0;
    int count = 0;
    for (const QString& t : distinct) {
        const std::string bytes = titleBytes(t);
        if (count >= kMaxTitles || used + bytes.size() > sizeof s.titleText[side]) break;
        std::memcpy(s.titleText[side] + used, bytes.data(), bytes.size());
        s.titles[side][count++] = std::string_view(s.titleText[side] + used, bytes.size());
        used += bytes.size();
    }
    s.titleCount[side] = count;
    s.titleSide.store(side);
}

QString logPath() {
    const QDir dir(QString::fromLocal8Bit(state().folder));
    for (const QString& name : dir.entryList(QDir::Files))
        if (name.compare(QStringLiteral("Error.log"), Qt::CaseInsensitive) == 0) return dir.filePath(name);
    return dir.filePath(QStringLiteral("Error.log"));
}

// ---- the handler ----------------------------------------------------------------------------------------------

bool NETERR() {
    return state().netErr;
}

void setNetErr(bool on) {
    state().netErr = on;
}

bool ERRORDIALOG(const ErrorRecord& error, int skipFrames) {
    State& s = state();
    if (error.GENCODE == gencode::kDivZero) return false;
    const bool quietOpen =
        error.GENCODE == gencode::kOpen && (error.OSCODE == kOsSharingViolation || error.OSCODE == kOsAccessDenied);
    if ((quietOpen || error.GENCODE == gencode::kAppendLock) && error.CANDEFAULT) {
        s.netErr = true;
        return false;
    }
    if (s.active) endProgram();
    s.active = true;

    stack::Addresses addresses;
    if (error.GENCODE == gencode::kException && stack::lastThrow().count > 0)
        addresses = stack::lastThrow();
    else
        stack::capture(addresses, skipFrames + 1);
    static stack::Frame frames[stack::kMaxLevels];
    const int frameCount = stack::resolve(addresses, frames);

    const QString errorText = ERRORMESSAGE(error);
    const std::string errorBytes = platform::toAnsi(errorText);
    std::vector<std::string> argTexts;
    std::vector<log::Arg> args;
    if (error.ARGS) {
        for (const QVariant& v : *error.ARGS)
            argTexts.push_back(platform::toAnsi(plainText(v)));
        for (int i = 0; i < error.ARGS->size(); ++i)
            args.push_back({typeLetter(error.ARGS->at(i)).toLatin1(), argTexts[std::size_t(i)]});
    }
    static SystemFacts system;
    collectSystemFacts(system);
    static log::OpenTable tables[kMaxTables];

    log::Facts f;
    fillCommon(f);
    const QDateTime now = QDateTime::currentDateTime();
    f.day = now.date().day();
    f.month = now.date().month();
    f.year = now.date().year();
    f.hour = now.time().hour();
    f.minute = now.time().minute();
    f.second = now.time().second();
    f.errorText = errorBytes;
    if (error.ARGS) {
        f.args = args.data();
        f.argCount = int(args.size());
    }
    f.frames = frames;
    f.frameCount = frameCount;
    f.system = &system;
    f.tables = tables;
    f.tableCount = log::listOpenTables(tables, kMaxTables);
    allocatorFigures(f);
    static char text[kLogCapacity];
    const std::size_t size = log::compose(text, sizeof text, f);
    log::writeFile(logPath().toLocal8Bit().constData(), std::string_view(text, size));

    const int buttons = 1 + (error.CANRETRY ? 1 : 0) + (error.CANDEFAULT ? 1 : 0);
    QStringList stackList;
    for (int i = 0; i < frameCount; ++i)
        stackList
            << QStringLiteral("Aufgerufen von %1(%2)").arg(QString::fromLatin1(frames[i].name)).arg(frames[i].line);
    if (!s.dialog) endProgram();
    const Choice choice =
        s.dialog(DialogRequest{error, QStringLiteral("   Fehlerbeschreibung: ") + errorText, stackList, buttons});
    s.active = false;
    switch (choice) {
    case Choice::Retry:
        // A retry needs the running program; during start-up there is nothing to go back to.
        if (!error.CANRETRY || !eventLoopRunning()) endProgram();
        return true;
    case Choice::Default:
        if (!error.CANDEFAULT) endProgram();
        return false;
    case Choice::End:
        break;
    }
    endProgram();
}

bool retryable(const std::function<bool()>& operation) {
    RetryScope scope;
    scope.outer = g_retry;
    g_retry = &scope;
    bool ok = false;
    for (;;) {
        scope.requested = false;
        ok = operation();
        if (ok || !scope.requested) break;
    }
    g_retry = scope.outer;
    return ok;
}

double divide(double a, double b) {
    if (b == 0) {
        ErrorRecord error;
        error.GENCODE = gencode::kDivZero;
        error.SUBSYSTEM = QStringLiteral("BASE");
        error.SUBCODE = 1340;
        error.DESCRIPTION = QStringLiteral("Division durch Null");
        error.OPERATION = QStringLiteral("/");
        error.ARGS = QVariantList{a, b};
        error.CANDEFAULT = true;
        ERRORDIALOG(error);
        return 0;
    }
    return a / b;
}

bool guardedDelivery(const std::function<bool()>& deliver) {
    try {
        return deliver();
    } catch (...) {
        handleException(std::current_exception());
        return false;
    }
}

void handleException(std::exception_ptr error) {
    ErrorRecord record;
    record.GENCODE = gencode::kException;
    record.SUBSYSTEM = QStringLiteral("C++");
    record.SUBCODE = 0;
    record.DESCRIPTION = exceptionText(error);
    // The event that raised it is dropped; the program goes on with the next one.
    record.CANDEFAULT = true;
    ERRORDIALOG(record, 1);
}

} // namespace diag
