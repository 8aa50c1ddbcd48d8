// The frame every parameter dialog (calibration, factory, maker, CAN) shares:
// opening on the instrument or on a settings file, the wait window, the
// binding tables, saving, uploading and the comparison offer. A dialog brings
// its tables in a ParameterForm and adds its own rules by overriding.
#pragma once

#include "Binding.h"
#include "BlockForms.h"
#include "DialogContext.h"
#include "SettingsFiles.h"
#include "TemplateDialog.h"
#include "Upload.h"

#include <span>
#include <vector>

namespace vantor {

struct ParameterForm {
    const DialogTemplate* dialogTemplate;
    BilingualText caption;
    // The block's values with their limits and lists, its settings files and
    // the names its deviation report uses.
    const BlockForm* block;
    ControlOfField controlOf;  // the dialog's control for each parameter it shows
    std::span<const LabelBinding> labels;
    std::span<const CheckBinding> checks;
    // The printout's document name (in English; a PDF file is proposed under it
    // in the user's language), and the controls kept off the paper besides
    // SAVEDISK, PRINT and TRANSFERT.
    BilingualText printTitle = {"", ""};
    std::span<const int> offPaper = {};
};

// Controls every parameter dialog has.
namespace controls {
inline constexpr int kFileName = 1011;
inline constexpr int kSaveDisk = 1035;
inline constexpr int kTransfert = 1036;
inline constexpr int kPrint = 1045;
inline constexpr int kCompare = 1198;
}  // namespace controls

class ParameterDialog : public TemplateDialog {
    Q_OBJECT
public:
    ParameterDialog(const ParameterForm& form, const DialogContext& context, QWidget* owner);

    // Reads the block (instrument or file) and fills the controls; false when the
    // dialog must close at once.
    bool opening();
    // Opens the dialog modally; returns at once when the opening failed.
    int run();

    // Closing with values changed since they were read, opened or saved asks
    // first; No (the default) goes back to the dialog.
    void reject() override;

protected:
    // Shows or hides controls by the values of others; runs after filling and
    // after every edit.
    virtual void applyRules() {}
    // The clock and totalizer options of the next upload.
    virtual UploadRequest uploadOptions() const { return {}; }
    // Runs after every press of TRANSFERT, whatever became of it.
    virtual void afterUpload() {}

    const DialogContext& context() const { return m_context; }
    ProgramState& state() const { return m_context.state; }

private:
    void numberLeft();
    void choiceConfirmed();
    void checkClicked();
    void saveToDisk();
    void print();
    void upload();
    void compare();
    void showFileName(const std::string& path);
    // The names of the parameters whose binding gives a label control.
    void showRowNames(int language);
    // What the user reads beside the control of a row of the block, in the
    // program's language; the row's own name when no control shows it.
    std::string nameOfRow(const std::string& rowName);
    // False, after one box naming them, when fields hold no number.
    bool fieldsHoldNumbers();
    const std::string& decimalSeparator();
    void offerComparison();
    bool offersComparison() const { return m_form.block->offersComparison(); }

    const ParameterForm& m_form;
    DialogContext m_context;
    // The block's image as read from the instrument or the file: what the
    // values are compared with to offer the comparison.
    std::vector<uint8_t> m_lastRead;
    // The values as last read, opened or saved: closing without them asks.
    std::vector<uint8_t> m_kept;
    std::string m_decimalSeparator;
    ChoiceList m_probeList{};
    std::vector<NumberBinding> m_numbers;
    std::vector<ChoiceBinding> m_choices;
};

// Creates the dialog, runs it and destroys it, as every menu command does.
template <typename Dialog>
void runDialog(const DialogContext& context, QWidget* owner)
{
    Dialog dialog(context, owner);
    dialog.run();
}

}  // namespace vantor
