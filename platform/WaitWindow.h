// The modeless "please wait" popup shown while a block travels over the link.
#pragma once

#include "TemplateDialog.h"

namespace vantor {

class WaitWindow : public TemplateDialog {
    Q_OBJECT
public:
    // Shows itself at once, centred on its parent, with the text of the language.
    WaitWindow(QWidget* parent, int language);
};

}  // namespace vantor
