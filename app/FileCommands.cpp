#include "FileCommands.h"

#include "CalibrationDialog.h"
#include "CanDialog.h"
#include "FactoryDialog.h"
#include "MakerDialog.h"
#include "MeasurementDialog.h"

namespace vantor {

void runFileDialog(const DialogContext& context, QWidget* owner, const FileType& type)
{
    context.state.file.fileMode = true;
    if (&type == &filetypes::kMeasurement)
        runDialog<MeasurementDialog>(context, owner);
    else if (&type == &filetypes::kCalibration)
        runDialog<CalibrationDialog>(context, owner);
    else if (&type == &filetypes::kFactory)
        runDialog<FactoryDialog>(context, owner);
    else if (&type == &filetypes::kMaker)
        runDialog<MakerDialog>(context, owner);
    else if (&type == &filetypes::kCan)
        runDialog<CanDialog>(context, owner);
}

void openSettingsFile(const DialogContext& context, QWidget* owner)
{
    FileRequest request;
    request.owner = owner;
    request.filter = openFilter(context.state.access, context.language());
    request.initialFolder = context.state.settings.currentFolder;
    request.mustExist = true;
    const std::optional<std::string> chosen = context.prompts.openFileName(request);
    if (!chosen)
        return;
    context.state.file.currentFilePath = *chosen;
    context.state.settings.currentFolder = folderOf(*chosen);
    // The type is the extension's; the access flags only decide what the list offers.
    if (const FileType* type = fileTypeOf(*chosen))
        runFileDialog(context, owner, *type);
}

void newSettingsFile(const DialogContext& context, QWidget* owner, const FileType& type)
{
    const std::string path =
        newFileName(context.state.settings.currentFolder, lang::FileNewPrefix.text(context.language()), type.extension);
    context.state.file.currentFilePath = path;
    const FileStatus status = writeDefaultSettingsFile(path, type);
    if (status != FileStatus::Ok) {
        reportFileError(context, owner, status, path, type);
        return;
    }
    runFileDialog(context, owner, type);
}

}  // namespace vantor
