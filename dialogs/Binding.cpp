#include "Binding.h"

#include "Formatted.h"

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

// Marks a box whose text the program did not take as it stands.
void markNotNumber(TemplateDialog& dialog, int control, bool notNumber)
{
    if (auto* edit = dialog.control<QLineEdit>(control))
        edit->setStyleSheet(notNumber ? QStringLiteral("QLineEdit { background: #ffc8c8; }") : QString());
}

// The text a box showed once its number was brought into its limits: the box
// stays marked while it shows it.
constexpr char kClampedText[] = "vantorClampedText";

bool stillClamped(TemplateDialog& dialog, int control)
{
    auto* edit = dialog.control<QLineEdit>(control);
    if (!edit)
        return false;
    const QVariant clamped = edit->property(kClampedText);
    if (clamped.isValid() && clamped.toString() == edit->text())
        return true;
    if (clamped.isValid()) {
        edit->setProperty(kClampedText, QVariant());
        edit->setToolTip(QString());  // which said what became of the number
    }
    return false;
}

// A label's text as the user reads it: no accelerator mark, no colon.
QString withoutMarks(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text.remove(QRegularExpression(QStringLiteral("\\s*:\\s*$"))).trimmed();
}

}  // namespace

std::vector<NumberBinding> boundNumbers(std::span<const NumberParameter> numbers, ControlOfField controlOf,
                                        ProgramState& state)
{
    std::vector<NumberBinding> bound;
    for (const NumberParameter& p : numbers)
        if (const int control = controlOf(state, &p.value(state), false))
            bound.push_back(bindNumber(control, p));
    return bound;
}

std::vector<ChoiceBinding> boundChoices(std::span<const ChoiceParameter> choices, ControlOfField controlOf,
                                        ProgramState& state)
{
    std::vector<ChoiceBinding> bound;
    for (const ChoiceParameter& p : choices)
        if (const int control = controlOf(state, &p.value(state), false))
            bound.push_back(bindChoice(control, p));
    return bound;
}

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
    storeClampedNumbers(table, state);
    for (const NumberBinding& b : table)
        dialog.setControlText(b.control,
                              QString::fromStdString(formatBoundNumber(b.format, b.value(state), state.decimalsCount)));
}

NumbersRead readNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table, ProgramState& state,
                        const std::string& decimalSeparator)
{
    NumbersRead read;
    read.notNumbers = markNotNumbers(dialog, table, decimalSeparator);
    struct Typed {
        const NumberBinding* binding;
        double number;
        float stored;
    };
    std::vector<Typed> typed;
    for (const NumberBinding& b : table) {
        if (const std::optional<double> number = typedNumber(dialog, b.control, decimalSeparator)) {
            b.value(state) = toFloat(*number);
            typed.push_back({&b, *number, b.value(state)});
        }
    }
    storeClampedNumbers(table, state);
    for (const Typed& t : typed)
        if (t.binding->value(state) != t.stored)
            read.clamped.push_back({t.binding->control, dialog.controlText(t.binding->control).trimmed().toStdString(),
                                    "", t.number > t.binding->maximum});
    // A box holding no number keeps what was typed, for the user to mend.
    for (const NumberBinding& b : table)
        if (std::find(read.notNumbers.begin(), read.notNumbers.end(), b.control) == read.notNumbers.end())
            dialog.setControlText(
                b.control, QString::fromStdString(formatBoundNumber(b.format, b.value(state), state.decimalsCount)));
    for (ClampedNumber& c : read.clamped) {
        c.kept = dialog.controlText(c.control).toStdString();
        if (auto* edit = dialog.control<QLineEdit>(c.control)) {
            edit->setProperty(kClampedText, edit->text());
            markNotNumber(dialog, c.control, true);
        }
    }
    return read;
}

std::vector<int> markNotNumbers(TemplateDialog& dialog, std::span<const NumberBinding> table,
                                const std::string& decimalSeparator)
{
    std::vector<int> notNumbers;
    for (const NumberBinding& b : table) {
        const bool notNumber = dialog.control(b.control) && !typedNumber(dialog, b.control, decimalSeparator);
        markNotNumber(dialog, b.control, notNumber || stillClamped(dialog, b.control));
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
    return withoutMarks(nearest->text());
}

std::array<std::string, 2> fieldNames(const TemplateDialog& dialog, int control, int language)
{
    const QString shown = fieldName(dialog, control);
    for (const BilingualText* text : lang::kAllTexts)
        if (withoutMarks(utf8(text->text(language))) == shown)
            return {withoutMarks(utf8(text->french)).toStdString(), withoutMarks(utf8(text->english)).toStdString()};
    return {shown.toStdString(), shown.toStdString()};
}

StatusLine clampedStatus(const TemplateDialog& dialog, const std::vector<ClampedNumber>& clamped, int language)
{
    StatusLine line;
    for (const ClampedNumber& c : clamped) {
        const std::array<std::string, 2> names = fieldNames(dialog, c.control, language);
        for (int l : {kFrench, kEnglish}) {
            const BilingualText& limit = c.atMaximum ? lang::LimitMaximum : lang::LimitMinimum;
            std::string& what = line.what[static_cast<size_t>(l)];
            what += (what.empty() ? "" : "; ") + formatted(lang::StatusClamped.text(l), names[l].c_str(),
                                                           c.typed.c_str(), c.kept.c_str(), limit.text(l));
        }
    }
    return line;
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
