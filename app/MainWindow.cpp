#include "MainWindow.h"

#include "AboutBox.h"
#include "CalibrationDialog.h"
#include "CanDialog.h"
#include "FactoryDialog.h"
#include "FileCommands.h"
#include "Initialisation.h"
#include "LinkWindow.h"
#include "MakerDialog.h"
#include "MeasurementDialog.h"
#include "LanguageTables.h"
#include "OptionsDialog.h"
#include "Pictures.h"
#include "Program.h"
#include "Templates.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace vantor {

namespace {

enum Command {
    kOpen = 32771,
    kNewCalibration = 32784,
    kNewFactory = 32785,
    kNewMaker = 32786,
    kExit = 107,
    kMeasurement = 106,
    kCalibration = 105,
    kCan = 109,
    kFactory = 102,
    kMaker = 103,
    kInitialisation = 108,
    kOptions = 104,
    kAbout = 32783,
    kLink = 32800,
};

// Ctrl+L opens the link window over whatever dialog is open: the key is
// caught before any window sees it.
class LinkKey : public QObject {
public:
    LinkKey(QObject* parent, std::function<void()> open) : QObject(parent), m_open(std::move(open)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_L && key->modifiers() == Qt::ControlModifier) {
                m_open();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_open;
};

}  // namespace

MainWindow::MainWindow(Program& program)
    : TemplateDialog(templates::kMainWindow, nullptr), m_program(program), m_menuBar(new QMenuBar(this)),
      m_status(new QLabel(this)),
      m_options(std::make_unique<OptionsDialog>(program, this))
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowIcon(programIcon());

    // The menu bar sits above the template's client area.
    m_menuBar->setNativeMenuBar(false);
    buildMenu();
    const int barHeight = m_menuBar->sizeHint().height();
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != m_menuBar)
            child->move(child->x(), child->y() + barHeight);
    // The status sits below it, sunken as status bars are, two lines high:
    // what happened, then the port, speed and address used.
    m_status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_status->setIndent(4);
    const int statusHeight = 2 * m_status->fontMetrics().lineSpacing() + 6;
    const int clientHeight = height();
    setFixedSize(width(), clientHeight + barHeight + statusHeight);
    m_menuBar->setGeometry(0, 0, width(), barHeight);
    m_status->setGeometry(0, barHeight + clientHeight, width(), statusHeight);
    m_status->setObjectName(QStringLiteral("status"));
    m_program.showStatus = [this](const StatusLine& line) { showStatus(line); };

    const struct {
        int id;
        void (MainWindow::*handler)();
    } commands[] = {
        {kOpen, &MainWindow::openFile},
        {kNewCalibration, &MainWindow::newCalibrationFile},
        {kNewFactory, &MainWindow::newFactoryFile},
        {kNewMaker, &MainWindow::newMakerFile},
        {kExit, &MainWindow::exitProgram},
        {kMeasurement, &MainWindow::measurement},
        {kCalibration, &MainWindow::calibration},
        {kCan, &MainWindow::canSettings},
        {kFactory, &MainWindow::factorySettings},
        {kMaker, &MainWindow::makerSettings},
        {kInitialisation, &MainWindow::initialisation},
        {kOptions, &MainWindow::showOptions},
        {kAbout, &MainWindow::about},
        {kLink, &MainWindow::showLinkWindow},
    };
    for (const auto& c : commands)
        on(c.id, Notification::Clicked, [this, handler = c.handler] { (this->*handler)(); });

    qApp->installEventFilter(new LinkKey(this, [this] { showLinkWindow(); }));

    // Opening.
    centreOn(nullptr);
    setWindowTitle(QString::fromStdString(program.versions.internalName));
    m_program.link.invalidateProbeCatalogue();
}

MainWindow::~MainWindow() { m_program.showStatus = [](const StatusLine&) {}; }

QString MainWindow::statusText() const { return m_status->toolTip(); }

void MainWindow::showStatus(const StatusLine& line)
{
    m_statusLine = line;
    const int language = m_program.context().language();
    const auto l = static_cast<size_t>(language);
    const QFontMetrics metrics = m_status->fontMetrics();
    const int room = m_status->contentsRect().width() - 2 * m_status->margin() - m_status->indent() - 4;
    const auto fitted = [&](const std::string& text) {
        return metrics.elidedText(QString::fromStdString(text), Qt::ElideRight, std::max(0, room));
    };
    m_status->setText(line.link[l].empty() ? fitted(line.what[l]) : fitted(line.what[l]) + '\n' + fitted(line.link[l]));
    m_status->setToolTip(QString::fromStdString(line.text(language)));
}

