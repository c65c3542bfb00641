// Times the table engine against SQLite (in memory and on disk) on the same work, each engine in a child process of
// its own so that its peak memory can be read, and prints our time divided by SQLite's for every step.
//
// The work is shaped like a learner's table: 22 fields, one record per question; a FOR-filtered tag on the key
// "str(RICHTIG)+str(ANTWORTEN)+ZULETZT" for one class and theme; seeks and a scan in that order; counter updates.

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "store/format.h"
#include "store/workarea.h"

namespace {

constexpr int kTheme = 3;

struct Row {
    std::string fragenr;
    int thema;
    int klassen[13];
    std::string wert;
    int antworten, richtig, falsch;
    std::string zuletzt;
    std::string bitmap;
};

const char* const kClassFields[13] = {"KLASSE_A", "KLASSE_A1", "KLASSE_M",  "KLASSE_MO", "KLASSE_K",
                                      "KLASSE_B", "KLASSE_C",  "KLASSE_C1", "KLASSE_D",  "KLASSE_D1",
                                      "KLASSE_CE", "KLASSE_L", "KLASSE_T"};

std::vector<Row> makeRows(int n) {
    std::mt19937 rng(20071);
    std::vector<Row> rows(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        Row& r = rows[static_cast<size_t>(i)];
        char nr[16];
        std::snprintf(nr, sizeof nr, "%d.%d.%02d-%03d", 1 + i % 2, 1 + (i / 2) % 8, (i / 16) % 100, (i / 1600) % 1000);
        r.fragenr = nr;
        r.thema = 1 + (i / 2) % 8;
        for (int& k : r.klassen)
            k = rng() % 10 < 7 ? static_cast<int>(2 + rng() % 4) : 0;
        r.wert = rng() % 10 == 0 ? std::to_string(rng() % 100) : std::string();
        r.antworten = static_cast<int>(rng() % 21);
        r.richtig = r.antworten ? static_cast<int>(rng() % static_cast<unsigned>(r.antworten + 1)) : 0;
        r.falsch = r.antworten - r.richtig;
        char sec[3];
        std::snprintf(sec, sizeof sec, "%02u", static_cast<unsigned>(rng() % 60));
        r.zuletzt = r.antworten ? sec : "";
        r.bitmap = rng() % 5 == 0 ? r.fragenr.substr(0, 1) + r.fragenr.substr(2, 1) + r.fragenr.substr(4, 2) +
                                        r.fragenr.substr(6, 4)
                                  : "KEINBILD";
    }
    return rows;
}

struct Update {
    std::uint32_t recno;
    std::string zuletzt;
};

std::vector<Update> makeUpdates(int n, int count) {
    std::mt19937 rng(4711);
    std::vector<Update> ups(static_cast<size_t>(count));
    for (auto& u : ups) {
        u.recno = 1 + static_cast<std::uint32_t>(rng() % static_cast<unsigned>(n));
        char sec[3];
        std::snprintf(sec, sizeof sec, "%02u", static_cast<unsigned>(rng() % 60));
        u.zuletzt = sec;
    }
    return ups;
}

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

enum Step { kFill, kIndex, kSeek, kScan, kUpdate, kClose, kSteps };
const char* const kStepNames[kSteps] = {"fill 100k records", "build FOR-filtered tag", "1000 partial-key seeks",
                                        "scan the tag in order", "10k counter updates", "close / commit"};

struct Result {
    double ms[kSteps] = {};
    long checksum = 0; // the same for every engine, or the engines did not do the same work
};

// --- Our engine

Result runOurs(const std::vector<Row>& rows, const std::vector<Update>& ups, const std::filesystem::path& dir) {
    Result res;
    store::Session session;
    std::vector<store::FieldDef> fields = {{"FRAGENR", store::FieldType::Character, 12, 0},
                                           {"THEMA", store::FieldType::Numeric, 4, 0}};
    for (const char* k : kClassFields)
        fields.push_back({k, store::FieldType::Numeric, 1, 0});
    fields.push_back({"MC_WERT", store::FieldType::Character, 10, 0});
    fields.push_back({"MC_WERT2", store::FieldType::Character, 10, 0});
    fields.push_back({"ANTWORTEN", store::FieldType::Numeric, 4, 0});
    fields.push_back({"RICHTIG", store::FieldType::Numeric, 4, 0});
    fields.push_back({"FALSCH", store::FieldType::Numeric, 4, 0});
    fields.push_back({"ZULETZT", store::FieldType::Character, 2, 0});
    fields.push_back({"BITMAP", store::FieldType::Character, 8, 0});

    auto t0 = Clock::now();
    store::WorkArea* loc = session.create(dir / "LOCAL1.DBF", fields, "DLOC");
    if (!loc)
        std::exit(2);
    store::Table& t = loc->table();
    const int fFragenr = t.fieldIndex("FRAGENR"), fThema = t.fieldIndex("THEMA"), fWert = t.fieldIndex("MC_WERT"),
              fAntw = t.fieldIndex("ANTWORTEN"), fRicht = t.fieldIndex("RICHTIG"), fFalsch = t.fieldIndex("FALSCH"),
              fZul = t.fieldIndex("ZULETZT"), fBitmap = t.fieldIndex("BITMAP");
    int fKl[13];
    for (int k = 0; k < 13; ++k)
        fKl[k] = t.fieldIndex(kClassFields[k]);
    for (const Row& r : rows) {
        t.appendBlank();
        t.replace(fFragenr, store::Value::text(r.fragenr));
        t.replace(fThema, store::Value::number(r.thema));
        for (int k = 0; k < 13; ++k)
            t.replace(fKl[k], store::Value::number(r.klassen[k]));
        t.replace(fWert, store::Value::text(r.wert));
        t.replace(fAntw, store::Value::number(r.antworten));
        t.replace(fRicht, store::Value::number(r.richtig));
        t.replace(fFalsch, store::Value::number(r.falsch));
        t.replace(fZul, store::Value::text(r.zuletzt));
        t.replace(fBitmap, store::Value::text(r.bitmap));
    }
    t.flush();
    res.ms[kFill] = msSince(t0);

    session.setVariable("nI_THEMA", store::Value::number(kTheme));
    t0 = Clock::now();
    loc->indexOn("str(RICHTIG)+str(ANTWORTEN)+ZULETZT", dir / "LOCAL.CDX", "LOCAL",
                 "KLASSE_B > 0 .and. THEMA = nI_THEMA");
    res.ms[kIndex] = msSince(t0);

    t0 = Clock::now();
    for (int i = 0; i < 1000; ++i) {
        const std::string key = store::strNumber(i % 21, 4) + store::strNumber((i * 7) % 21, 4);
        if (loc->seek(key))
            res.checksum += static_cast<long>(loc->recNo());
    }
    res.ms[kSeek] = msSince(t0);

    t0 = Clock::now();
    for (loc->goTop(); !loc->eof(); loc->skip())
        res.checksum += t.rawField(fFragenr)[9] + static_cast<long>(loc->recNo() % 7);
    res.ms[kScan] = msSince(t0);

    t0 = Clock::now();
    for (const Update& u : ups) {
        loc->goTo(u.recno);
        t.replace(fAntw, store::Value::number(t.fieldValue(fAntw).asNumber() + 1));
        t.replace(fRicht, store::Value::number(t.fieldValue(fRicht).asNumber() + 1));
        t.replace(fZul, store::Value::text(u.zuletzt));
    }
    res.ms[kUpdate] = msSince(t0);
    // What the updates did to the order: its first entries, the same in every engine.
    int n = 0;
    for (loc->goTop(); !loc->eof() && n < 50; loc->skip(), ++n)
        res.checksum += static_cast<long>(loc->recNo()) * n;

    t0 = Clock::now();
    session.closeAll();
    res.ms[kClose] = msSince(t0);
    return res;
}

// --- SQLite

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite %s: %s\n", what, sqlite3_errmsg(db));
        std::exit(3);
    }
}

