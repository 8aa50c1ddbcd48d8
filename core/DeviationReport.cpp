#include "DeviationReport.h"

#include "LanguageTables.h"
#include "NumberText.h"

namespace vantor {

namespace {

std::string numberPair(const NumberParameter& b, float unit, float file, int& decimals, const std::string& separator)
{
    std::string pair = formatBoundNumber(b.format, unit, decimals) + "\t" + formatBoundNumber(b.format, file, decimals);
    // Numbers follow the user's locale; the name in front of them keeps its points.
    const char point = separator.empty() ? '.' : separator[0];
    for (char& c : pair)
        if (c == '.')
            c = point;
    return pair;
}

std::string choiceName(const ChoiceParameter& b, int32_t index, int language)
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
    const std::vector<ChoiceParameter> choices = withProbeList(form.choices, &probes);
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
    for (const NumberParameter& b : form.numbers) {
        const float unitValue = b.value(unitSide);
        const float fileValue = b.value(fileSide);
        if (unitValue != fileValue) {
            deviation(b.name, numberPair(b, unitValue, fileValue, decimals, locale.decimalSeparator));
            report.rows.push_back({b.name.text(language), unitValue, fileValue, {}, {}});
        }
    }
    for (const ChoiceParameter& b : choices) {
        const int32_t unitIndex = b.value(unitSide);
        const int32_t fileIndex = b.value(fileSide);
        if (unitIndex != fileIndex) {
            deviation(b.name, choiceName(b, unitIndex, language) + "\t" + choiceName(b, fileIndex, language));
            report.rows.push_back({b.name.text(language), static_cast<double>(unitIndex),
                                   static_cast<double>(fileIndex), choiceName(b, unitIndex, language),
                                   choiceName(b, fileIndex, language)});
        }
    }
    if (report.deviations == 0)
        report.text += std::string(lang::CmpNoDeviation.text(language)) + "\n";
    return report;
}

std::vector<std::string> valuesOutsideLimits(const BlockForm& form, const ParameterRecord& record, int language)
{
    ProgramState scratch;
    scratch.record = record;
    std::vector<std::string> found;
    int decimals = 0;
    for (const NumberParameter& b : form.numbers) {
        const double value = static_cast<double>(b.value(scratch));
        if (value >= b.minimum && value <= b.maximum)
            continue;
        found.push_back(std::string(b.name.text(language)) + " " + formatBoundNumber(b.format, b.value(scratch), decimals) + " (" +
                        formatDouble(b.format, b.minimum) + " .. " + formatDouble(b.format, b.maximum) + ")");
    }
    for (const ChoiceParameter& b : form.choices) {
        const int32_t index = b.value(scratch);
        if (index >= 0 && index < b.count)
            continue;
        found.push_back(std::string(b.name.text(language)) + " " + std::to_string(index) + " (0 .. " + std::to_string(b.count - 1) + ")");
    }
    return found;
}

}  // namespace vantor
