// Comparing the instrument's values with a settings file of the same block, in
// a tab-separated deviation report opened in the spreadsheet program.
#pragma once

#include "Binding.h"
#include "DialogContext.h"
#include "SettingsFiles.h"

#include <QDateTime>

#include <span>
#include <string>

class QWidget;

namespace vantor {

struct ComparedBlock {
    const FileType* type;  // the files compared with, and the block's codec
    std::span<const NumberBinding> numbers;
    std::span<const BilingualText> numberNames;
    std::span<const ChoiceBinding> choices;
    std::span<const BilingualText> choiceNames;
};

struct DeviationReport {
    std::string text;  // UTF-8; lines end with a line feed
    int deviations = 0;
};

// The report between the instrument's values and the file's, held by two
// copies of the program's variables, in the language given.
DeviationReport makeDeviationReport(const ComparedBlock& block, ProgramState& instrument, ProgramState& file,
                                    const std::string& comparedPath, const QDateTime& now, const LocaleItems& locale,
                                    int language);

// The COMPARE command. The parameter record shows the instrument's values again
// afterwards; the file state names the report.
void compareWithFile(QWidget* owner, const DialogContext& context, const ComparedBlock& block);

}  // namespace vantor
