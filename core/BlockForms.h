// The instrument's parameter blocks as the program shows and checks them: each
// block's numbers with their format and limits, its choices with their lists,
// and the names its deviation report gives them. The dialogs bind these tables
// to their controls; vantorctl and the comparison use the same rows.
#pragma once

#include "BindingTables.h"
#include "SettingsFiles.h"

#include <span>

namespace vantor {

struct BlockForm {
    const FileType* fileType;  // the block's settings files, and through them its codec
    std::span<const NumberBinding> numbers;
    std::span<const ChoiceBinding> choices;  // a null list stands for the probe catalogue's names
    // Names of the values in a deviation report, in table order; a block
    // without them is not compared.
    std::span<const BilingualText> numberNames = {};
    std::span<const BilingualText> choiceNames = {};

    const BlockCodec& codec() const { return *fileType->codec; }
    const BlockInfo& block() const { return *fileType->codec->block; }
    bool offersComparison() const { return !numberNames.empty() || !choiceNames.empty(); }
};

namespace forms {
extern const BlockForm kCalibration;
extern const BlockForm kFactory;
extern const BlockForm kMaker;
extern const BlockForm kCan;
}  // namespace forms

// The form of a settings file type's block.
const BlockForm& formOf(const FileType& type);

}  // namespace vantor
