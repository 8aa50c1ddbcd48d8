// The main window: a picture under the menu bar from which every function is reached.
#pragma once

#include "LinkStatus.h"
#include "TemplateDialog.h"

#include <QPointer>

#include <memory>

class QLabel;
class QMenuBar;

namespace vantor {

class Program;
class OptionsDialog;
class LinkWindow;

class MainWindow : public TemplateDialog {
    Q_OBJECT
public:
    explicit MainWindow(Program& program);
    ~MainWindow() override;

    // Builds the menu bar in the current language from the access flags.
    void buildMenu();
    QMenuBar* menuBar() const { return m_menuBar; }
    OptionsDialog& options() { return *m_options; }
    // The outcome of the last operation on the instrument, whole.
    QString statusText() const;

private:
    void openFile();
    void newCalibrationFile();
    void newFactoryFile();
    void newMakerFile();
    void exitProgram();
    void measurement();
    void calibration();
    void canSettings();
    void factorySettings();
    void makerSettings();
    void initialisation();
    void showOptions();
    void about();
    // The link window, modeless, over the dialog that is open.
    void showLinkWindow();
    // Shows the line in the program's language: what happened, and the link on a line of its own.
    void showStatus(const StatusLine& line);
    void unitMode();
    // Clears the file mode, then runs the dialog on the instrument's block.
    template <typename Dialog>
    void runOnUnit();

    Program& m_program;
    QMenuBar* m_menuBar;
    QLabel* m_status;
    StatusLine m_statusLine;
    std::unique_ptr<OptionsDialog> m_options;
    QPointer<LinkWindow> m_linkWindow;
};

}  // namespace vantor
