// The comparison of an instrument's values with a settings file of the same
// block: a tab-separated deviation report in the program's language.
#pragma once

#include "BlockForms.h"
#include "LocalTime.h"
#include "LocaleFormat.h"
#include "ProbeCatalogue.h"

#include <string>
#include <vector>

namespace vantor {

// One row that differs, for the machine-readable outputs.
struct Deviation {
    std::string name;  // in the report's language, UTF-8
    double unitValue = 0, fileValue = 0;  // numbers as held; choices by index
    std::string unitText, fileText;       // a choice's texts; empty for numbers
};

struct DeviationReport {
    std::string text;  // UTF-8; lines end with a line feed
    int deviations = 0;
    std::vector<Deviation> rows;  // in the order of the text
};

// The report between the unit's values and the file's, row by row of the
// block's form, the probe named from the catalogue.
DeviationReport makeDeviationReport(const BlockForm& form, const ProbeCatalogue& catalogue,
                                    const ParameterRecord& unit, const ParameterRecord& file,
                                    const std::string& comparedPath, const LocalDateTime& now, const LocaleItems& locale,
                                    int language);

// The form's values that the record holds outside their limits or lists, each
// as "name value (low .. high)".
std::vector<std::string> valuesOutsideLimits(const BlockForm& form, const ParameterRecord& record, int language);

}  // namespace vantor
