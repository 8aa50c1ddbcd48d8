#include "OptionsDialog.h"

#include "Binding.h"
#include "Formatted.h"
#include "LinkStatus.h"
#include "NetworkPortName.h"
#include "ProgramSettings.h"
#include "BlockLink.h"
#include "LanguageTables.h"
#include "PortDevices.h"
#include "Program.h"
#include "ScanWindow.h"
#include "SettingsFiles.h"
#include "SystemDriver.h"
#include "Templates.h"
#include "UnitScan.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace vantor {

namespace {

constexpr LabelBinding kLabels[] = {
    {1003, lang::OptJbus}, {1156, lang::OptCom},         {1158, lang::OptBauds},
    {1093, lang::OptLanguage}, {1004, lang::OptSpreadSheet}, {1267, lang::OptBrowse},
    {1272, lang::OptConnect},
};

constexpr NumberBinding kNumbers[] = {
    {1146, [](ProgramState& s) -> float& { return s.settings.link.jbusAddress; }, "%.0f", 0, 255},
};

constexpr ChoiceBinding kChoices[] = {
    {1000, [](ProgramState& s) -> int32_t& { return s.settings.link.portIndex; }, lang::ListCom.count, &lang::ListCom, 0},
    {1002, [](ProgramState& s) -> int32_t& { return s.settings.link.baudIndex; }, lang::ListBauds.count, &lang::ListBauds, 0},
    {1001, [](ProgramState& s) -> int32_t& { return s.settings.language; }, lang::ListLanguage.count, &lang::ListLanguage, 0},
};

constexpr HandlerEntry<OptionsDialog> kHandlers[] = {
    {1000, Notification::SelectionConfirmed, &OptionsDialog::portChosen},
    {1002, Notification::SelectionConfirmed, &OptionsDialog::choiceConfirmed},
    {1001, Notification::SelectionConfirmed, &OptionsDialog::choiceConfirmed},
    {1146, Notification::FocusLost, &OptionsDialog::addressLeft},
    {1267, Notification::Clicked, &OptionsDialog::browse},
    {1272, Notification::Clicked, &OptionsDialog::connectToUnit},
};

}  // namespace

OptionsDialog::OptionsDialog(Program& program, QWidget* owner)
    : TemplateDialog(templates::kOptions, owner), m_program(program)
{
    connectHandlers(kHandlers);
}

void OptionsDialog::opening()
{
    const DialogContext context = m_program.context();
    centreOn(parentWidget());
    setWindowTitle(QString::fromUtf8(lang::OptCaption.text(context.language())));
    showLabels(*this, kLabels, context.language());
    showNumbers(*this, kNumbers, m_program.state);
    fillChoices(*this, kChoices, context);
    showPortDevices();
    setControlText(1269, QString::fromStdString(m_program.state.settings.spreadsheetPath));
}

int OptionsDialog::run()
{
    opening();
    return exec();
}

void OptionsDialog::choiceConfirmed()
{
    readChoices(*this, kChoices, m_program.state);
    // A new language relabels the dialog at once; the caption follows next time.
    showLabels(*this, kLabels, m_program.context().language());
    showPortDevices();
}

void OptionsDialog::portChosen()
{
    auto* ports = control<QComboBox>(1000);
    if (!ports || ports->currentIndex() != kPortCount) {
        choiceConfirmed();
        return;
    }
    const int language = m_program.context().language();
    const int com = m_program.state.settings.link.portIndex;
    // Back on the Com the port is for, whatever is typed.
    selectChoices(*this, kChoices, m_program.state);
    if (com < 0 || com >= kPortCount)
        return;
    const std::string current = m_program.serial.devicePath(com);
    const std::optional<std::string> typed = m_program.prompts.textInput(
        this, formatted(lang::OptNetworkCaption.text(language), comName(com, language).c_str()),
        lang::OptNetworkPrompt.text(language), isNetworkPortName(current) ? current : "rfc2217://");
    if (!typed)
        return;
    if (!typed->empty() && !parseNetworkPortName(*typed)) {
        m_program.prompts.messageBox(this, "", formatted(lang::OptNetworkBad.text(language), typed->c_str()),
                                     BoxIcon::Error, BoxButtons::Ok);
        return;
    }
    m_program.serial.setDevicePath(com, typed->empty() ? systemDevicePath(com) : *typed);
    // Kept with the port table, as vantor-setup keeps the serial devices.
    std::array<std::string, kPortCount> devices;
    for (int i = 0; i < kPortCount; ++i)
        devices[static_cast<size_t>(i)] = m_program.serial.devicePath(i);
    savePortTable(m_program.store, m_program.settingsKey(), devices);
    m_program.link.invalidateProbeCatalogue();  // another unit may be behind it
    showPortDevices();
}

