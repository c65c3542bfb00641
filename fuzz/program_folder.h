#pragma once

// The targets that run the program's own routines (update import, fine calculator, training and statistics) work in
// a program folder of their own. Its fixed files - a small catalog and two learners' tables - are made by
// make_program_seeds from the real program folder and named by LW_FUZZ_PROGRAM; each input starts from a copy.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "fuzz_common.h"

namespace fuzz {

inline std::string readAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeString(const std::filesystem::path& p, std::string_view bytes) {
    writeBytes(p, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// Traps so that libFuzzer keeps the input: a routine broke a promise it makes to the learner.
inline void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "broken promise: %s\n", what);
    __builtin_trap();
}

// The fixed files by upper-case name, read once.
inline const std::map<std::string, std::string>& fixedFiles() {
    static const std::map<std::string, std::string> files = [] {
        const char* from = std::getenv("LW_FUZZ_PROGRAM");
        if (!from) {
            std::fprintf(stderr, "LW_FUZZ_PROGRAM must name the folder make_program_seeds wrote\n");
            std::abort();
        }
        std::map<std::string, std::string> out;
        for (const char* name : {"FRAGEN.DBF", "FRAGEN.FPT", "LOCAL1.DBF", "LOCAL2.DBF"}) {
            const auto path = std::filesystem::path(from) / name;
            if (!std::filesystem::exists(path)) {
                std::fprintf(stderr, "%s is missing\n", path.c_str());
                std::abort();
            }
            out[name] = readAll(path);
        }
        return out;
    }();
    return files;
}

// The program folder of this process, emptied; the fixed files named are put back.
inline std::filesystem::path freshFolder(std::initializer_list<const char*> wanted) {
    const std::filesystem::path dir = scratch() / "prog";
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    std::filesystem::create_directories(dir);
    for (const char* name : wanted)
        writeString(dir / name, fixedFiles().at(name));
    return dir;
}

} // namespace fuzz
