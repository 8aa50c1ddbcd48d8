// The About box: what the program file says about itself.
#pragma once

#include "TemplateDialog.h"

namespace vantor {

class Program;

class AboutBox : public TemplateDialog {
    Q_OBJECT
public:
    AboutBox(const Program& program, QWidget* owner);
};

}  // namespace vantor