void OptionsDialog::showPortDevices()
{
    auto* ports = control<QComboBox>(1000);
    if (!ports)
        return;
    const int language = m_program.context().language();
    if (ports->count() == kPortCount)
        ports->addItem(QString());
    ports->setItemText(kPortCount, QString::fromUtf8(lang::OptNetworkItem.text(language)));
    for (int i = 0; i < ports->count() && i < kPortCount; ++i) {
        const std::string& path = m_program.serial.devicePath(i);
        QString text = QString::fromUtf8(lang::ListCom.texts[static_cast<size_t>(i)]);
        if (!path.empty())
            // As the user knows it: "COM3" on Windows, a stable name on Linux.
            text += QStringLiteral("  ") + QString::fromStdString(stableDeviceName(systemDeviceShownName(path)));
        if (path.empty() || !deviceExists(path))
            text += QStringLiteral(" ") + QString::fromUtf8(lang::OptPortAbsent.text(language));
        ports->setItemText(i, text);
    }
    fitTexts();
}

void OptionsDialog::addressLeft()
{
    // An address that is no number is marked and never stored: 0 would be the broadcast address.
    const DialogContext context = m_program.context();
    const NumbersRead read = readNumbers(*this, kNumbers, m_program.state, context.locale().decimalSeparator);
    if (!read.clamped.empty())
        context.showStatus(clampedStatus(*this, read.clamped, context.language()));
}

void OptionsDialog::browse()
{
    const int language = m_program.context().language();
    FileRequest request;
    request.owner = this;
#ifdef Q_OS_WIN
    request.filter = std::string(lang::OptSpreadSheet.text(language)) + "(.exe)|*.exe|";
#else
    request.filter = std::string(lang::OptSpreadSheet.text(language)) + "|*|";
#endif
    request.initialFolder = folderOf(m_program.state.settings.spreadsheetPath);
    request.mustExist = true;
    const std::optional<std::string> chosen = m_program.prompts.openFileName(request);
    if (!chosen)
        return;
    // The path is kept exactly as chosen: a point in a folder name is no extension.
    m_program.state.settings.spreadsheetPath = *chosen;
    setControlText(1269, QString::fromStdString(*chosen));
}

void OptionsDialog::connectToUnit()
{
    if (m_scanning)
        return;
    m_scanning = true;
    const DialogContext context = m_program.context();
    LinkSettings& link = m_program.state.settings.link;
    ScanReport report;
    bool cancelled;
    {
        // The scan window is modal: its Cancel button is the only input taken
        // while the three ports are scanned.
        ScanWindow scanWindow(this, context.language());
        report = scanForUnit(windowScanPorts(m_program.serial), [&scanWindow](const ScanProgress& p) {
            scanWindow.showProgress(p);
            QCoreApplication::processEvents();
            return !scanWindow.cancelled();
        });
        cancelled = scanWindow.cancelled();
        m_program.link.invalidateProbeCatalogue();  // the next transaction reads the new unit's
        if (report.unit)
            link = {report.unit->portIndex, report.unit->baudIndex, static_cast<float>(report.unit->address)};
    }
    const int language = context.language();
    if (cancelled) {
        // Stopped by the user: the settings stay as they were, nothing to tell.
    } else if (report.unit) {
        // Which port, speed and address answered, so that the technician can check them.
        const std::string device = m_program.serial.devicePath(link.portIndex);
        context.showStatus(doneStatus(lang::StatusUnitFound, context.localNow(), link, device));
        context.prompts.messageBox(this, lang::OptConnectCaption.text(language),
                                   std::string(lang::OptConnectSuccess.text(language)) + "\n" +
                                       linkInUse(link, language, device),
                                   BoxIcon::Information, BoxButtons::Ok);
    } else {
        // Why nothing answered, port by port: missing, busy, or silent at every speed.
        StatusLine line = doneStatus(lang::StatusNoUnit, context.localNow(), link);
        line.link = {};
        context.showStatus(line);
        std::string text = lang::OptConnectFailure.text(language);
        for (size_t port = 0; port < report.ports.ports.size(); ++port)
            text += "\n" + scanLine(comName(static_cast<int>(port), language), report.ports.ports[port], language);
        context.prompts.messageBox(this, lang::OptConnectCaption.text(language), text, BoxIcon::Error,
                                   BoxButtons::Ok);
    }
    selectChoices(*this, kChoices, m_program.state);
    showNumbers(*this, kNumbers, m_program.state);
    m_scanning = false;
}

}  // namespace vantor
