#include "diag/errorlog.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstring>

#include "store/workarea.h"

namespace diag::log {

namespace {
// Copies up to size - 1 bytes and terminates.
void copyZ(char* out, std::size_t size, std::string_view text) {
    const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(out, text.data(), n);
    out[n] = 0;
}
} // namespace

void Buffer::add(std::string_view text) {
    // One byte stays free for the end-of-file mark.
    const std::size_t room = m_capacity - 1 - m_size;
    const std::size_t n = text.size() < room ? text.size() : room;
    std::memcpy(m_data + m_size, text.data(), n);
    m_size += n;
}

void Buffer::add(char c) {
    add(std::string_view(&c, 1));
}

void Buffer::number(std::int64_t value, int width) {
    char digits[24];
    int n = 0;
    const bool negative = value < 0;
    std::uint64_t v = negative ? std::uint64_t(-(value + 1)) + 1 : std::uint64_t(value);
    do {
        digits[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    if (negative) digits[n++] = '-';
    for (int i = n; i < width; ++i)
        add(' ');
    while (n) add(digits[--n]);
}

void Buffer::grouped(std::int64_t value) {
    char digits[32];
    int n = 0, count = 0;
    std::uint64_t v = value < 0 ? 0 : std::uint64_t(value);
    do {
        if (count && count % 3 == 0) digits[n++] = ',';
        digits[n++] = char('0' + v % 10);
        v /= 10;
        ++count;
    } while (v);
    while (n) add(digits[--n]);
}

void Buffer::padded(std::string_view text, std::size_t width) {
    add(text);
    if (text.size() < width) repeat(' ', width - text.size());
}

void Buffer::repeat(char c, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        add(c);
}

void Buffer::endOfFile() {
    if (m_size < m_capacity) m_data[m_size++] = '\x1A';
}

namespace {

void two(Buffer& out, int value) {
    out.add(char('0' + (value / 10) % 10));
    out.add(char('0' + value % 10));
}

void megabytes(Buffer& out, std::string_view label, std::uint64_t bytes) {
    out.add(label);
    out.number(std::int64_t(bytes >> 20));
    out.line(" MB");
}

void stackSection(Buffer& out, const Facts& f) {
    out.line();
    out.line("Stack Aufrufe");
    out.line("=============");
    for (int i = 0; i < f.frameCount; ++i) {
        out.add("   Aufgerufen von ");
        out.add(f.frames[i].name);
        out.add('(');
        out.number(f.frames[i].line);
        out.line(")");
    }
}

void systemSection(Buffer& out, const Facts& f) {
    static const SystemFacts none{};
    const SystemFacts& s = f.system ? *f.system : none;
    out.line();
    out.line("System-Informationen");
    out.line("====================");
    out.add("CPU Type: ");
    out.add(s.cpuType);
    out.line(" ");
    out.add("CPU Name: ");
    out.line(s.cpuName);
    out.line();
    out.line("Hardware Speicher: ");
    megabytes(out, "Total Physical: ", s.memory[0]);
    megabytes(out, "Verf\xFCgbar Physical: ", s.memory[1]);
    megabytes(out, "Total Auslagerung: ", s.memory[2]);
    megabytes(out, "Verf\xFCgbar Auslagerung: ", s.memory[3]);
    megabytes(out, "Total virtuell: ", s.memory[4]);
    megabytes(out, "Verf\xFCgbar virtuell: ", s.memory[5]);
    out.line();
    out.line("Betriebssystem: ");
    out.add("MsDos Version: ");
    out.number(s.versionRecord);
    out.line();
    out.add("Windows Version: ");
    out.line(s.systemName);
    out.add("Windows Versions-Nr.: ");
    out.line(s.versionNumber);
    out.line();
    // Resources and the task count are not reported by this platform.
    out.line("Freie System Resourcen: % 0");
    out.line("      GDI    Resourcen: % 0");
    out.line("      User   Resourcen: % 0");
    out.line();
    out.add("Anzahl laufender Windows-Applikationen: ");
    out.number(0, 3);
    out.line();
    for (int i = 0; i < f.titleCount; ++i) {
        out.add("    ");
        out.number(i + 1, 3);
        out.add(' ');
        out.line(f.titles[i]);
    }
}

void variableSection(Buffer& out, const Facts& f) {
    out.line();
    out.line("Benutzte Variablen");
    out.line("==================");
    out.line("   Prozedur      Type    Wert");
    out.line("   ==========================");
    // Parameters and locals of compiled code are not observable at run time; each level shows its name only.
    for (int i = 0; i < f.frameCount; ++i) {
        out.add("   ");
        out.line(f.frames[i].name);
    }
}

void flag(Buffer& out, bool on) {
    out.add(on ? ".t." : ".f.");
}

void tableSection(Buffer& out, const Facts& f) {
    out.line();
    out.line("Linked RDDs");
    out.line("===========");
    out.add("   ");
    out.line(store::kDriverName);
    out.line();
    out.line("Benutzte DataBanken");
    out.line("===================");
    for (int i = 0; i < f.tableCount; ++i) {
        const OpenTable& t = f.tables[i];
        out.line();
        out.number(i + 1, 3);
        out.add(": ");
        out.add(t.current ? "=> " : "   ");
        out.padded(t.alias, 15);
        out.repeat(' ', 20);
        out.add("RddName: ");
        out.line(t.driver);
        out.line("     ==============================");
        out.line("     Satznr.  RecCount    BOF   EOF");
        out.add("    ");
        // A table held outside the work areas has no record pointer; only its header's count is known.
        if (t.fromArea)
            out.number(t.recNo, 5);
        else
            out.repeat(' ', 5);
        out.repeat(' ', 6);
        if (t.countKnown)
            out.number(t.recCount, 5);
        else
            out.repeat(' ', 5);
        out.repeat(' ', 6);
        if (t.fromArea) {
            flag(out, t.bof);
            out.repeat(' ', 3);
            flag(out, t.eof);
        }
        out.line();
        out.line();
        out.add("     Benutzte Indexe ");
        out.repeat(' ', 23);
        out.line("TagName");
        for (int k = 0; k < t.orderCount; ++k) {
            out.repeat(' ', 8);
            out.add(t.orders[k].controlling ? "=> " : "   ");
            out.padded(t.orders[k].key, 35);
            out.line(t.orders[k].tag);
        }
        out.line();
        out.line("     Benutzte Relationen");
        for (int k = 0; k < t.relationCount; ++k) {
            out.repeat(' ', 8);
            out.number(k + 1, 10);
            out.add(": TO ");
            out.add(t.relations[k].key);
            out.add(" INTO ");
            out.line(t.relations[k].child);
        }
    }
}

void memorySection(Buffer& out, const Facts& f) {
    out.line();
    out.line("Speicher-Analyse");
    out.line("================");
    out.line("   Static memory:");
    out.line("      data segment: 64k");
    out.line("      Initial size:       0 bytes  (SYMP=0, Stack=0, Heap=0)");
    // Module-level variables are not counted in compiled code: S is 0.
    out.add("      Tarvex Stack:      ");
    out.number(65535);
    out.line(" bytes");
    out.line("      0 Static variables: 0 bytes");
    out.line();
    out.line("   Dynamic memory consume:");
    out.add("      Actual  Value: ");
    out.number(f.memoryInUse, 10);
    out.line(" bytes");
    out.add("      Highest Value: ");
    out.number(f.memoryPeak, 10);
    out.line(" bytes");
}

} // namespace

void header(Buffer& out, const Facts& f) {
    out.line(f.release);
    out.repeat('=', f.release.size());
    out.line();
    out.add("   Pfad und Name: ");
    out.line(f.programPath);
    out.add("   Groesse: ");
    out.grouped(f.programSize);
    out.line(" Bytes");
    out.add("   Max Datei-Handles verfuegbar: ( SetHandleCount() ) ");
    out.number(f.maxHandles, 3);
    out.line();
    out.add("   Zeitpunkt des Fehlers: ");
    two(out, f.day);
    out.add('.');
    two(out, f.month);
    out.add('.');
    out.number(f.year);
    out.add(", ");
    two(out, f.hour);
    out.add(':');
    two(out, f.minute);
    out.add(':');
    two(out, f.second);
    out.line();
    out.add("   Fehlerbeschreibung: ");
    out.line(f.errorText);
    if (f.argCount >= 0) {
        out.line("   Args:");
        for (int i = 0; i < f.argCount; ++i) {
            out.add("     [");
            out.number(i + 1, 4);
            out.add("] = ");
            out.add(f.args[i].type);
            out.add("   ");
            out.line(f.args[i].text);
        }
    }
    stackSection(out, f);
    systemSection(out, f);
}

void rest(Buffer& out, const Facts& f) {
    variableSection(out, f);
    tableSection(out, f);
    memorySection(out, f);
}

std::size_t compose(char* data, std::size_t capacity, const Facts& facts) {
    Buffer out(data, capacity);
    header(out, facts);
    rest(out, facts);
    out.endOfFile();
    return out.text().size();
}

int scanOpenTables(OpenTable* tables, int capacity) {
    const int dir = ::open("/proc/self/fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return 0;
    int count = 0;
    alignas(8) char entries[4096];
    for (;;) {
        const long n = ::syscall(SYS_getdents64, dir, entries, sizeof entries);
        if (n <= 0) break;
        for (long at = 0; at < n;) {
            struct Entry {
                std::uint64_t ino;
                std::int64_t off;
                unsigned short reclen;
                unsigned char type;
                char name[1];
            };
            const auto* e = reinterpret_cast<const Entry*>(entries + at);
            at += e->reclen;
            if (e->name[0] < '0' || e->name[0] > '9' || count >= capacity) continue;
            char link[32] = "/proc/self/fd/";
            std::strncat(link, e->name, 16);
            char target[512];
            const ssize_t length = ::readlink(link, target, sizeof target - 1);
            if (length < 5) continue;
            target[length] = 0;
            const char* ext = target + length - 4;
            if (!(ext[0] == '.' && (ext[1] | 0x20) == 'd' && (ext[2] | 0x20) == 'b' && (ext[3] | 0x20) == 'f'))
                continue;
            OpenTable& t = tables[count++];
            t = OpenTable{};
            copyZ(t.file, sizeof t.file, std::string_view(target, std::size_t(length)));
            copyZ(t.driver, sizeof t.driver, store::kDriverName);
            const char* base = std::strrchr(target, '/');
            base = base ? base + 1 : target;
            std::size_t k = 0;
            for (; base + k < ext && k + 1 < sizeof t.alias; ++k) {
                const char c = base[k];
                t.alias[k] = (c >= 'a' && c <= 'z') ? char(c - 32) : c;
            }
            t.alias[k] = 0;
            unsigned char head[8];
            const int fd = int(std::strtol(e->name, nullptr, 10));
            t.countKnown = ::pread(fd, head, sizeof head, 0) == ssize_t(sizeof head);
            t.recCount =
                t.countKnown ? std::uint32_t(head[4] | head[5] << 8 | head[6] << 16 | std::uint32_t(head[7]) << 24) : 0;
        }
    }
    ::close(dir);
    return count;
}

namespace {
struct Listing {
    OpenTable* tables;
    int capacity;
    int count;
};

void takeArea(const store::AreaListing& a, void* context) {
    auto& out = *static_cast<Listing*>(context);
    if (out.count >= out.capacity) return;
    OpenTable& t = out.tables[out.count++];
    t = OpenTable{};
    copyZ(t.alias, sizeof t.alias, a.alias);
    copyZ(t.driver, sizeof t.driver, a.driver);
    copyZ(t.file, sizeof t.file, a.file);
    t.fromArea = true;
    t.current = a.current;
    t.recNo = a.recNo;
    t.recCount = a.recCount;
    t.countKnown = true;
    t.bof = a.bof;
    t.eof = a.eof;
    for (int i = 0; i < a.orderCount; ++i) {
        copyZ(t.orders[i].key, sizeof t.orders[i].key, a.orders[i].key);
        copyZ(t.orders[i].tag, sizeof t.orders[i].tag, a.orders[i].tag);
        t.orders[i].controlling = a.orders[i].controlling;
    }
    t.orderCount = a.orderCount;
    for (int i = 0; i < a.relationCount; ++i) {
        copyZ(t.relations[i].key, sizeof t.relations[i].key, a.relations[i].key);
        copyZ(t.relations[i].child, sizeof t.relations[i].child, a.relations[i].child);
    }
    t.relationCount = a.relationCount;
}
} // namespace

int listOpenTables(OpenTable* tables, int capacity) {
    Listing listing{tables, capacity, 0};
    store::listOpenAreas(takeArea, &listing);
    const int areas = listing.count;
    // Then the files the process holds that no work area names (a table opened on its own).
    const int scanned = scanOpenTables(tables + areas, capacity - areas);
    int count = areas;
    for (int i = 0; i < scanned; ++i) {
        bool known = false;
        for (int k = 0; k < areas && !known; ++k)
            known = std::strcmp(tables[k].file, tables[areas + i].file) == 0;
        if (!known) {
            if (count != areas + i) tables[count] = tables[areas + i];
            ++count;
        }
    }
    return count;
}

bool writeFile(const char* path, std::string_view bytes) {
    const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += std::size_t(n);
    }
    ::close(fd);
    return done == bytes.size();
}

} // namespace diag::log
