#include "BindingTables.h"

#include <cmath>

namespace vantor {

namespace {

template <typename Number>
void clampNumbers(std::span<const Number> table, ProgramState& state)
{
    for (const Number& b : table) {
        float& value = b.value(state);
        const double v = static_cast<double>(value);
        if (std::isnan(v) || v < b.minimum)
            value = static_cast<float>(b.minimum);
        else if (v > b.maximum)
            value = static_cast<float>(b.maximum);
    }
}

template <typename Choice>
void clampIndexes(std::span<const Choice> table, ProgramState& state)
{
    for (const Choice& b : table)
        if (int32_t& value = b.value(state); value >= b.count)
            value = 0;
}

template <typename Choice>
std::vector<Choice> pointedAtProbes(std::span<const Choice> table, const ChoiceList* probes)
{
    std::vector<Choice> bound(table.begin(), table.end());
    for (Choice& b : bound)
        if (!b.list)
            b.list = probes;
    return bound;
}

}  // namespace

void storeClampedNumbers(std::span<const NumberParameter> table, ProgramState& state) { clampNumbers(table, state); }
void storeClampedNumbers(std::span<const NumberBinding> table, ProgramState& state) { clampNumbers(table, state); }
void clampChoices(std::span<const ChoiceParameter> table, ProgramState& state) { clampIndexes(table, state); }
void clampChoices(std::span<const ChoiceBinding> table, ProgramState& state) { clampIndexes(table, state); }

std::vector<ChoiceParameter> withProbeList(std::span<const ChoiceParameter> table, const ChoiceList* probes)
{
    return pointedAtProbes(table, probes);
}

std::vector<ChoiceBinding> withProbeList(std::span<const ChoiceBinding> table, const ChoiceList* probes)
{
    return pointedAtProbes(table, probes);
}

void setProbeNames(ChoiceList& probes, const ProbeCatalogue& catalogue)
{
    probes.texts.fill("");
    for (size_t i = 0; i < kProbeCount; ++i)
        probes.texts[i] = catalogue.names[i].c_str();
}

}  // namespace vantor
