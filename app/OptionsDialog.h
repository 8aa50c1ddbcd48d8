// The options: Jbus address, port, speed, language and spreadsheet program,
// taking effect at once; Connect finds the instrument by itself.
#pragma once

#include "TemplateDialog.h"

namespace vantor {

class Program;

class OptionsDialog : public TemplateDialog {
    Q_OBJECT
public:
    OptionsDialog(Program& program, QWidget* owner);

    // Opens the dialog modally; every change is already in the settings when it returns.
    int run();
    // The opening steps alone, for callers that show the dialog themselves.
    void opening();

    void choiceConfirmed();
    // A Com chosen in the port list, or its last item: a device server's port
    // for the Com selected, typed and checked.
    void portChosen();
    void addressLeft();
    // Each port's item names its device, marked when absent.
    void showPortDevices();
    void browse();
    void connectToUnit();

private:
    Program& m_program;
    bool m_scanning = false;
};

}  // namespace vantor
