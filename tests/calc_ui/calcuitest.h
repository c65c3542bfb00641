#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QString>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "support/scripted.h"
#include "support/testdir.h"
#include "uitest.h"

// Shared by the calculators' dialog tests; the toolkit tests' qtapp.cpp gives every test an application object,
// artwork.cpp the calculators' pictures.
namespace calcui {

// A program folder of its own and a context with scripted services for every test.
class CalcTest : public ::testing::Test {
protected:
    CalcTest() : ctx(QString::fromStdString(dir.path().string())) {}

    std::filesystem::path path(const std::string& name) const { return dir / name; }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir / name); }
    lwtest::ScriptedMessages& messages() { return *ctx.scripted.messages; }

    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

using uitest::alt;
using uitest::showActive;

// Types into a field as the user does: focus, the keys, then Tab leaves it.
void typeInto(QWidget* field, const QString& text, bool leave = true);

using uitest::onNextDialog;

} // namespace calcui
