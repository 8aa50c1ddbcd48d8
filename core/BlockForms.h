// The instrument's parameter blocks as the program shows and checks them: which
// of each block's values are edited as numbers and as choices, with format,
// limits, list and name, all taken from the block's descriptor rows and in
// their order, which is the order the dialogs walk them and the deviation
// report lists them. The dialogs bind these parameters to their controls;
// vantorctl and the comparison use the same.
#pragma once

#include "BindingTables.h"
#include "SettingsFiles.h"

#include <span>

namespace vantor {

struct BlockForm {
    const FileType* fileType;  // the block's settings files, and through them its codec
    std::span<const NumberParameter> numbers;
    std::span<const ChoiceParameter> choices;  // a null list stands for the probe catalogue's names
    bool compared = false;                     // a file of the block may be compared with the unit

    const BlockCodec& codec() const { return *fileType->codec; }
    const BlockInfo& block() const { return *fileType->codec->block; }
    bool offersComparison() const { return compared; }
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