Result runSqlite(const std::vector<Row>& rows, const std::vector<Update>& ups, const std::string& file) {
    Result res;
    sqlite3* db = nullptr;
    check(sqlite3_open(file.c_str(), &db), db, "open");
    auto exec = [&](const char* sql) { check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), db, sql); };
    std::string create = "CREATE TABLE local(fragenr TEXT, thema INTEGER";
    for (const char* k : kClassFields)
        create += std::string(", ") + k + " INTEGER";
    create += ", mc_wert TEXT, mc_wert2 TEXT, antworten INTEGER, richtig INTEGER, falsch INTEGER, zuletzt TEXT, "
              "bitmap TEXT)";

    auto t0 = Clock::now();
    exec(create.c_str());
    exec("BEGIN");
    sqlite3_stmt* ins = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO local VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &ins,
                             nullptr),
          db, "prepare insert");
    for (const Row& r : rows) {
        int c = 1;
        sqlite3_bind_text(ins, c++, r.fragenr.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(ins, c++, r.thema);
        for (int k : r.klassen)
            sqlite3_bind_int(ins, c++, k);
        sqlite3_bind_text(ins, c++, r.wert.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(ins, c++, "", -1, SQLITE_STATIC);
        sqlite3_bind_int(ins, c++, r.antworten);
        sqlite3_bind_int(ins, c++, r.richtig);
        sqlite3_bind_int(ins, c++, r.falsch);
        sqlite3_bind_text(ins, c++, r.zuletzt.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(ins, c++, r.bitmap.c_str(), -1, SQLITE_STATIC);
        check(sqlite3_step(ins), db, "insert");
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    exec("COMMIT");
    res.ms[kFill] = msSince(t0);

    t0 = Clock::now();
    exec("CREATE INDEX ix ON local(richtig, antworten, zuletzt) WHERE klasse_b > 0 AND thema = 3");
    res.ms[kIndex] = msSince(t0);

    const char* const where = " FROM local WHERE klasse_b > 0 AND thema = 3";
    sqlite3_stmt* sk = nullptr;
    check(sqlite3_prepare_v2(db,
                             (std::string("SELECT rowid") + where +
                              " AND richtig = ? AND antworten = ? ORDER BY richtig, antworten, zuletzt, rowid LIMIT 1")
                                 .c_str(),
                             -1, &sk, nullptr),
          db, "prepare seek");
    t0 = Clock::now();
    for (int i = 0; i < 1000; ++i) {
        sqlite3_bind_int(sk, 1, i % 21);
        sqlite3_bind_int(sk, 2, (i * 7) % 21);
        if (sqlite3_step(sk) == SQLITE_ROW)
            res.checksum += sqlite3_column_int(sk, 0);
        sqlite3_reset(sk);
    }
    res.ms[kSeek] = msSince(t0);
    sqlite3_finalize(sk);

    const std::string order = std::string(where) + " ORDER BY richtig, antworten, zuletzt, rowid";
    sqlite3_stmt* sc = nullptr;
    check(sqlite3_prepare_v2(db, ("SELECT fragenr, rowid" + order).c_str(), -1, &sc, nullptr), db, "prepare scan");
    t0 = Clock::now();
    while (sqlite3_step(sc) == SQLITE_ROW)
        res.checksum += reinterpret_cast<const char*>(sqlite3_column_text(sc, 0))[9] + sqlite3_column_int(sc, 1) % 7;
    res.ms[kScan] = msSince(t0);
    sqlite3_finalize(sc);

    sqlite3_stmt* up = nullptr;
    check(sqlite3_prepare_v2(db,
                             "UPDATE local SET antworten = antworten + 1, richtig = richtig + 1, zuletzt = ? "
                             "WHERE rowid = ?",
                             -1, &up, nullptr),
          db, "prepare update");
    t0 = Clock::now();
    exec("BEGIN");
    for (const Update& u : ups) {
        sqlite3_bind_text(up, 1, u.zuletzt.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(up, 2, static_cast<int>(u.recno));
        check(sqlite3_step(up), db, "update");
        sqlite3_reset(up);
    }
    exec("COMMIT");
    res.ms[kUpdate] = msSince(t0);
    sqlite3_finalize(up);

    sqlite3_stmt* first = nullptr;
    check(sqlite3_prepare_v2(db, ("SELECT rowid" + order + " LIMIT 50").c_str(), -1, &first, nullptr), db, "first");
    for (int n = 0; sqlite3_step(first) == SQLITE_ROW; ++n)
        res.checksum += static_cast<long>(sqlite3_column_int(first, 0)) * n;
    sqlite3_finalize(first);

    t0 = Clock::now();
    sqlite3_close(db);
    res.ms[kClose] = msSince(t0);
    return res;
}

struct Measured {
    Result result;
    long peakKiB = 0;
};

// Runs one engine in a child process; the child sends its result through a pipe.
template <class F> Measured inChild(F work) {
    int fds[2];
    if (pipe(fds) != 0)
        std::exit(4);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        Result r = work();
        if (write(fds[1], &r, sizeof r) != static_cast<ssize_t>(sizeof r))
            _exit(5);
        _exit(0);
    }
    close(fds[1]);
    Measured m;
    if (read(fds[0], &m.result, sizeof m.result) != static_cast<ssize_t>(sizeof m.result)) {
        std::fprintf(stderr, "engine run failed\n");
        std::exit(6);
    }
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    m.peakKiB = usage.ru_maxrss;
    return m;
}

} // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const auto rows = makeRows(n);
    const auto ups = makeUpdates(n, 10000);
    const auto dir = std::filesystem::temp_directory_path() / ("lw-bench-" + std::to_string(getpid()));
    if (argc > 3 && std::string(argv[3]) == "profile") {
        // Our engine alone, repeatedly, in this process: for a profiler.
        for (int i = 0; i < runs; ++i) {
            std::filesystem::remove_all(dir);
            std::filesystem::create_directories(dir);
            runOurs(rows, ups, dir);
        }
        std::filesystem::remove_all(dir);
        return 0;
    }

    // Best of several runs per engine, each on fresh files.
    auto best = [&](auto run) {
        Measured b;
        for (int i = 0; i < runs; ++i) {
            std::filesystem::remove_all(dir);
            std::filesystem::create_directories(dir);
            Measured m = inChild(run);
            if (i == 0) {
                b = m;
                continue;
            }
            for (int s = 0; s < kSteps; ++s)
                b.result.ms[s] = std::min(b.result.ms[s], m.result.ms[s]);
            b.peakKiB = std::max(b.peakKiB, m.peakKiB);
        }
        return b;
    };
    const Measured ours = best([&] { return runOurs(rows, ups, dir); });
    const Measured mem = best([&] { return runSqlite(rows, ups, ":memory:"); });
    const Measured disk = best([&] { return runSqlite(rows, ups, (dir / "bench.sqlite").string()); });
    std::filesystem::remove_all(dir);

    std::printf("%d records, 10000 updates, best of %d runs (ms)\n\n", n, runs);
    std::printf("%-26s %10s %12s %12s %12s %12s\n", "step", "ours", "sqlite-mem", "sqlite-disk", "ours/mem",
                "ours/disk");
    for (int s = 0; s < kSteps; ++s)
        std::printf("%-26s %10.2f %12.2f %12.2f %12.2f %12.2f\n", kStepNames[s], ours.result.ms[s], mem.result.ms[s],
                    disk.result.ms[s], ours.result.ms[s] / mem.result.ms[s], ours.result.ms[s] / disk.result.ms[s]);
    std::printf("%-26s %10ld %12ld %12ld %12.2f %12.2f\n", "peak memory (KiB)", ours.peakKiB, mem.peakKiB,
                disk.peakKiB, double(ours.peakKiB) / double(mem.peakKiB), double(ours.peakKiB) / double(disk.peakKiB));
    const bool same = ours.result.checksum == mem.result.checksum && mem.result.checksum == disk.result.checksum;
    std::printf("\nsame results in all engines: %s (%ld / %ld / %ld)\n", same ? "yes" : "NO", ours.result.checksum,
                mem.result.checksum, disk.result.checksum);
    return same ? 0 : 1;
}
