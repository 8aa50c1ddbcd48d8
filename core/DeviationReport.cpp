#include "DeviationReport.h"

#include "LanguageTables.h"
#include "NumberText.h"

namespace vantor {

namespace {

std::string numberPair(const NumberBinding& b, float unit, float file, int& decimals, const std::string& separator)
{
    std::string pair = formatBoundNumber(b.format, unit, decimals) + "\t" + formatBoundNumber(b.format, file, decimals);
    // Numbers follow the user's locale; the name in front of them keeps its points.
    const char point = separator.empty() ? '.' : separator[0];
    for (char& c : pair)
        if (c == '.')
            c = point;
    return pair;
}

std::string choiceName(const ChoiceBinding& b, int32_t index, int language)
{
    const char* text = choiceText(*b.list, b.count, b.bilingual == 1, index, language);
    return text ? text : "*****";
}

}  // namespace

DeviationReport makeDeviationReport(const BlockForm& form, const ProbeCatalogue& catalogue,
                                    const ParameterRecord& unit, const ParameterRecord& file,
                                    const std::string& comparedPath, const LocalDateTime& now, const LocaleItems& locale,
                                    int language)
{
    // The bindings reach a value through the program's variables: one scratch
    // set for each side, holding only its record.
    ProgramState unitSide;
    unitSide.record = unit;
    ProgramState fileSide;
    fileSide.record = file;
    ChoiceList probes{};
    setProbeNames(probes, catalogue);
    const std::vector<ChoiceBinding> choices = withProbeList(form.choices, &probes);
    int decimals = 0;

    DeviationReport report;
    report.text = std::string(lang::CmpUnitNumber.text(language)) + "\n" + lang::CmpReportTitle.text(language) + " " +
                  comparedPath + "\n" + lang::CmpDateLine.text(language) +
                  formatLocaleDate(locale, now.day, now.month, now.year) + " " +
                  formatLocaleTime(locale, now.hour, now.minute, now.second) + "\n" +
                  lang::CmpVisa.text(language) + "\n\n";
    const auto deviation = [&](const BilingualText& name, const std::string& values) {
        if (report.deviations++ == 0)
            report.text += lang::CmpReportHeader.text(language);
        report.text += std::string(name.text(language)) + "\t" + values + "\n";
    };
    for (size_t i = 0; i < form.numbers.size(); ++i) {
        const NumberBinding& b = form.numbers[i];
        const float unitValue = b.value(unitSide);
        const float fileValue = b.value(fileSide);
        if (unitValue != fileValue) {
            deviation(form.numberNames[i],
                      numberPair(b, unitValue, fileValue, decimals, locale.decimalSeparator));
            report.rows.push_back({form.numberNames[i].text(language), unitValue, fileValue, {}, {}});
        }
    }
    for (size_t i = 0; i < choices.size(); ++i) {
        const ChoiceBinding& b = choices[i];
        const int32_t unitIndex = b.value(unitSide);
        const int32_t fileIndex = b.value(fileSide);
        if (unitIndex != fileIndex) {
            deviation(form.choiceNames[i], choiceName(b, unitIndex, language) + "\t" + choiceName(b, fileIndex, language));
            report.rows.push_back({form.choiceNames[i].text(language), static_cast<double>(unitIndex),
                                   static_cast<double>(fileIndex), choiceName(b, unitIndex, language),
                                   choiceName(b, fileIndex, language)});
        }
    }
    if (report.deviations == 0)
        report.text += std::string(lang::CmpNoDeviation.text(language)) + "\n";
    return report;
}

namespace {

// A value's name where the report names none: its row's label.
const char* labelOf(const BlockForm& form, const ProgramState& state, const void* field, int language)
{
    const BilingualText* label = form.codec().fieldLabel(state.record, field);
    return label ? label->text(language) : "";
}

}  // namespace

std::vector<std::string> valuesOutsideLimits(const BlockForm& form, const ParameterRecord& record, int language)
{
    ProgramState scratch;
    scratch.record = record;
    std::vector<std::string> found;
    int decimals = 0;
    for (size_t i = 0; i < form.numbers.size(); ++i) {
        const NumberBinding& b = form.numbers[i];
        const double value = static_cast<double>(b.value(scratch));
        if (value >= b.minimum && value <= b.maximum)
            continue;
        const char* name = i < form.numberNames.size() ? form.numberNames[i].text(language)
                                                         : labelOf(form, scratch, &b.value(scratch), language);
        found.push_back(std::string(name) + " " + formatBoundNumber(b.format, b.value(scratch), decimals) + " (" +
                        formatDouble(b.format, b.minimum) + " .. " + formatDouble(b.format, b.maximum) + ")");
    }
    for (size_t i = 0; i < form.choices.size(); ++i) {
        const ChoiceBinding& b = form.choices[i];
        const int32_t index = b.value(scratch);
        if (index >= 0 && index < b.count)
            continue;
        const char* name = i < form.choiceNames.size() ? form.choiceNames[i].text(language)
                                                         : labelOf(form, scratch, &b.value(scratch), language);
        found.push_back(std::string(name) + " " + std::to_string(index) + " (0 .. " + std::to_string(b.count - 1) + ")");
    }
    return found;
}

}  // namespace vantor
