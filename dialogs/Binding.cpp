#include "Binding.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QRegularExpression>
#include <QLabel>
#include <QLineEdit>

namespace vantor {

namespace {

constexpr int kMaxChoiceLength = 99;

QString utf8(const char* text) { return QString::fromUtf8(text); }

std::optional<double> typedNumber(const TemplateDialog& dialog, int control, const std::string& decimalSeparator)
{
    return parseTypedNumber(dialog.controlText(control).toStdString(), decimalSeparator);
}

void markNotNumber(TemplateDialog& dialog, int control, bool notNumber)
{
    if (auto* edit = dialog.control<QLineEdit>(control))
        edit->setStyleSheet(notNumber ? QStringLiteral("QLineEdit { background: #ffc8c8; }") : QString());
}

}  // namespace

void showLabels(TemplateDialog& dialog, std::span<const LabelBinding> table, int language)
{
    for (const LabelBinding& b : table)
        dialog.setControlText(b.control, utf8(b.label.text(language)));
}

void showToolTips(TemplateDialog& dialog, std::span<const LabelBinding> table, int language)
{
    for (const LabelBinding& b : table)
        if (QWidget* w = dialog.control(b.control))
            w->setToolTip(utf8(b.label.text(language)));
}

void showNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table, ProgramState& state)
{
    clampNumbers(table, state);
    for (const NumberBinding& b : table)
        dialog.setControlText(b.control,
                              QString::fromStdString(formatBoundNumber(b.format, b.value(state), state.decimalsCount)));
}

std::vector<int> readNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table, ProgramState& state,
                             const std::string& decimalSeparator)
{
    const std::vector<int> notNumbers = markNotNumbers(dialog, table, decimalSeparator);
    for (const NumberBinding& b : table)
        if (const std::optional<double> typed = typedNumber(dialog, b.control, decimalSeparator))
            b.value(state) = toFloat(*typed);
    clampNumbers(table, state);
    // A box holding no number keeps what was typed, for the user to mend.
    for (const NumberBinding& b : table)
        if (std::find(notNumbers.begin(), notNumbers.end(), b.control) == notNumbers.end())
            dialog.setControlText(
                b.control, QString::fromStdString(formatBoundNumber(b.format, b.value(state), state.decimalsCount)));
    return notNumbers;
}

std::vector<int> markNotNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table,
                                const std::string& decimalSeparator)
{
    std::vector<int> notNumbers;
    for (const NumberBinding& b : table) {
        const bool notNumber = dialog.control(b.control) && !typedNumber(dialog, b.control, decimalSeparator);
        markNotNumber(dialog, b.control, notNumber);
        if (notNumber)
            notNumbers.push_back(b.control);
    }
    return notNumbers;
}

QString fieldName(const TemplateDialog& dialog, int control)
{
    const QWidget* field = dialog.control(control);
    const QLabel* nearest = nullptr;
    if (field) {
        const QRect at = field->geometry();
        for (const QLabel* label : dialog.findChildren<const QLabel*>()) {
            const QRect l = label->geometry();
            if (label->text().isEmpty() || l.left() >= at.left() || l.bottom() < at.top() || l.top() > at.bottom())
                continue;
            if (!nearest || l.left() > nearest->geometry().left())
                nearest = label;
        }
    }
    if (!nearest)
        return QString::number(control);
    QString name = nearest->text();
    name.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return name.remove(QRegularExpression(QStringLiteral("\\s*:\\s*$"))).trimmed();
}

void fillChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, const DialogContext& context)
{
    const int language = context.language();
    for (size_t i = 0; i < table.size(); ++i) {
        if (i >= kMaxChoiceControls) {
            context.prompts.messageBox(&dialog, "", "Taille ComboBox Trop faible", BoxIcon::Error, BoxButtons::Ok);
            return;
        }
        const ChoiceBinding& b = table[i];
        auto* combo = dialog.control<QComboBox>(b.control);
        if (!combo)
            continue;
        combo->clear();
        for (int c = 0; c < b.count; ++c) {
            const char* text = choiceText(*b.list, b.count, b.bilingual == 1, c, language);
            if (!text || !*text)
                break;  // an empty text ends the list
            combo->addItem(utf8(text).left(kMaxChoiceLength));
        }
        clampChoices({&b, 1}, context.state);
        const int32_t value = b.value(context.state);
        combo->setCurrentIndex(value < combo->count() ? value : -1);
    }
}

void selectChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, ProgramState& state)
{
    for (const ChoiceBinding& b : table) {
        if (auto* combo = dialog.control<QComboBox>(b.control)) {
            const int32_t value = b.value(state);
            combo->setCurrentIndex(value < combo->count() ? value : -1);
        }
    }
}

void readChoices(TemplateDialog& dialog, std::span<const ChoiceBinding> table, ProgramState& state)
{
    for (const ChoiceBinding& b : table)
        if (auto* combo = dialog.control<QComboBox>(b.control))
            b.value(state) = combo->currentIndex();
}

void showChoiceTexts(TemplateDialog& dialog, std::span<const ChoiceBinding> table, const DialogContext& context)
{
    for (const ChoiceBinding& b : table) {
        const char* text = choiceText(*b.list, b.count, b.bilingual == 1, b.value(context.state), context.language());
        dialog.setControlText(b.control, text ? utf8(text) : QStringLiteral("*****"));
    }
}

void showChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, const DialogContext& context)
{
    for (size_t i = 0; i < table.size(); ++i) {
        if (i >= kMaxCheckControls) {
            context.prompts.messageBox(&dialog, "", "Taille Button Trop faible", BoxIcon::Error, BoxButtons::Ok);
            return;
        }
        const CheckBinding& b = table[i];
        dialog.setControlText(b.control, utf8(b.caption.text(context.language())));
        if (auto* box = dialog.control<QCheckBox>(b.control))
            box->setChecked(b.value(context.state) != 0);
    }
}

void readChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, ProgramState& state)
{
    for (const CheckBinding& b : table)
        if (auto* box = dialog.control<QCheckBox>(b.control))
            b.value(state) = box->isChecked() ? 1 : 0;
}

void setChecks(TemplateDialog& dialog, std::span<const CheckBinding> table, ProgramState& state)
{
    for (const CheckBinding& b : table)
        if (auto* box = dialog.control<QCheckBox>(b.control))
            box->setChecked(b.value(state) != 0);
}

}  // namespace vantor
