#pragma once

#include "Program.h"
#include "ScriptedPrompts.h"
#include "SettingsStore.h"
#include "TempDir.h"
#include "WidgetDriving.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

namespace vantor::test {

// A program with scripted prompts and a settings store in a folder of its own.
class AppFixture : public ::testing::Test {
protected:
    std::string configRoot() const { return dir.file("config"); }
    std::string dataHome() const { return dir.file("data"); }

    TempDir dir;
    ScriptedPrompts prompts;
    SettingsStore store{configRoot()};
    Program program{prompts, store};
};

}  // namespace vantor::test
