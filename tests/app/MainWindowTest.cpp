// The main window, its menus, the options dialog and the About box, driven by control id.
#include "AboutBox.h"
#include "AppFixture.h"
#include "LanguageTables.h"
#include "MainWindow.h"
#include "Pictures.h"
#include "OptionsDialog.h"
#include "QtPrompts.h"
#include "Settings.h"
#include "ScanWindow.h"
#include "Simulator.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
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

// A menu as text: entries by their text, "-" for a separator, "Title>[...]" for a submenu.
std::string describe(const QMenu* menu)
{
    std::string out;
    for (const QAction* action : menu->actions()) {
        if (!out.empty())
            out += ", ";
        if (action->isSeparator())
            out += "-";
        else if (action->menu())
            out += action->text().toStdString() + ">[" + describe(action->menu()) + "]";
        else
            out += action->text().toStdString();
    }
    return out;
}

std::vector<std::string> describeBar(const QMenuBar* bar)
{
    std::vector<std::string> out;
    for (const QAction* action : bar->actions())
        out.push_back(action->text().toStdString() + ": " + describe(action->menu()));
    return out;
}

class MainWindowTest : public test::AppFixture {
protected:
    void SetUp() override
    {
        program.versions = readVersionStrings();
        for (int i = 0; i < kPortCount; ++i)
            program.serial.setDevicePath(i, dir.file("absent" + std::to_string(i)));
    }
    std::string text(TemplateDialog& d, int id) { return d.controlText(id).toStdString(); }
};

}  // namespace

// The menus as the switches open them, in each language; each key once within a menu.
TEST_F(MainWindowTest, MenusFollowTheSwitchesAndTheLanguage)
{
    const struct {
        const char* switches;
        int language;
        std::vector<std::string> bar;
    } rows[] = {
        {"", kFrench,
         {"&Fichier: &Ouvrir, -, &Nouveau>[&Etalonnage], -, &Quitter", "&Dialogue: &Mesure, &Liaison, -, &Etalonnage",
          "&Configuration: &Configuration", "&A Propos de ...: &A Propos de ..."}},
        {"-x -kTrQ init -Can", kEnglish,
         {"&File: &Open, -, &New>[&Configuration, -, &Factory Settings, -, &HYDROMAST Settings], -, E&xit",
          "&Dialogue: &Measurement, &Link, -, &Configuration, -, C&AN, -, &Factory Settings, -, &HYDROMAST Settings, "
          "-, &Initialization",
          "&Options: &Options", "&About ...: &About ..."}},
        {"-x -Can", kFrench,
         {"&Fichier: &Ouvrir, -, &Nouveau>[&Etalonnage, -, &Réglage Usine], -, &Quitter",
          "&Dialogue: &Mesure, &Liaison, -, &Etalonnage, -, &CAN, -, &Réglage Usine", "&Configuration: &Configuration",
          "&A Propos de ...: &A Propos de ..."}},
    };
    for (const auto& row : rows) {
        program.state.access = decodeSwitches(row.switches);
        program.state.settings.language = row.language;
        MainWindow window(program);
        EXPECT_EQ(describeBar(window.menuBar()), row.bar);
    }
    MainWindow window(program);
    const auto menus = window.menuBar()->findChildren<QMenu*>().size();
    window.buildMenu();
    window.buildMenu();
    // Old menus go once control is back in an event loop.
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(window.menuBar()->findChildren<QMenu*>().size(), menus) << "rebuilding leaves no old menus behind";
}

TEST_F(MainWindowTest, ConnectFindsTheInstrumentOnTheSecondPort)
{
    sim::Simulator simulator({dir.file("com2")}, {.baud = 300, .address = 7});
    simulator.setReg(0x111A, 0x0107);  // the address is the low byte; the high one is the polarity
    program.serial.setDevicePath(1, simulator.path(0));
    program.state.settings.link = {3, 0, 12.0f};
    MainWindow window(program);
    OptionsDialog& options = window.options();
    options.opening();
    options.sendCommand(1272);

    ASSERT_EQ(prompts.boxes().size(), 1u);
    EXPECT_EQ(prompts.boxes()[0].caption, "DETECTION UNITE");
    EXPECT_EQ(prompts.boxes()[0].text, "La détection a réussi\nCom2, 300 bauds, adresse 7");
    EXPECT_EQ(prompts.boxes()[0].icon, BoxIcon::Information);
    EXPECT_EQ(program.state.settings.link.portIndex, 1);
    EXPECT_EQ(program.state.settings.link.baudIndex, 0);
    EXPECT_EQ(program.state.settings.link.jbusAddress, 7.0f);
    EXPECT_EQ(options.control<QComboBox>(1000)->currentText().left(4).toStdString(), "Com2");
    EXPECT_EQ(options.control<QComboBox>(1002)->currentText().toStdString(), "300");
    EXPECT_EQ(text(options, 1146), "7");
    EXPECT_FALSE(program.state.catalogue.read) << "the next transaction reads the new unit's catalogue";
    for (const auto& request : simulator.requests())
        EXPECT_EQ(request.bytes.at(2), 0x11) << "the scan sends no catalogue read";
}

