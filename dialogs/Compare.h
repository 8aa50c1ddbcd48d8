// Comparing the instrument's values with a settings file of the same block, in
// a tab-separated deviation report opened in the spreadsheet program.
#pragma once

#include "Binding.h"
#include "DialogContext.h"
#include "SettingsFiles.h"

#include <span>

class QWidget;

namespace vantor {

struct ComparedBlock {
    const FileType* type;  // the files compared with, and the block's codec
    std::span<const NumberBinding> numbers;
    std::span<const BilingualText> numberNames;
    std::span<const ChoiceBinding> choices;
    std::span<const BilingualText> choiceNames;
};

// The COMPARE command. The parameter record shows the instrument's values again
// afterwards; the file state names the report.
void CompareWithFile(QWidget* owner, const DialogContext& context, const ComparedBlock& block);

}  // namespace vantor
