#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "diag/stack.h"
#include "diag/sysinfo.h"

// The text of Error.log: seven sections in the ANSI code page, lines ending in CR LF, one 0x1A at the end. Built
// into fixed storage without allocating, so that the handler of a fatal signal writes it the same way.
namespace diag::log {

// Appends to a fixed buffer; what does not fit is cut off (the end-of-file byte always fits).
class Buffer {
public:
    Buffer(char* data, std::size_t capacity) : m_data(data), m_capacity(capacity) {}
    void add(std::string_view text);
    void add(char c);
    // A whole number, right-aligned in `width` characters (0: no padding).
    void number(std::int64_t value, int width = 0);
    // Digits with thousands commas: "9,999,999".
    void grouped(std::int64_t value);
    void padded(std::string_view text, std::size_t width);
    void repeat(char c, std::size_t count);
    void line(std::string_view text = {}) {
        add(text);
        add("\r\n");
    }
    void endOfFile();
    std::string_view text() const { return {m_data, m_size}; }

private:
    char* m_data;
    std::size_t m_capacity;
    std::size_t m_size = 0;
};

struct Arg {
    char type;
    std::string_view text;
};

// One open table. From a work area of the program everything is known; a table file the process holds outside
// the work areas shows its name as alias and the record count of its header only.
struct OpenTable {
    struct Order {
        char key[112];
        char tag[16];
        bool controlling;
    };
    struct Relation {
        char key[112];
        char child[32];
    };
    char alias[64];
    char driver[16];
    char file[512];
    bool fromArea;
    bool current;
    std::uint32_t recNo;
    std::uint32_t recCount;
    bool countKnown;
    bool bof, eof;
    Order orders[15];
    int orderCount;
    Relation relations[8];
    int relationCount;
};

struct Facts {
    std::string_view release;
    std::string_view programPath;
    std::int64_t programSize = 0;
    int maxHandles = 0;
    int day = 1, month = 1, year = 1970, hour = 0, minute = 0, second = 0;
    std::string_view errorText;
    const Arg* args = nullptr;
    int argCount = -1; // -1: the error has no argument list
    const stack::Frame* frames = nullptr;
    int frameCount = 0;
    const SystemFacts* system = nullptr;
    const std::string_view* titles = nullptr;
    int titleCount = 0;
    const OpenTable* tables = nullptr;
    int tableCount = 0;
    std::int64_t memoryInUse = 0;
    std::int64_t memoryPeak = 0;
};

// Sections 1 to 3 and 4 to 7.
void header(Buffer& out, const Facts& facts);
void rest(Buffer& out, const Facts& facts);

// The tables the process holds open: every .dbf among its file descriptors. Signal-safe.
int scanOpenTables(OpenTable* tables, int capacity);
// The program's open work areas, then the table files held outside them. Allocates nothing; reads the sessions
// as they are, so a handler of a fatal signal calls it only once its own log is safe.
int listOpenTables(OpenTable* tables, int capacity);

// Writes the bytes to the file, replacing it; errors are ignored. Signal-safe.
bool writeFile(const char* path, std::string_view bytes);

// The whole log at once, for the dialog's path and the tests.
std::size_t compose(char* data, std::size_t capacity, const Facts& facts);

} // namespace diag::log
