#include "FileCommands.h"

#include "CalibrationDialog.h"
#include "ValueCodec.h"

#include <array>
#include <cstring>
#include <vector>

namespace vantor {

namespace {

// The types in the order an extension is matched against them.
constexpr const FileType* kTypesByExtension[] = {&filetypes::kMeasurement, &filetypes::kCalibration,
                                                 &filetypes::kFactory, &filetypes::kMaker, &filetypes::kCan};

std::string ExtensionOf(const std::string& path)
{
    const std::string name = path.substr(FolderOf(path).size());
    const size_t point = name.rfind('.');
    return point == std::string::npos ? std::string() : name.substr(point + 1);
}

}  // namespace

void RunFileDialog(const DialogContext& context, QWidget* owner, const FileType& type)
{
    context.state.file.fileMode = true;
    if (&type == &filetypes::kCalibration) {
        CalibrationDialog dialog(context, owner);
        dialog.run();
    }
    // The measurement, factory, maker and CAN dialogs join here as they arrive.
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
    // The type is the extension's, compared case-sensitively; the access flags
    // only decide what the list offers.
    const std::string extension = ExtensionOf(*chosen);
    for (const FileType* type : kTypesByExtension) {
        if (extension == type->extension) {
            RunFileDialog(context, owner, *type);
            return;
        }
    }
}

void NewSettingsFile(const DialogContext& context, QWidget* owner, const FileType& type)
{
    const std::string path =
        NewFileName(context.state.settings.currentFolder, lang::FileNewPrefix.text(context.language()), type.extension);
    context.state.file.currentFilePath = path;
    std::vector<uint8_t> image(type.block->imageSize());
    if (&type == &filetypes::kCalibration)
        EncodeDefaults(kCalibrationTable, std::span<uint8_t>(image));
    else if (&type == &filetypes::kFactory)
        EncodeDefaults(kFactoryTable, std::span<uint8_t>(image));
    else if (&type == &filetypes::kMaker)
        EncodeDefaults(kMakerTable, std::span<uint8_t>(image));
    const FileStatus status = WriteSettingsFile(path, image);
    if (status != FileStatus::Ok) {
        ReportFileError(context, owner, status, path, type);
        return;
    }
    RunFileDialog(context, owner, type);
}

}  // namespace vantor
