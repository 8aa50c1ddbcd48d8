#include "BindingTables.h"

#include <cmath>

namespace vantor {

void storeClampedNumbers(std::span<const NumberBinding> table, ProgramState& state)
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

}  // namespace vantor
