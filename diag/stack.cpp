#include "diag/stack.h"

#include <cstdint>
#include <cstring>
#include <cxxabi.h>
#include <dlfcn.h>
#include <elfutils/libdwfl.h>
#include <execinfo.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>

namespace diag::stack {

namespace {

// libdw is opened when a call stack is first named (an error, or the second pass of a crash), not with the
// program: it and the compression libraries under it would otherwise stay mapped for the whole session.
struct Libdw {
    decltype(&dwfl_begin) begin = nullptr;
    decltype(&dwfl_report_begin) reportBegin = nullptr;
    decltype(&dwfl_linux_proc_report) procReport = nullptr;
    decltype(&dwfl_report_end) reportEnd = nullptr;
    decltype(&dwfl_end) end = nullptr;
    decltype(&dwfl_addrmodule) addrModule = nullptr;
    decltype(&dwfl_module_addrname) addrName = nullptr;
    decltype(&dwfl_module_getsrc) getSrc = nullptr;
    decltype(&dwfl_lineinfo) lineInfo = nullptr;
    Dwfl_Callbacks callbacks{};

    template <typename F>
    static bool get(void* library, F& function, const char* name) {
        function = reinterpret_cast<F>(dlsym(library, name));
        return function != nullptr;
    }

    bool load() {
        void* library = dlopen("libdw.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!library) return false;
        return get(library, begin, "dwfl_begin") && get(library, reportBegin, "dwfl_report_begin") &&
               get(library, procReport, "dwfl_linux_proc_report") && get(library, reportEnd, "dwfl_report_end") &&
               get(library, end, "dwfl_end") && get(library, addrModule, "dwfl_addrmodule") &&
               get(library, addrName, "dwfl_module_addrname") && get(library, getSrc, "dwfl_module_getsrc") &&
               get(library, lineInfo, "dwfl_lineinfo") &&
               get(library, callbacks.find_elf, "dwfl_linux_proc_find_elf") &&
               get(library, callbacks.find_debuginfo, "dwfl_standard_find_debuginfo");
    }
};

Libdw g_libdw;
Dwfl* g_dwfl = nullptr;
std::once_flag g_prepared, g_opened;

// The debug information of the process as it is mapped now; null without libdw.
void openDebugInformation() {
    std::call_once(g_opened, [] {
        if (!g_libdw.load()) return;
        g_dwfl = g_libdw.begin(&g_libdw.callbacks);
        if (!g_dwfl) return;
        g_libdw.reportBegin(g_dwfl);
        if (g_libdw.procReport(g_dwfl, getpid()) != 0 || g_libdw.reportEnd(g_dwfl, nullptr, nullptr) != 0) {
            g_libdw.end(g_dwfl);
            g_dwfl = nullptr;
        }
    });
}

void copyText(char* out, std::size_t size, const char* text) {
    std::size_t n = 0;
    for (; text[n] && n + 1 < size; ++n)
        out[n] = text[n];
    out[n] = 0;
}

// "ns::Class::method(int) const" becomes "ns::Class::method": the log puts the line in the parentheses.
void withoutParameters(char* name) {
    int depth = 0;
    for (char* c = name; *c; ++c) {
        if (*c == '<' || *c == '{' || *c == '[') ++depth;
        if (*c == '>' || *c == '}' || *c == ']') --depth;
        if (*c == '(' && depth == 0 && c != name) {
            *c = 0;
            return;
        }
    }
}

void hex(char* out, std::uintptr_t value) {
    static const char digits[] = "0123456789abcdef";
    char tmp[24];
    int n = 0;
    do {
        tmp[n++] = digits[value & 15];
        value >>= 4;
    } while (value && n < 20);
    int i = 0;
    out[i++] = '0';
    out[i++] = 'x';
    while (n) out[i++] = tmp[--n];
    out[i] = 0;
}

struct ThrowStack {
    Addresses addresses;
};
thread_local ThrowStack t_throw;

} // namespace

void prepare() {
    std::call_once(g_prepared, [] {
        // The first backtrace loads the unwinder library; later calls (in a signal handler) must not.
        void* warm[2];
        backtrace(warm, 2);
    });
}

void capture(Addresses& out, int skip) {
    void* all[kMaxLevels + 16 + 32];
    const int total = backtrace(all, static_cast<int>(sizeof all / sizeof all[0]));
    // Level 0 is this function itself.
    const int first = std::min(total, 1 + std::max(skip, 0));
    out.count = 0;
    for (int i = first; i < total && out.count < kMaxLevels; ++i)
        out.pc[out.count++] = all[i];
}

void startAt(Addresses& addresses, void* pc) {
    for (int i = 0; i < addresses.count; ++i) {
        if (addresses.pc[i] == pc) {
            std::memmove(addresses.pc, addresses.pc + i, sizeof(void*) * std::size_t(addresses.count - i));
            addresses.count -= i;
            return;
        }
    }
    // The unwinder did not pass the faulting instruction (a jump through a null function pointer): put it first.
    if (addresses.count < kMaxLevels) {
        std::memmove(addresses.pc + 1, addresses.pc, sizeof(void*) * std::size_t(addresses.count));
        addresses.pc[0] = pc;
        ++addresses.count;
    }
}

int resolve(const Addresses& addresses, Frame* frames) {
    prepare();
    openDebugInformation();
    int n = 0;
    for (int i = 0; i < addresses.count && n < kMaxLevels; ++i) {
        Frame& f = frames[n++];
        f.line = 0;
        hex(f.name, reinterpret_cast<std::uintptr_t>(addresses.pc[i]));
        // A return address points behind its call; the call itself lies one byte before.
        const Dwarf_Addr at = reinterpret_cast<Dwarf_Addr>(addresses.pc[i]) - (i == 0 ? 0 : 1);
        Dwfl_Module* module = g_dwfl ? g_libdw.addrModule(g_dwfl, at) : nullptr;
        const char* symbol = module ? g_libdw.addrName(module, at) : nullptr;
        if (!symbol) {
            Dl_info info{};
            if (dladdr(addresses.pc[i], &info) && info.dli_sname) symbol = info.dli_sname;
        }
        if (symbol) {
            int status = -1;
            char* readable = abi::__cxa_demangle(symbol, nullptr, nullptr, &status);
            copyText(f.name, sizeof f.name, status == 0 && readable ? readable : symbol);
            std::free(readable);
            withoutParameters(f.name);
        }
        if (module) {
            if (Dwfl_Line* line = g_libdw.getSrc(module, at)) {
                int lineNo = 0;
                if (g_libdw.lineInfo(line, nullptr, &lineNo, nullptr, nullptr, nullptr)) f.line = lineNo;
            }
        }
    }
    return n;
}

int unresolved(const Addresses& addresses, Frame* frames) {
    int n = 0;
    for (int i = 0; i < addresses.count && n < kMaxLevels; ++i) {
        hex(frames[n].name, reinterpret_cast<std::uintptr_t>(addresses.pc[i]));
        frames[n++].line = 0;
    }
    return n;
}

const Addresses& lastThrow() {
    return t_throw.addresses;
}

} // namespace diag::stack

// Every throw passes here first, so that the handler can name the function that threw even after the stack has
// been unwound to the event loop's guard.
extern "C" {
using CxaThrow = void (*)(void*, std::type_info*, void (*)(void*));
[[noreturn]] void __cxa_throw(void* object, std::type_info* type, void (*destructor)(void*)) {
    static CxaThrow original = reinterpret_cast<CxaThrow>(dlsym(RTLD_NEXT, "__cxa_throw"));
    diag::stack::capture(diag::stack::t_throw.addresses, 0);
    original(object, type, destructor);
    std::abort(); // not reached: the original throws
}
}
