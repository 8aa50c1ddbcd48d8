// The main window, the options dialog and the platform's dialogs, driven by control id.
#include "AppFixture.h"
#include "MeasurementFrames.h"
#include "MainWindow.h"
#include "OptionsDialog.h"
#include "QtPrompts.h"
#include "ScanWindow.h"
#include "SystemDriver.h"
#include "Simulator.h"

#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <set>

using namespace vantor;

namespace {

class MainWindowTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        for (int i = 0; i < kPortCount; ++i)
            program.serial.setDevicePath(i, dir.file("absent" + std::to_string(i)));
    }
};

}  // namespace

TEST_F(MainWindowTest, ConnectShowsTheScanAndCancelStopsIt)
{
    // Three lines with nothing connected: the scan would wait out every speed.
    sim::Simulator lines({dir.file("line1"), dir.file("line2"), dir.file("line3")}, {.baud = 19200});
    for (int i = 0; i < 3; ++i)
        program.serial.setDevicePath(i, lines.path(i));
    program.state.settings.link = {3, 2, 12.0f};
    program.state.settings.language = kEnglish;
    MainWindow window(program);
    OptionsDialog& options = window.options();
    options.opening();
    const QComboBox* ports = options.control<QComboBox>(1000);
    // By the name the user knows: "COM2" on Windows, the device's path on Linux.
    EXPECT_EQ(ports->itemText(1).toStdString(), "Com2  " + systemDeviceShownName(lines.path(1))) << "each port names its device";
    EXPECT_EQ(ports->itemText(3).toStdString(), "Com4  " + dir.file("absent3") + " (not present)");
    std::string shown;
    QTimer::singleShot(300, [&shown] {
        auto* scan = qobject_cast<ScanWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(scan, nullptr);
        shown = scan->findChild<QLabel*>()->text().toStdString();
        // Room for the whole title beside a title bar's icon and buttons.
        EXPECT_GE(scan->width(), scan->fontMetrics().horizontalAdvance(scan->windowTitle()) + 120);
        QTest::mouseClick(scan->findChild<QPushButton*>(), Qt::LeftButton);
    });
    options.sendCommand(1272);
    for (const auto& request : lines.requests())
        EXPECT_EQ(request.lineBaud, 300) << "stopped at the first speed, not waited out";
    EXPECT_EQ(shown, "Com1: trying 300 baud\nCom2: trying 300 baud\nCom3: trying 300 baud");
    EXPECT_TRUE(prompts.boxes().empty()) << "a cancelled scan says nothing";
    const LinkSettings& link = program.state.settings.link;
    EXPECT_EQ((std::tuple{link.portIndex, link.baudIndex, link.jbusAddress}), (std::tuple{3, 2, 12.0f})) << "as before";
}

// Qt's file dialog writes sizes and types in the system's language, or in English, whatever the program's.
TEST_F(MainWindowTest, TheFileDialogsDetailsSpeakTheProgramsLanguage)
{
    // Qt keeps the dialog's column widths in the user's settings: none here.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir.file("qt")));
    const std::string folder = dir.file("files");
    std::filesystem::create_directories(folder + "/sub");
    std::ofstream(folder + "/big.mes", std::ios::binary) << std::string(3000, '\0');
    std::ofstream(folder + "/small.eta", std::ios::binary) << std::string(4, '\0');
    const auto details = [&folder] {
        FileRequest request;
        request.initialFolder = folder;
        const auto dialog = fileDialog(request, false);
        dialog->setViewMode(QFileDialog::Detail);
        dialog->show();
        const auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        const auto cell = [view](int row, int column) {
            return view->model()->index(row, column, view->rootIndex()).data().toString().toStdString();
        };
        // The model reads the folder in a thread.
        const auto read = [&] { return view->model()->rowCount(view->rootIndex()) == 3 && !cell(2, 2).empty(); };
        EXPECT_TRUE(QTest::qWaitFor(read));
        const int dateWidth = view->fontMetrics().horizontalAdvance(QString::fromStdString(cell(0, 3)));
        EXPECT_GE(view->columnWidth(3), std::max(view->header()->sectionSizeHint(3), dateWidth))
            << "the date column cuts its header or dates";
        std::set<std::string> rows;  // the view sorts them later
        for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
            rows.insert(cell(row, 0) + "|" + cell(row, 1) + "|" + cell(row, 2) + "; ");
        return std::accumulate(rows.begin(), rows.end(), std::string());
    };
    // So do its message boxes' buttons.
    const auto buttons = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return QString(box.button(QMessageBox::Yes)->text() + " " + box.button(QMessageBox::No)->text()).remove('&').toStdString();
    };
