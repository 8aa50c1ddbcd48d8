// The Convert File dialog: converts the measurement file in use into
// tab-separated text (or CSV, when the name chosen ends in .csv) under a name the user chooses, showing its progress, then
// opens the result in the spreadsheet program when one is set.
#pragma once

#include "Conversion.h"
#include "DialogContext.h"
#include "TemplateDialog.h"

#include <cstdint>
#include <string>

namespace vantor {

class ConvertFileDialog : public TemplateDialog {
    Q_OBJECT
public:
    ConvertFileDialog(const DialogContext& context, QWidget* owner);

    // Checks the input file and asks where to write; false when the dialog
    // must close at once (a refused file, or the save prompt cancelled). On
    // true the conversion starts at the first tick of the dialog's timer.
    bool opening();
    // Opens the dialog modally; returns at once when the opening failed.
    int run();

    // Closing the dialog also stops a conversion under way.
    void reject() override;

private:
    void convert();
    bool showProgress(const ConversionProgress& progress);
    void showError(const std::string& text);

    DialogContext m_context;
    std::string m_input;
    std::string m_output;
    ConversionFormat m_format = ConversionFormat::Prn;
    int64_t m_total = 0;
    int64_t m_progressScale = 1;  // records per step of the progress bar, whose range is an int
    bool m_busy = false;
    bool m_stopRequested = false;
};

}  // namespace vantor
