#include "Compare.h"

#include "LanguageTables.h"
#include "Windows1252.h"

#include <QSaveFile>

namespace vantor {

namespace {

std::string numberPair(const NumberBinding& b, float unit, float file, int& decimals, const std::string& separator)
{
    std::string pair = formatBoundNumber(b.format, unit, decimals) + "\t" + formatBoundNumber(b.format, file, decimals);
    // Numbers follow the user's locale; the name in front of them keeps its points.
    const char point = separator.empty() ? '.' : separator[0];
    for (char& c : pair)
        if (c == '.')
            c = point;
    return pair;
}

std::string choiceName(const ChoiceBinding& b, int32_t index, int language)
{
    const char* text = choiceText(*b.list, b.count, b.bilingual == 1, index, language);
    return text ? text : "*****";
}

}  // namespace

DeviationReport makeDeviationReport(const ComparedBlock& block, ProgramState& instrument, ProgramState& file,
                                    const std::string& comparedPath, const QDateTime& now, const LocaleItems& locale,
                                    int language)
{
    DeviationReport report;
    report.text = std::string(lang::CmpUnitNumber.text(language)) + "\n" + lang::CmpReportTitle.text(language) + " " +
                  comparedPath + "\n" + lang::CmpDateLine.text(language) +
                  formatLocaleDate(locale, now.date().day(), now.date().month(), now.date().year()) + " " +
                  formatLocaleTime(locale, now.time().hour(), now.time().minute(), now.time().second()) + "\n" +
                  lang::CmpVisa.text(language) + "\n\n";
    const auto deviation = [&](const BilingualText& name, const std::string& values) {
        if (report.deviations++ == 0)
            report.text += lang::CmpReportHeader.text(language);
        report.text += std::string(name.text(language)) + "\t" + values + "\n";
    };
    for (size_t i = 0; i < block.numbers.size(); ++i) {
        const NumberBinding& b = block.numbers[i];
        const float unitValue = b.value(instrument);
        const float fileValue = b.value(file);
        if (unitValue != fileValue)
            deviation(block.numberNames[i],
                      numberPair(b, unitValue, fileValue, file.decimalsCount, locale.decimalSeparator));
    }
    for (size_t i = 0; i < block.choices.size(); ++i) {
        const ChoiceBinding& b = block.choices[i];
        const int32_t unitIndex = b.value(instrument);
        const int32_t fileIndex = b.value(file);
        if (unitIndex != fileIndex)
            deviation(block.choiceNames[i], choiceName(b, unitIndex, language) + "\t" + choiceName(b, fileIndex, language));
    }
    if (report.deviations == 0)
        report.text += std::string(lang::CmpNoDeviation.text(language)) + "\n";
    return report;
}

void compareWithFile(QWidget* owner, const DialogContext& context, const ComparedBlock& block)
{
    ProgramState& state = context.state;
    const int language = context.language();
    if (!askCompareFile(context, owner, *block.type))
        return;
    const std::string compared = state.file.currentFilePath;

    // The instrument's values, kept while the record holds the file's.
    ProgramState instrument = state;
    const FileStatus read = loadSettingsFile(compared, *block.type, replyImage(state.buffers), state.record);
    if (read != FileStatus::Ok) {
        reportFileError(context, owner, read, compared, *block.type);
        return;
    }
    const DeviationReport report =
        makeDeviationReport(block, instrument, state, compared, context.now(), context.locale(), language);
    // The dialog goes on showing the instrument's values, and offers the
    // comparison against the image read from the instrument, not the file's.
    state.record = instrument.record;
    state.buffers.reply = instrument.buffers.reply;

    const std::string path = newFileName(state.settings.currentFolder, lang::CmpDeviation.text(language), "prn");
    state.file.currentFilePath = path;
    QSaveFile out(QString::fromStdString(path));
    const std::string bytes = toWindows1252(report.text);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !out.commit()) {
        reportFileError(context, owner, FileStatus::CannotWrite, path, *block.type);
        return;
    }
    if (!state.settings.spreadsheetPath.empty()) {
        context.startProgram(state.settings.spreadsheetPath, {path});
        return;
    }
    context.prompts.messageBox(nullptr, "",
                               std::string(lang::CmpReportTitle.text(language)) + compared + "\n" +
                                   lang::CmpLookFile.text(language) + path,
                               BoxIcon::Question, BoxButtons::Ok);
}

}  // namespace vantor
