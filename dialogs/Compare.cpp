#include "Compare.h"

#include "AtomicFile.h"
#include "DeviationReport.h"
#include "FileDialogs.h"
#include "LanguageTables.h"
#include "Windows1252.h"

#include <vector>

namespace vantor {

void compareWithFile(QWidget* owner, const DialogContext& context, const BlockForm& form)
{
    ProgramState& state = context.state;
    const int language = context.language();
    const FileType& type = *form.fileType;
    if (!askCompareFile(context, owner, type))
        return;
    const std::string compared = state.file.currentFilePath;

    ParameterRecord file;
    std::vector<uint8_t> image(form.block().imageSize());
    const FileStatus read = loadSettingsFile(compared, type, image, file);
    if (read != FileStatus::Ok) {
        reportFileError(context, owner, read, compared, type);
        return;
    }
    const DeviationReport report = makeDeviationReport(form, state.catalogue, state.record, file, compared,
                                                       context.localNow(), context.locale(), language);

    const std::string path = newFileName(state.settings.currentFolder, lang::CmpDeviation.text(language), "prn");
    state.file.currentFilePath = path;
    if (!replaceFile(path, toWindows1252(report.text))) {
        reportFileError(context, owner, FileStatus::CannotWrite, path, type);
        return;
    }
    const std::string& spreadsheet = state.settings.spreadsheetPath;
    if (!spreadsheet.empty()) {
        if (!context.startProgram(spreadsheet, {path}))
            context.prompts.messageBox(owner, lang::CmpCaption.text(language),
                                       lang::ConvCannotStart.text(language) + spreadsheet, BoxIcon::Error,
                                       BoxButtons::Ok);
        return;
    }
    context.prompts.messageBox(nullptr, lang::CmpCaption.text(language),
                               std::string(lang::CmpReportTitle.text(language)) + compared + "\n" +
                                   lang::CmpLookFile.text(language) + path + "\n\n" +
                                   lang::NoSpreadsheet.text(language),
                               BoxIcon::Question, BoxButtons::Ok);
}

}  // namespace vantor
