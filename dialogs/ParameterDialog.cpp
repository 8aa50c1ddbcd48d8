#include "ParameterDialog.h"

#include "BlockTransfer.h"
#include "Compare.h"
#include "FileDialogs.h"
#include "LanguageTables.h"
#include "LinkStatus.h"
#include "WaitWindow.h"

#include <QLabel>

namespace vantor {

using namespace controls;

namespace {

constexpr LabelBinding kToolTips[] = {
    {kSaveDisk, lang::TipSaveToFile},
    {kPrint, lang::TipPrint},
    {kTransfert, lang::TipUpload},
    {kCompare, lang::TipCompare},
};

}  // namespace

ParameterDialog::ParameterDialog(const ParameterForm& form, const DialogContext& context, QWidget* owner)
    : TemplateDialog(*form.dialogTemplate, owner), m_form(form), m_context(context),
      m_numbers(boundNumbers(form.block->numbers, form.controlOf, context.state)),
      m_choices(withProbeList(boundChoices(form.block->choices, form.controlOf, context.state), &m_probeList))
{
    for (const NumberBinding& b : m_numbers)
        on(b.control, Notification::FocusLost, [this] { numberLeft(); });
    for (const ChoiceBinding& b : m_choices)
        on(b.control, Notification::SelectionConfirmed, [this] { choiceConfirmed(); });
    for (const CheckBinding& b : form.checks)
        on(b.control, Notification::Clicked, [this] { checkClicked(); });
    on(kSaveDisk, Notification::Clicked, [this] { saveToDisk(); });
    on(kPrint, Notification::Clicked, [this] { print(); });
    on(kTransfert, Notification::Clicked, [this] { upload(); });
    if (offersComparison())
        on(kCompare, Notification::Clicked, [this] { compare(); });
}

bool ParameterDialog::opening()
{
    ProgramState& s = state();
    const int language = m_context.language();
    const FileType& type = *m_form.block->fileType;
    const BlockCodec& codec = m_form.block->codec();
    m_lastRead.assign(codec.block->imageSize(), 0);
    centreOn(parentWidget());
    setWindowTitle(QString::fromUtf8(m_form.caption.text(language)));
    if (QWidget* compareButton = control(kCompare))
        compareButton->hide();

    if (!s.file.fileMode) {
        int read;
        {
            WaitWindow wait(parentWidget(), language);
            read = readBlockImage(m_context.link, *codec.block, m_lastRead);
        }
        if (read != 0) {
            m_context.showStatus(failedStatus(lang::StatusReadFailed, m_context.link.master()));
            return false;
        }
        m_context.showStatus(doneStatus(lang::StatusRead, m_context.localNow(), s.settings.link, m_context.link.master().devicePath()));
        codec.decode(m_lastRead, s.record);
        setControlText(kFileName, QString());
        if (offersComparison())
            control(kCompare)->show();
    } else {
        const FileStatus status = loadSettingsFile(s.file.currentFilePath, type, m_lastRead, s.record);
        if (status != FileStatus::Ok) {
            reportFileError(m_context, parentWidget(), status, s.file.currentFilePath, type);
            return false;
        }
        showFileName(s.file.currentFilePath);
    }
    m_kept = m_lastRead;
    // The names as they stand after the read, which may have fetched the catalogue.
    setProbeNames(m_probeList, s.catalogue);
    showLabels(*this, m_form.labels, language);
    showRowNames(language);
    showToolTips(*this, kToolTips, language);
    showNumbers(*this, m_numbers, s);
    fillChoices(*this, m_choices, m_context);
    showChecks(*this, m_form.checks, m_context);
    applyRules();
    return true;
}

int ParameterDialog::run()
{
    if (!opening())
        return QDialog::Accepted;
    return exec();
}


void ParameterDialog::showRowNames(int language)
{
    ProgramState& s = state();
    const auto show = [&](const auto& parameters) {
        for (const auto& p : parameters)
            if (const int label = m_form.controlOf(s, &p.value(s), true))
                setControlText(label, QString::fromUtf8(p.name.text(language)));
    };
    show(m_form.block->numbers);
    show(m_form.block->choices);
}

void ParameterDialog::offerComparison()
{
    if (!offersComparison())
        return;
    const ProgramState& s = state();
    const bool unchanged = m_form.block->codec().matchesLastRead(s.record, m_lastRead);
    control(kCompare)->setVisible(unchanged && !s.file.fileMode);
}

void ParameterDialog::numberLeft()
{
    const NumbersRead read = readNumbers(*this, m_numbers, state(), decimalSeparator());
    // A number changed to fit its limits is marked, and the status line says
    // what is kept; so does the field's tooltip, the dialog being over the status line.
    const int language = m_context.language();
    for (const ClampedNumber& c : read.clamped)
        control(c.control)->setToolTip(QString::fromStdString(clampedStatus(*this, {c}, language).text(language)));
    if (!read.clamped.empty())
        m_context.showStatus(clampedStatus(*this, read.clamped, language));
    applyRules();
    offerComparison();
}

void ParameterDialog::choiceConfirmed()
{
    readChoices(*this, m_choices, state());
    applyRules();
    offerComparison();
}

void ParameterDialog::checkClicked() { readChecks(*this, m_form.checks, state()); }

void ParameterDialog::saveToDisk()
{
    if (!fieldsHoldNumbers())
        return;
    const FileType& type = *m_form.block->fileType;
    if (!askSaveFile(m_context, this, type))
        return;
    const std::string& path = state().file.currentFilePath;
    const FileStatus status = writeSettingsFile(path, type, state().record);
    if (status != FileStatus::Ok) {
        reportFileError(m_context, this, status, path, type);
        return;
    }
    showFileName(path);
    m_form.block->codec().encode(state().record, m_kept);
}

void ParameterDialog::print()
{
    std::vector<QWidget*> offPaper{control(kSaveDisk), control(kPrint), control(kTransfert)};
    for (int id : m_form.offPaper)
        offPaper.push_back(control(id));
    ControlsOffPaper hidden(*this, offPaper, control(kPrint));
    const BilingualText& title = m_form.printTitle;
    printDialogImage(*this, {title.english, true, QPageLayout::Landscape, title.text(m_context.language())},
                     m_context.printSurroundings());
}

void ParameterDialog::upload()
{
    if (!fieldsHoldNumbers())
        return;
    const bool done = uploadFromDialog(this, m_context, uploadOptions(), m_form.block->codec(),
                                       [this](const std::string& row) { return nameOfRow(row); });
    afterUpload();
    if (done)
        accept();
}

void ParameterDialog::compare()
{
    if (!fieldsHoldNumbers())
        return;
    compareWithFile(this, m_context, *m_form.block);
}

}  // namespace vantor

