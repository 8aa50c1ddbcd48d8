#include "FileCommands.h"

#include "CalibrationDialog.h"
#include "CanDialog.h"
#include "FactoryDialog.h"
#include "MakerDialog.h"
#include "MeasurementDialog.h"

namespace vantor {

void RunFileDialog(const DialogContext& context, QWidget* owner, const FileType& type)
{
    context.state.file.fileMode = true;
    if (&type == &filetypes::kMeasurement)
        RunDialog<MeasurementDialog>(context, owner);
    else if (&type == &filetypes::kCalibration)
        RunDialog<CalibrationDialog>(context, owner);
    else if (&type == &filetypes::kFactory)
        RunDialog<FactoryDialog>(context, owner);
    else if (&type == &filetypes::kMaker)
        RunDialog<MakerDialog>(context, owner);
    else if (&type == &filetypes::kCan)
        RunDialog<CanDialog>(context, owner);
}

void OpenSettingsFile(const DialogContext& context, QWidget* owner)
{
    FileRequest request;
    request.owner = owner;
    request.filter = OpenFilter(context.state.access, context.language());
    request.initialFolder = context.state.settings.currentFolder;
    request.mustExist = true;
    const std::optional<std::string> chosen = context.prompts.openFileName(request);
    if (!chosen)
        return;
    context.state.file.currentFilePath = *chosen;
    context.state.settings.currentFolder = FolderOf(*chosen);
    // The type is the extension's; the access flags only decide what the list offers.
    if (const FileType* type = FileTypeOf(*chosen))
        RunFileDialog(context, owner, *type);
}

void NewSettingsFile(const DialogContext& context, QWidget* owner, const FileType& type)
{
    const std::string path =
        NewFileName(context.state.settings.currentFolder, lang::FileNewPrefix.text(context.language()), type.extension);
    context.state.file.currentFilePath = path;
    const FileStatus status = WriteDefaultSettingsFile(path, type);
    if (status != FileStatus::Ok) {
        ReportFileError(context, owner, status, path, type);
        return;
    }
    RunFileDialog(context, owner, type);
}

}  // namespace vantor
