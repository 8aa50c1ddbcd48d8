#include "Binding.h"

#include <QCheckBox>
#include <QComboBox>

namespace vantor {

namespace {

constexpr int kMaxChoiceLength = 99;

QString utf8(const char* text) { return QString::fromUtf8(text); }

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

void readNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table, ProgramState& state)
{
    for (const NumberBinding& b : table)
        b.value(state) = toFloat(parseNumber(dialog.controlText(b.control).toStdString()));
    showNumbers(dialog, table, state);
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
