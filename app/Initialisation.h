// The initialisation: puts an instrument back to a known state in one
// operation (its clock, both totalizers, and the defaults of chosen blocks),
// talking to Jbus address 0 whatever address is configured.
#pragma once

#include "DialogContext.h"
#include "TemplateDialog.h"
#include "UnitCommands.h"

namespace vantor {

// Asks which blocks to write; Yes (or Enter) confirms, No cancels.
class InitialisationDialog : public TemplateDialog {
    Q_OBJECT
public:
    InitialisationDialog(const DialogContext& context, QWidget* owner);

private:
    DialogContext m_context;
};

// The Initialization command of the main menu: the dialog, a confirmation
// naming what will be erased, the writes under the wait window, and one message
// saying how it went.
void runInitialisation(const DialogContext& context, QWidget* owner);

}  // namespace vantor
