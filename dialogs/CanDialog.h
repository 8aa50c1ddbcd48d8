// The CAN settings dialog: node number and type, bus frequency, transmit period
// and the items the instrument sends on the bus.
#pragma once

#include "ParameterDialog.h"

namespace vantor {

class CanDialog : public ParameterDialog {
    Q_OBJECT
public:
    CanDialog(const DialogContext& context, QWidget* owner);
    static const ParameterForm& form();
};

}  // namespace vantor
