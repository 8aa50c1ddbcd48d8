#pragma once

#include "Prompts.h"

#include <memory>

class QFileDialog;

namespace vantor {

// The real boxes and file dialogs.
class QtPrompts : public Prompts {
public:
    BoxAnswer messageBox(QWidget* owner, const std::string& caption, const std::string& text, BoxIcon icon,
                         BoxButtons buttons) override;
    std::optional<std::string> openFileName(const FileRequest& request) override;
    std::optional<std::string> saveFileName(const FileRequest& request) override;
    std::optional<std::string> textInput(QWidget* owner, const std::string& caption, const std::string& label,
                                         const std::string& initial) override;
};

// The dialog that openFileName (save false) and saveFileName show, not yet shown:
// Qt's own, with the sizes and dates of its detail view in the default locale,
// which follows the program's language where Qt's model would take the system's.
std::unique_ptr<QFileDialog> fileDialog(const FileRequest& request, bool save);

// Turns "Desc|*.a|Other|*.b;*.c|" into the file dialog's "Desc (*.a);;Other (*.b *.c)".
std::string qtFileFilter(const std::string& filter);

}  // namespace vantor
