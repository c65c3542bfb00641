#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>
#include <string>

#include "support/testdir.h"
#include "core/context.h"
#include "shell/artwork.h"
#include "support/scripted.h"
#include "uitest.h"

namespace shelltest {

// A program folder of its own and a context with scripted services for every test.
class ShellTest : public ::testing::Test {
protected:
    ShellTest() : ctx(QString::fromStdString(dir.path().string())), scripted(lwtest::useScriptedServices(ctx)) {
        shell::registerArtwork();
    }

    std::filesystem::path path(const std::string& name) const { return dir / name; }
    void writeIni(const std::string& bytes) const { lwtest::writeFile(dir / "TAVOLIN.INI", bytes); }
    std::string ini() const { return lwtest::readFile(dir / "TAVOLIN.INI"); }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir / name); }

    lwtest::TempDir dir;
    core::Context ctx;
    lwtest::Scripted scripted;
};

using uitest::onNextDialog;

// A catalog of `count` questions in the folder, written through the table engine.
void writeCatalog(const std::filesystem::path& dir, int count = 3);

} // namespace shelltest

inline std::ostream& operator<<(std::ostream& os, const std::vector<std::string>& v) {
    for (const auto& s : v)
        os << '[' << s << ']';
    return os;
}
