// vantorctl convert: a measurement file into tab-separated text (or CSV with --csv), through the
// same conversion as the Convert File dialog. It needs no instrument.
#include "Conversion.h"
#include "CtlTool.h"
#include "LanguageTables.h"
#include "UserLocale.h"
#include "SettingsFiles.h"

#include <algorithm>
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

int convertCommand(Tool& tool, const Args& args)
{
    static const char* const kUsage = "convert takes FILE.mes [--csv] [--out FILE.prn|FILE.csv] [--language fr|en] [--decimal C]";
    std::string input, output;
    ConversionOptions options;
    options.language = tool.state.settings.language == kEnglish ? kEnglish : kFrench;
    options.locale = userLocaleItems();
    options.probes = &tool.state.catalogue;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--csv") {
            options.format = ConversionFormat::Csv;
        } else if (arg == "--out" && hasValue && !args[i + 1].empty()) {
            output = args[++i];
        } else if (arg == "--language" && hasValue && (args[i + 1] == "fr" || args[i + 1] == "en")) {
            options.language = args[++i] == "en" ? kEnglish : kFrench;
        } else if (arg == "--decimal" && hasValue && !args[i + 1].empty()) {
            options.locale.decimalSeparator = args[++i];
        } else if (input.empty() && !arg.empty() && arg[0] != '-') {
            input = arg;
        } else {
            return fail(kUsage);
        }
    }
    if (input.empty())
        return fail(kUsage);
    if (output.empty()) {
        output = folderOf(input) + proposedOutputName(input, options.format == ConversionFormat::Csv ? ".csv" : ".prn");
        // A name without ".mes" proposes itself: never write over the input.
        if (output == input)
            return fail("no .mes in the name of " + input + ", give --out");
    }
    const ConversionResult result = convertMeasurementFile(input, output, options);
    if (result.status == ConversionStatus::Refused)
        return fail(oneLine(measurementFileProblem(result.fileStatus, input, kEnglish)));
    if (result.status == ConversionStatus::SameAsInput)
        return fail(oneLine(lang::FileSameAsInput.text(kEnglish) + output));
    if (result.status != ConversionStatus::Done)
        return fail("cannot write " + output);
    return 0;
}

}  // namespace vantor::ctl
