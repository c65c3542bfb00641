#pragma once

#include <filesystem>
#include <string>

namespace lwtest {

// A fresh, empty temporary folder that is removed with the object: the program directory of one test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Runs a shell command and returns its exit code; its standard output goes to *out when given.
int runCommand(const std::string& command, std::string* out = nullptr);

// Reads a whole file as bytes; empty when it does not exist.
std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);

} // namespace lwtest
