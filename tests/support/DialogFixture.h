#pragma once

#include "DialogContext.h"
#include "MeasurementFrames.h"
#include "Session.h"
#include "ScriptedPrompts.h"
#include "SerialPort.h"
#include "Simulator.h"
#include "TempDir.h"
#include "WidgetDriving.h"

#include <QDateTime>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vantor::test {

// The program's variables, a link to a simulated instrument on Com1, scripted
// prompts, a fixed clock and a locale of the test's choosing.
class DialogFixture : public ::testing::Test {
protected:
    DialogFixture()
    {
        for (int i = 0; i < kPortCount; ++i)
            serial.setDevicePath(i, dir.file("absent" + std::to_string(i)));
        simulator = std::make_unique<sim::Simulator>(std::vector<std::string>{dir.file("com1")},
                                                     sim::SimOptions{.baud = 9600, .address = 1, .turnaroundMs = 2});
        serial.setDevicePath(0, simulator->path(0));
        state.settings.currentFolder = dir.path().string() + "/";
        context.now = [this] { return now; };
        context.locale = [this] { return locale; };
        context.showStatus = [this](const StatusLine& line) {
            statusLine = line;
            status = line.text(state.settings.language);
        };
        context.startProgram = [this](const std::string& program, const std::vector<std::string>& arguments) {
            started.push_back(program);
            for (const auto& a : arguments)
                started.push_back(a);
            return starts;
        };
    }

    static std::vector<uint8_t> fileBytes(const std::string& path)
    {
        const std::string bytes = readBytes(path);
        return {bytes.begin(), bytes.end()};
    }

    // First registers of the requests the instrument received, with their function.
    std::vector<std::pair<int, int>> requests() const
    {
        std::vector<std::pair<int, int>> out;
        for (const auto& r : simulator->requests())
            out.emplace_back(r.bytes.at(1), (r.bytes.at(2) << 8) | r.bytes.at(3));
        return out;
    }

    TempDir dir;
    Session session;
    ProgramState& state = session.state;
    SerialLibrary& serial = session.serial;
    BlockLink& link = session.link;
    ScriptedPrompts prompts;
    DialogContext context{state, link, prompts};
    std::unique_ptr<sim::Simulator> simulator;
    // The main window's status line as the dialogs last set it.
    StatusLine statusLine;
    std::string status;
    QDateTime now{QDate(2024, 3, 5), QTime(14, 7, 9)};
    LocaleItems locale;
    std::vector<std::string> started;
    bool starts = true;  // whether a program started starts
};

// A dialog opened on the simulated instrument (or a file), with what tests
// drive it by: its controls by id, typing into an edit box, choosing.
template <typename Base>
class OpenDialogFixture : public DialogFixture {
protected:
    template <typename Dialog = Base>
    Dialog& open()
    {
        auto* opened = new Dialog(context, nullptr);
        dialog.reset(opened);
        EXPECT_TRUE(opened->opening());
        simulator->clearRequests();
        return *opened;
    }
    std::string text(int id) { return dialog->controlText(id).toStdString(); }
    bool visible(int id) { return !dialog->control(id)->isHidden(); }
    QComboBox* combo(int id) { return dialog->template control<QComboBox>(id); }
    // TRANSFERT, and the answer to its question.
    void upload(BoxAnswer answer = BoxAnswer::Yes)
    {
        prompts.answerNext(answer);
        dialog->sendCommand(1036);
    }
    // Types into the edit box key by key, as the user does, and leaves it.
    void type(int id, const char* typed)
    {
        auto* edit = dialog->template control<QLineEdit>(id);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typed);
        loseFocus(edit);
    }

    std::unique_ptr<Base> dialog;
};

}  // namespace vantor::test
