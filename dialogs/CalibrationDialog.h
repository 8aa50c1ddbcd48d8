// The calibration dialog: shows and edits the instrument's calibration block,
// from the instrument or from a calibration file.
#pragma once

#include "Binding.h"
#include "DialogContext.h"
#include "TemplateDialog.h"

#include <array>

namespace vantor {

class CalibrationDialog : public TemplateDialog {
    Q_OBJECT
public:
    CalibrationDialog(const DialogContext& context, QWidget* owner);

    // Reads the block (instrument or file) and fills the controls; false when the
    // dialog must close at once.
    bool opening();
    // Opens the dialog modally; returns at once when the opening failed.
    int run();

    // Handlers.
    void numberLeft();
    void choiceConfirmed();
    void checkClicked();
    void saveToDisk();
    void print();
    void upload();
    void compare();

    static std::span<const NumberBinding> numberTable();
    std::span<const ChoiceBinding> choiceTable() const { return m_choices; }

private:
    void applyVisibility();
    void offerComparison();
    void show(std::initializer_list<int> controls, bool visible);

    DialogContext m_context;
    ChoiceList m_probeList{};
    std::array<ChoiceBinding, 15> m_choices;
};

}  // namespace vantor