void MainWindow::buildMenu()
{
    const int language = m_program.state.settings.language;
    // The status line too follows the language.
    showStatus(m_statusLine);
    // The platform's boxes and file dialogs speak the menu's language.
    m_program.qtTranslations.apply(language);
    const AccessFlags& access = m_program.state.access;
    auto text = [language](const BilingualText& t) { return QString::fromUtf8(t.text(language)); };
    if (auto* main = findChild<QLabel*>(QString::fromLatin1(kMainPicture)))
        main->setPixmap(mainPicture(devicePixelRatioF(), text(lang::MainSubtitle)));
    auto add = [this, &text](QMenu* menu, int id, const BilingualText& t) {
        QAction* action = menu->addAction(text(t));
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { sendCommand(id); });
    };

    // clear() leaves the popups alive; they go with their actions.
    for (QAction* action : m_menuBar->actions())
        if (QMenu* menu = action->menu())
            menu->deleteLater();
    m_menuBar->clear();
    QMenu* file = m_menuBar->addMenu(text(lang::MenuFile));
    add(file, kOpen, lang::MenuOpen);
    file->addSeparator();
    QMenu* fresh = file->addMenu(text(lang::MenuNew));
    add(fresh, kNewCalibration, lang::MenuConfiguration);
    if (access.factory) {
        fresh->addSeparator();
        add(fresh, kNewFactory, lang::MenuFactorySettings);
    }
    if (access.maker) {
        fresh->addSeparator();
        add(fresh, kNewMaker, lang::MenuMakerSettings);
    }
    file->addSeparator();
    add(file, kExit, lang::MenuExit);

    QMenu* dialogue = m_menuBar->addMenu(text(lang::MenuDialogue));
    add(dialogue, kMeasurement, lang::MenuMeasurement);
    add(dialogue, kLink, lang::MenuLink);
    dialogue->actions().back()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    dialogue->addSeparator();
    add(dialogue, kCalibration, lang::MenuConfiguration);
    const struct {
        bool shown;
        int id;
        const BilingualText& text;
    } optional[] = {
        {access.can, kCan, lang::MenuCan},
        {access.factory, kFactory, lang::MenuFactorySettings},
        {access.maker, kMaker, lang::MenuMakerSettings},
        {access.init, kInitialisation, lang::MenuInitialization},
    };
    for (const auto& entry : optional) {
        if (!entry.shown)
            continue;
        dialogue->addSeparator();
        add(dialogue, entry.id, entry.text);
    }

    QMenu* options = m_menuBar->addMenu(text(lang::MenuOptions));
    add(options, kOptions, lang::MenuOptions);
    QMenu* aboutMenu = m_menuBar->addMenu(text(lang::MenuAbout));
    add(aboutMenu, kAbout, lang::MenuAbout);
}

void MainWindow::unitMode() { m_program.state.file.fileMode = false; }

void MainWindow::openFile() { openSettingsFile(m_program.context(), this); }
void MainWindow::newCalibrationFile() { newSettingsFile(m_program.context(), this, filetypes::kCalibration); }
void MainWindow::newFactoryFile() { newSettingsFile(m_program.context(), this, filetypes::kFactory); }
void MainWindow::newMakerFile() { newSettingsFile(m_program.context(), this, filetypes::kMaker); }
void MainWindow::exitProgram() { accept(); }


template <typename Dialog>
void MainWindow::runOnUnit()
{
    unitMode();
    runDialog<Dialog>(m_program.context(), this);
}

void MainWindow::measurement() { runOnUnit<MeasurementDialog>(); }
void MainWindow::calibration() { runOnUnit<CalibrationDialog>(); }
void MainWindow::canSettings() { runOnUnit<CanDialog>(); }
void MainWindow::factorySettings() { runOnUnit<FactoryDialog>(); }
void MainWindow::makerSettings() { runOnUnit<MakerDialog>(); }
void MainWindow::initialisation() { runInitialisation(m_program.context(), this); }

void MainWindow::showOptions()
{
    m_options->run();
    buildMenu();
}

void MainWindow::showLinkWindow()
{
    // Over the dialog that is open, so that the window takes input beside it.
    QWidget* over = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this;
    if (m_linkWindow && m_linkWindow->parentWidget() != over)
        m_linkWindow->close();
    if (!m_linkWindow) {
        m_linkWindow = new LinkWindow(m_program, over);
        m_linkWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_linkWindow->setWindowFlag(Qt::Window);
    }
    m_linkWindow->show();
    m_linkWindow->raise();
}

void MainWindow::about()
{
    AboutBox box(m_program, this);
    box.exec();
}

}  // namespace vantor