TEST_F(MainWindowTest, ConnectShowsTheScanAndCancelStopsIt)
{
    // Three lines with nothing connected: the scan would wait out every speed.
    std::vector<std::string> paths;
    for (int i = 1; i <= 3; ++i)
        paths.push_back(dir.file("line" + std::to_string(i)));
    sim::Simulator lines(paths, {.baud = 19200});
    for (int i = 0; i < 3; ++i)
        program.serial.setDevicePath(i, lines.path(i));
    program.state.settings.link = {3, 2, 12.0f};
    program.state.settings.language = kEnglish;
    MainWindow window(program);
    OptionsDialog& options = window.options();
    options.opening();
    std::string shown;
    QTimer::singleShot(300, [&shown] {
        auto* scan = qobject_cast<ScanWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(scan, nullptr);
        shown = scan->findChild<QLabel*>()->text().toStdString();
        QTest::mouseClick(scan->findChild<QPushButton*>(), Qt::LeftButton);
    });
    const auto start = std::chrono::steady_clock::now();
    options.sendCommand(1272);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << "stopped, not waited out";
    EXPECT_EQ(shown, "Com1: trying 300 baud\nCom2: trying 300 baud\nCom3: trying 300 baud");
    EXPECT_TRUE(prompts.boxes().empty()) << "a cancelled scan says nothing";
    EXPECT_EQ(program.state.settings.link.portIndex, 3);
    EXPECT_EQ(program.state.settings.link.baudIndex, 2);
    EXPECT_EQ(program.state.settings.link.jbusAddress, 12.0f);
}

TEST_F(MainWindowTest, ThePlatformsBoxesSpeakTheProgramsLanguage)
{
    const auto buttons = [] {
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
        std::string out;
        for (auto which : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok})
            out += box.button(which)->text().remove('&').toStdString() + " ";
        return out;
    };
    const auto caption = [] {
        std::string title;
        QTimer::singleShot(0, [&title] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            title = box->windowTitle().toStdString();
            box->accept();
        });
        QtPrompts().messageBox(nullptr, "", "", BoxIcon::Error, BoxButtons::Ok);
        return title;
    };
    MainWindow window(program);
    EXPECT_EQ(buttons(), "Oui Non OK ");
    EXPECT_EQ(caption(), "Erreur");
    QTimer::singleShot(0, &window.options(), [&] {
        test::choose(window.options().control<QComboBox>(1001), 1);
        window.options().close();
    });
    window.sendCommand(104);
    EXPECT_EQ(buttons(), "Yes No OK ");
    EXPECT_EQ(caption(), "Error");
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
    MainWindow window(program);
    EXPECT_EQ(details(), "big.mes|2,93 Kio|inconnu; small.eta|4 octets|inconnu; sub||Dossier; ");
    program.state.settings.language = kEnglish;
    window.buildMenu();
    EXPECT_EQ(details(), "big.mes|2.93 KiB|unknown; small.eta|4 bytes|unknown; sub||Folder; ");
}

TEST_F(MainWindowTest, TheComListNamesEachPortsDevice)
{
    std::ofstream(dir.file("ttyUSB0")) << "";
    program.serial.setDevicePath(1, dir.file("ttyUSB0"));
    for (int language : {kFrench, kEnglish}) {
        program.state.settings.language = language;
        OptionsDialog options(program, nullptr);
        options.opening();
        const QComboBox* ports = options.control<QComboBox>(1000);
        const std::string absent = language == kFrench ? " (absent)" : " (not present)";
        EXPECT_EQ(ports->itemText(0).toStdString(), "Com1  " + dir.file("absent0") + absent);
        EXPECT_EQ(ports->itemText(1).toStdString(), "Com2  " + dir.file("ttyUSB0"));
    }
}
