#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "store/error.h"

namespace fuzz {

// One scratch folder per fuzzing process; the parsers read files, so every input is written to one first.
inline const std::filesystem::path& scratch() {
    static const std::filesystem::path dir = [] {
        auto d = std::filesystem::temp_directory_path() / ("lw-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(d);
        store::setErrorCallback([](const store::StoreError&) {}); // reported failures are expected here
        return d;
    }();
    return dir;
}

inline void writeBytes(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

} // namespace fuzz
