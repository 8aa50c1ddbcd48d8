// COMPARE: the instrument's values in the dialog against a settings file of
// the same block, the deviation report opened in the spreadsheet program.
#pragma once

#include "BlockForms.h"
#include "DialogContext.h"

class QWidget;

namespace vantor {

// The parameter record goes on holding the instrument's values; the file
// state names the report.
void compareWithFile(QWidget* owner, const DialogContext& context, const BlockForm& form);

}  // namespace vantor
