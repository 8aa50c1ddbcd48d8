// The File menu's commands: open a file in the dialog of its type, and create a
// file of default values under a fresh name.
#pragma once

#include "DialogContext.h"
#include "FileDialogs.h"
#include "SettingsFiles.h"

class QWidget;

namespace vantor {

void openSettingsFile(const DialogContext& context, QWidget* owner);
void newSettingsFile(const DialogContext& context, QWidget* owner, const FileType& type);
// Opens the dialog of the type on the current file, in file mode.
void runFileDialog(const DialogContext& context, QWidget* owner, const FileType& type);

}  // namespace vantor
