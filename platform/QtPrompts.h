#pragma once

#include "Prompts.h"

namespace vantor {

// The real boxes and file dialogs.
class QtPrompts : public Prompts {
public:
    BoxAnswer messageBox(QWidget* owner, const std::string& caption, const std::string& text, BoxIcon icon,
                         BoxButtons buttons) override;
    std::optional<std::string> openFileName(const FileRequest& request) override;
    std::optional<std::string> saveFileName(const FileRequest& request) override;
};

// Turns "Desc|*.a|Other|*.b;*.c|" into the file dialog's "Desc (*.a);;Other (*.b *.c)".
std::string qtFileFilter(const std::string& filter);

}  // namespace vantor
