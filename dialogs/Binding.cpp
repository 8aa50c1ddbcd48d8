#include "Binding.h"

#include <QCheckBox>
#include <QComboBox>

#include <limits>
#include <locale.h>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vantor {

namespace {

constexpr int kMaxChoiceLength = 99;

QString utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

std::string formatDouble(const char* format, double value)
{
    char out[128];
    // The format comes from a binding table, never from outside.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    std::snprintf(out, sizeof out, format, value);
#pragma GCC diagnostic pop
    std::string text(out);
    // The user interface's locale may have set another decimal separator.
    const char* point = std::localeconv()->decimal_point;
    if (point && *point && std::strcmp(point, ".") != 0) {
        const size_t at = text.find(point);
        if (at != std::string::npos)
            text.replace(at, std::strlen(point), ".");
    }
    return text;
}

double parseNumber(const std::string& text)
{
    // atof itself, in the C locale whatever the user interface's locale says.
    static const locale_t kCLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text.c_str(), nullptr, kCLocale);
}

float toFloat(double value)
{
    // Beyond what a float holds the conversion is undefined: go to the infinities,
    // which the limits then clamp.
    if (value > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max())
        return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

double autoDecimals(float value, int& decimalsCount)
{
    const double v = static_cast<double>(value);
    const double a = std::fabs(v);
    double result;
    if (a < 9.999) {
        decimalsCount = 3;
        result = a;
    } else if (a < 99.99) {
        decimalsCount = 2;
        result = a;
    } else if (a < 999.9) {
        decimalsCount = 1;
        result = a;
    } else {
        decimalsCount = 0;
        if (a <= 9999)
            result = a;
        else if (a < 99995)
            result = std::floor((a + 5) * 0.1) * 10;
        else if (a < 999950)
            result = std::floor((a + 50) * 0.01) * 100;
        else
            result = 999999;
    }
    return v < 0 ? -result : result;
}

std::string formatBoundNumber(const char* format, float value, int& decimalsCount)
{
    if (format && *format)
        return formatDouble(format, static_cast<double>(value));
    const double rounded = autoDecimals(value, decimalsCount);
    const std::string automatic = "%." + std::to_string(decimalsCount) + "f";
    return formatDouble(automatic.c_str(), rounded);
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

void clampNumbers(std::span<const NumberBinding> table, ProgramState& state)
{
    for (const NumberBinding& b : table) {
        float& value = b.value(state);
        const double v = static_cast<double>(value);
        if (std::isnan(v) || v < b.minimum)
            value = static_cast<float>(b.minimum);
        else if (v > b.maximum)
            value = static_cast<float>(b.maximum);
    }
}

void clampChoices(std::span<const ChoiceBinding> table, ProgramState& state)
{
    for (const ChoiceBinding& b : table)
        if (int32_t& value = b.value(state); value >= b.count)
            value = 0;
}

std::vector<ChoiceBinding> withProbeList(std::span<const ChoiceBinding> table, const ChoiceList* probes)
{
    std::vector<ChoiceBinding> bound(table.begin(), table.end());
    for (ChoiceBinding& b : bound)
        if (!b.list)
            b.list = probes;
    return bound;
}

void setProbeNames(ChoiceList& probes, const ProbeCatalogue& catalogue)
{
    probes.texts.fill("");
    for (size_t i = 0; i < kProbeCount; ++i)
        probes.texts[i] = catalogue.names[i].c_str();
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