namespace vantor {

const std::string& ParameterDialog::decimalSeparator()
{
    // The user's regional settings, read once per dialog.
    if (m_decimalSeparator.empty())
        m_decimalSeparator = m_context.locale().decimalSeparator;
    return m_decimalSeparator;
}

void ParameterDialog::showFileName(const std::string& path)
{
    const QString whole = QString::fromStdString(path);
    auto* label = control<QLabel>(kFileName);
    if (!label) {
        setControlText(kFileName, whole);
        return;
    }
    // A path longer than its frame loses its middle, never its file name; the
    // tooltip holds it whole.
    const QFontMetrics metrics = label->fontMetrics();
    const int room = label->contentsRect().width() - 2 * label->margin() - 4;
    QString shown = whole;
    if (metrics.horizontalAdvance(whole) > room) {
        const qsizetype cut = whole.lastIndexOf('/') + 1;
        const QString name = whole.mid(cut);
        const int folderRoom = room - metrics.horizontalAdvance(name);
        shown = folderRoom > metrics.horizontalAdvance(QStringLiteral("…/"))
                    ? metrics.elidedText(whole.left(cut), Qt::ElideMiddle, folderRoom) + name
                    : metrics.elidedText(name, Qt::ElideLeft, room);
    }
    setControlText(kFileName, shown);
    label->setToolTip(whole);
}

std::string ParameterDialog::nameOfRow(const std::string& rowName)
{
    ProgramState& s = state();
    const void* field = m_form.block->codec().rowField(s.record, rowName);
    const auto bound = [field, &s](const auto& table) -> int {
        for (const auto& b : table)
            if (field && static_cast<const void*>(&b.value(s)) == field)
                return b.control;
        return 0;
    };
    int control = bound(m_numbers);
    if (!control)
        control = bound(m_choices);
    if (!control) {
        // A check box carries its own caption.
        if (const int box = bound(m_form.checks))
            return controlText(box).remove(QLatin1Char('&')).toStdString();
        return rowName;
    }
    const QString name = fieldName(*this, control);
    return name == QString::number(control) ? rowName : name.toStdString();
}

bool ParameterDialog::fieldsHoldNumbers()
{
    const std::vector<int> notNumbers = markNotNumbers(*this, m_numbers, decimalSeparator());
    if (notNumbers.empty())
        return true;
    const int language = m_context.language();
    QString text = QString::fromUtf8(lang::NotNumberText.text(language));
    for (int id : notNumbers)
        text += QStringLiteral("\n") + fieldName(*this, id);
    m_context.prompts.messageBox(this, lang::NotNumberCaption.text(language), text.toStdString(), BoxIcon::Error,
                                 BoxButtons::Ok);
    return false;
}

void ParameterDialog::reject()
{
    // A value typed but not yet left counts as typed.
    const bool allNumbers = readNumbers(*this, m_numbers, state(), decimalSeparator()).notNumbers.empty();
    if (m_kept.empty() || (allNumbers && m_form.block->codec().matchesLastRead(state().record, m_kept))) {
        TemplateDialog::reject();
        return;
    }
    const int language = m_context.language();
    if (m_context.prompts.messageBox(this, m_form.caption.text(language), lang::DropChanges.text(language),
                                     BoxIcon::Question, BoxButtons::YesNoDefaultNo) == BoxAnswer::Yes)
        TemplateDialog::reject();
}

}  // namespace vantor
