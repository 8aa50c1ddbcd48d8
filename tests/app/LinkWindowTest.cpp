// The link window: what it says of the link after real transactions, in the
// program's language, and the frames it saves for support.
#include "AppFixture.h"
#include "BlockTransfer.h"
#include "LinkWindow.h"
#include "MainWindow.h"
#include "MeasurementFrames.h"
#include "Simulator.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using namespace vantor;

namespace {

class LinkWindowTest : public test::AppFixture {
protected:
    LinkWindowTest() { program.serial.setDevicePath(0, simulator.path(0)); }

    sim::Simulator simulator{{dir.file("com1")}, {.turnaroundMs = 2}};
};

}  // namespace

TEST_F(LinkWindowTest, CountsWhatTheLinkDidAndSavesItsFrames)
{
    program.link.markProbeCatalogueRead();
    std::array<uint8_t, 10> image{};
    ASSERT_EQ(readBlockImage(program.link, kMakerBlock, image), 0);
    simulator.injectFault(sim::Fault::BadCrc, 3);
    ASSERT_EQ(readBlockImage(program.link, kMakerBlock, image), -1);

    program.state.settings.language = kEnglish;
    LinkWindow window(program, nullptr);
    const auto labels = [&window] {
        std::vector<std::string> out;
        for (QLabel* label : window.findChildren<QLabel*>())
            out.push_back(label->text().toStdString());
        return out;
    };
    const std::vector<std::string> shown = labels();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0], "Com1 (" + simulator.path(0) + "), 9600 baud, address 1");
    EXPECT_EQ(shown[1], "Transactions: 2   good: 1   retries: 2\n"
                        "Silences: 0   bad CRC: 3   wrong length: 0   mismatch: 0   exceptions: 0");
    EXPECT_EQ(shown[2].rfind("Last failure: bad reply (CRC), at ", 0), 0u) << shown[2];
    const auto frames = [&window] { return window.findChild<QPlainTextEdit*>()->toPlainText().toStdString(); };
    const std::string english = frames();
    EXPECT_NE(english.find(" ms sent 01 03 30 00 00 05 "), std::string::npos) << english;
    EXPECT_NE(english.find("  bad CRC\n"), std::string::npos) << english;

    program.state.settings.language = kFrench;
    window.refresh();
    EXPECT_EQ(labels()[1], "Transactions : 2   réussies : 1   reprises : 2\n"
                                 "Silences : 0   CRC faux : 3   longueur fausse : 0   autre demande : 0   exceptions : 0");
    const std::string french = frames();
    EXPECT_NE(french.find(" ms envoi 01 03 30 00 00 05 "), std::string::npos) << french;
    EXPECT_NE(french.find("  CRC faux\n"), std::string::npos) << french;

    // Saved in English under a header, named with its extension.
    program.now = [] { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); };
    program.versions.internalName = "VantorPC";
    program.versions.fileVersion = "1.0.0";
    prompts.chooseNextFile(dir.file("trace"));
    window.findChild<QPushButton*>()->click();
    const std::string saved = test::readBytes(dir.file("trace.txt"));
    const std::string header = "VantorPC 1.0.0 link log, saved 2024-03-05 14:07:09\n"
                               "Port: Com1, 9600 baud, address 1, device " + simulator.path(0) + "\n"
                               "Transactions: 2   good: 1   retries: 2\n"
                               "Silences: 0   bad CRC: 3   wrong length: 0   mismatch: 0   exceptions: 0\n"
                               "Last failure: bad reply (CRC), at ";
    EXPECT_EQ(saved.substr(0, header.size()), header);
    EXPECT_NE(saved.find("Frames, in English whatever the program's language"), std::string::npos);
    EXPECT_EQ(saved.substr(saved.find("\n\n") + 2), english) << "the frames, with their time of day";
}

// Each reason a read fails for reaches the main window's status line, with
// the port, speed and address used; no box is shown.
TEST_F(LinkWindowTest, TheStatusLineSaysWhyAReadFailed)
{
    const struct { sim::Fault fault; int times; int amount; int language; const char* expected; } rows[] = {
        {sim::Fault::Silence, 3, 0, kFrench, "Lecture impossible : pas de réponse \u2014 Com1, 9600 bauds, adresse 1"},
        {sim::Fault::BadCrc, 3, 0, kEnglish, "Read failed: bad reply (CRC) \u2014 Com1, 9600 baud, address 1"},
        {sim::Fault::MissingBytes, 3, 1, kEnglish, "Read failed: bad reply (wrong length) \u2014 Com1, 9600 baud, address 1"},
        {sim::Fault::Exception, 3, 2, kEnglish,
         "Read failed: request refused by the instrument (exception 2: register not available) \u2014 Com1, 9600 baud, address 1"},
    };
    MainWindow window(program);
    for (const auto& row : rows) {
        program.state.settings.language = row.language;
        simulator.injectFault(row.fault, row.times, row.amount);
        QTimer::singleShot(3000, [] {  // a dialog that opened all the same
            if (QWidget* open = QApplication::activeModalWidget())
                open->close();
        });
        window.sendCommand(105);  // Dialogue > Configuration
        EXPECT_EQ(window.statusText().toStdString(), row.expected);
    }
    program.serial.setDevicePath(0, dir.file("gone"));
    window.sendCommand(105);
    EXPECT_EQ(window.statusText().toStdString(), "Read failed: port missing \u2014 Com1, 9600 baud, address 1");
    EXPECT_TRUE(prompts.boxes().empty());
}
