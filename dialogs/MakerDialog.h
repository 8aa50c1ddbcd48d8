// The maker settings dialog: the instrument's reference and the calibration
// points of its current output.
#pragma once

#include "ParameterDialog.h"

namespace vantor {

class MakerDialog : public ParameterDialog {
    Q_OBJECT
public:
    MakerDialog(const DialogContext& context, QWidget* owner);
    static const ParameterForm& form();
};

}  // namespace vantor
