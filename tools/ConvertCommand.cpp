// vantorctl convert: a measurement file into tab-separated text (or CSV with --csv), through the
// same conversion as the Convert File dialog. It needs no instrument.
#include "Conversion.h"
#include "CtlTool.h"
#include "LanguageTables.h"
#include "JsonLine.h"
#include "UserLocale.h"
#include "SettingsFiles.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace vantor::ctl {

namespace {

// One line for a message that may span several.
std::string oneLine(std::string text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

}  // namespace

int convertCommand(Tool& tool, const ConvertOptions& given)
{
    const int language = tool.language();
    ConversionOptions options;
    options.language = language;
    options.locale = userLocaleItems();
    options.probes = &tool.state.catalogue;
    options.format = given.csv ? ConversionFormat::Csv : ConversionFormat::Prn;
    // The CSV's numbers always have a point: a separator asked for it would be ignored.
    if (given.csv && !given.decimal.empty())
        return tool.fail(tool.text(lang::CtlCsvDecimal), "usage");
    if (!given.decimal.empty())
        options.locale.decimalSeparator = given.decimal;
    const std::string& input = given.input;
    std::string output = given.output;
    if (output.empty()) {
        output = folderOf(input) + proposedOutputName(input, given.csv ? ".csv" : ".prn");
        // A name without ".mes" proposes itself: never write over the input.
        if (output == input)
            return tool.fail(formatted(tool.text(lang::CtlNoMesInName), input.c_str()), "usage");
    }
    const ConversionResult result = convertMeasurementFile(input, output, options);
    if (result.status == ConversionStatus::Refused) {
        // A file of another kind (a settings file, a text) is named as such.
        const bool namedMes = fileTypeOf(input) == &filetypes::kMeasurement;
        if (!namedMes && result.fileStatus != MeasurementFileStatus::CannotOpen)
            return tool.fail(formatted(tool.text(lang::CtlNotMeasurementFile), input.c_str()), "file_invalid");
        return tool.fail(oneLine(measurementFileProblem(result.fileStatus, input, language)),
                         result.fileStatus == MeasurementFileStatus::CannotOpen ? "file_unreadable" : "file_invalid");
    }
    if (result.status == ConversionStatus::SameAsInput)
        return tool.fail(oneLine(lang::FileSameAsInput.text(language) + output), "usage");
    if (result.status != ConversionStatus::Done)
        return tool.fail(formatted(tool.text(lang::CtlCannotWrite), output.c_str(), std::strerror(errno)),
                         "file_unwritable");
    if (tool.json)
        JsonLine().boolean("ok", true).text("file", output).integer("records", result.records).print();
    return 0;
}

}  // namespace vantor::ctl
