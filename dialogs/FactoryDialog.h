// The factory settings dialog: the instrument's language and function, flow
// simulation, transmit and receive set-up, the two probe channels and the
// linearisation table.
#pragma once

#include "ParameterDialog.h"

namespace vantor {

class FactoryDialog : public ParameterDialog {
    Q_OBJECT
public:
    FactoryDialog(const DialogContext& context, QWidget* owner);
    static const ParameterForm& form();

protected:
    void applyRules() override;
    void afterUpload() override;
};

}  // namespace vantor