#ifdef _WIN32
    // Windows names the types of files and folders itself, in its own language.
    const std::string shells =
        QFileIconProvider().type(QFileInfo(QString::fromStdString(folder + "/sub"))).toStdString();
    const std::string dossier = shells, english = shells;
#else
    const std::string dossier = "Dossier", english = "Folder";
#endif
    MainWindow window(program);
    EXPECT_EQ(details(), "big.mes|2,93 Kio|inconnu; small.eta|4 octets|inconnu; sub||" + dossier + "; ");
    EXPECT_EQ(buttons(), "Oui Non");
    program.state.settings.language = kEnglish;
    window.buildMenu();
    EXPECT_EQ(details(), "big.mes|2.93 KiB|unknown; small.eta|4 bytes|unknown; sub||" + english + "; ");
    EXPECT_EQ(buttons(), "Yes No");
}

// The program object's own starter, the one Compare and Convert use: no fixture's.
TEST_F(MainWindowTest, TheProgramStartsTheSpreadsheetProgramItIsGiven)
{
#ifdef _WIN32
    const std::string sheet = dir.file("sheet.exe"), opened = dir.file("opened");
    std::filesystem::copy_file(VANTOR_RECORD_ARGUMENTS, sheet);
#else
    const std::string sheet = dir.file("sheet"), opened = dir.file("opened");
    std::ofstream(sheet) << "#!/bin/sh\nprintf '%s' \"$1\" > \"" << opened << ".part\" && mv \"" << opened << ".part\" \""
                         << opened << "\"\n";
    std::filesystem::permissions(sheet, std::filesystem::perms::owner_all);
#endif
    const DialogContext context = program.context();
    ASSERT_TRUE(context.startProgram) << "a starter copied from itself is empty";
    EXPECT_TRUE(context.startProgram(sheet, {"Écart 1.prn"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(opened); }, 5000));
    EXPECT_EQ(test::readBytes(opened), "Écart 1.prn") << "the argument as it stands, no shell between";
    EXPECT_FALSE(context.startProgram(dir.file("no such program"), {}));
    EXPECT_TRUE((DialogContext{program.state, program.link, prompts}.startProgram)) << "nor is a bare context's";
}

// The status line after Connect: where the unit was found, or why each port
// gave nothing; it follows a change of language, and a long one loses some of
// what happened, never the port, speed and address, which have a line of their own.
TEST_F(MainWindowTest, TheStatusLineFollowsConnectAndTheLanguageAndKeepsItsLinkWhole)
{
    program.now = [] { return QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)); };
    MainWindow window(program);
    const auto shown = [&window] { return window.findChild<QLabel*>(QStringLiteral("status"))->text().toStdString(); };
    OptionsDialog& options = window.options();
    options.opening();
    options.sendCommand(1272);  // Connect, with every port missing
    EXPECT_EQ(prompts.boxes().back().text,
              "La détection a échoué\nCom1 : port absent\nCom2 : port absent\nCom3 : port absent");
    EXPECT_EQ(window.statusText().toStdString(), "Détection à 14:07:09 : aucune unité trouvée");

    sim::Simulator unit({dir.file("com2")}, {.baud = 300, .address = 17});
    program.serial.setDevicePath(1, unit.path(0));
    options.sendCommand(1272);
    EXPECT_EQ(window.statusText().toStdString(), "Unité trouvée à 14:07:09 \u2014 Com2, 300 bauds, adresse 17");

    // Options > English, closed with its close box.
    QTimer::singleShot(0, &options, [&options] {
        test::choose(options.control<QComboBox>(1001), kEnglish);
        options.reject();
    });
    window.sendCommand(104);
    EXPECT_EQ(window.statusText().toStdString(), "Unit found at 14:07:09 \u2014 Com2, 300 baud, address 17");
    EXPECT_EQ(shown(), "Unit found at 14:07:09\nCom2, 300 baud, address 17");

    program.showStatus({{"", std::string(300, 'x')}, {"", "Com2, 300 baud, address 17"}});
    EXPECT_EQ(shown().substr(0, 3), "xxx");
    EXPECT_NE(shown().find("\u2026\nCom2, 300 baud, address 17"), std::string::npos) << shown();
}
