#include "FileDialogs.h"

namespace vantor {

namespace {

std::string typeEntry(const FileType& type, int language)
{
    const std::string ext = type.extension;
    return std::string(type.name.text(language)) + " (*." + ext + ")|*." + ext + "|";
}

bool askFile(const DialogContext& context, QWidget* owner, const FileType& type, bool save)
{
    FileRequest request;
    request.owner = owner;
    request.filter = typeEntry(type, context.language());
    request.initialFolder = context.state.settings.currentFolder;
    request.mustExist = !save;
    const std::optional<std::string> chosen =
        save ? context.prompts.saveFileName(request) : context.prompts.openFileName(request);
    if (!chosen)
        return false;
    const std::string path = withExtension(*chosen, type.extension);
    // The dialog asked about the name typed, not the one with the type's extension.
    if (save && path != *chosen && pathExists(path)) {
        const int language = context.language();
        if (context.prompts.messageBox(owner, type.name.text(language), lang::FileReplace.text(language) + path,
                                       BoxIcon::Question, BoxButtons::YesNo) != BoxAnswer::Yes)
            return false;
    }
    context.state.file.currentFilePath = path;
    context.state.settings.currentFolder = folderOf(context.state.file.currentFilePath);
    return true;
}

}  // namespace

std::string openFilter(const AccessFlags& access, int language)
{
    std::string filter = "(*.*)|*.mes;*.eta";
    if (access.can)
        filter += ";*.can";
    if (access.factory)
        filter += ";*.rus";
    if (access.maker)
        filter += ";*.hdm";
    filter += "|";
    filter += typeEntry(filetypes::kMeasurement, language);
    filter += typeEntry(filetypes::kCalibration, language);
    if (access.can)
        filter += typeEntry(filetypes::kCan, language);
    if (access.factory)
        filter += typeEntry(filetypes::kFactory, language);
    if (access.maker)
        filter += typeEntry(filetypes::kMaker, language);
    return filter;
}

bool askSaveFile(const DialogContext& context, QWidget* owner, const FileType& type)
{
    return askFile(context, owner, type, true);
}

bool askCompareFile(const DialogContext& context, QWidget* owner, const FileType& type)
{
    return askFile(context, owner, type, false);
}

void reportFileError(const DialogContext& context, QWidget* owner, FileStatus status, const std::string& path,
                     const FileType& type)
{
    const int language = context.language();
    context.prompts.messageBox(owner, type.name.text(language), fileProblem(status, path, language), BoxIcon::Error,
                               BoxButtons::Ok);
}

}  // namespace vantor
