// The file dialogs and messages around settings files: choosing a file to save
// or compare, the Open dialog's filter, and telling the user what went wrong.
#pragma once

#include "DialogContext.h"
#include "SettingsFiles.h"

#include <string>

class QWidget;

namespace vantor {

// The Open dialog's filter: the combined entry, then one entry per type offered.
std::string openFilter(const AccessFlags& access, int language);

// The save and compare dialogs. On true the file state names the chosen file
// (with the type's extension) and its folder.
bool askSaveFile(const DialogContext& context, QWidget* owner, const FileType& type);
bool askCompareFile(const DialogContext& context, QWidget* owner, const FileType& type);

// Tells the user, in the current language, what went wrong with the file.
void reportFileError(const DialogContext& context, QWidget* owner, FileStatus status, const std::string& path,
                     const FileType& type);

}  // namespace vantor
