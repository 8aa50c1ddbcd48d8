// The calibration dialog: shows and edits the instrument's calibration block,
// from the instrument or from a calibration file.
#pragma once

#include "ParameterDialog.h"

namespace vantor {

class CalibrationDialog : public ParameterDialog {
    Q_OBJECT
public:
    CalibrationDialog(const DialogContext& context, QWidget* owner);
    static const ParameterForm& form();

protected:
    void applyRules() override;
    UploadRequest uploadOptions() const override;
    void afterUpload() override;
};

}  // namespace vantor
