#include "Compare.h"

#include "LanguageTables.h"
#include "Windows1252.h"

#include <QFile>

#include <vector>

namespace vantor {

namespace {

// Appends to the report as each line is found, as a report is built up.
bool Append(const std::string& path, const std::string& text)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const std::string bytes = ToWindows1252(text);
    return file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

std::string NumberPair(const NumberBinding& b, float unit, float file, int& decimals, const std::string& separator)
{
    std::string pair = FormatBoundNumber(b.format, unit, decimals) + "\t" + FormatBoundNumber(b.format, file, decimals);
    // Numbers follow the user's locale; the name in front of them keeps its points.
    const char point = separator.empty() ? '.' : separator[0];
    for (char& c : pair)
        if (c == '.')
            c = point;
    return pair;
}

std::string ChoiceName(const ChoiceBinding& b, int32_t index, int language)
{
    const char* text = ChoiceText(*b.list, b.count, b.bilingual == 1, index, language);
    return text ? text : "*****";
}

}  // namespace

void CompareWithFile(QWidget* owner, const DialogContext& context, const ComparedBlock& block)
{
    ProgramState& state = context.state;
    const int language = context.language();
    if (!AskCompareFile(context, owner, *block.type))
        return;
    const std::string compared = state.file.currentFilePath;

    // The instrument's values, kept while the record holds the file's.
    ProgramState instrument = state;
    const FileStatus read = LoadSettingsFile(compared, *block.type, ReplyImage(state.buffers), state.record);
    if (read != FileStatus::Ok) {
        ReportFileError(context, owner, read, compared, *block.type);
        return;
    }

    const std::string report =
        NewFileName(state.settings.currentFolder, lang::CmpDeviation.text(language), "prn");
    state.file.currentFilePath = report;
    const QDateTime now = context.now();
    const LocaleItems locale = context.locale();
    const std::string head = std::string(lang::CmpUnitNumber.text(language)) + "\n" +
                             lang::CmpReportTitle.text(language) + " " + compared + "\n" +
                             lang::CmpDateLine.text(language) +
                             FormatLocaleDate(locale, now.date().day(), now.date().month(), now.date().year()) + " " +
                             FormatLocaleTime(locale, now.time().hour(), now.time().minute(), now.time().second()) +
                             "\n" + lang::CmpVisa.text(language) + "\n\n";
    QFile::remove(QString::fromStdString(report));
    bool written = Append(report, head);

    std::vector<std::string> lines;
    for (size_t i = 0; i < block.numbers.size(); ++i) {
        const NumberBinding& b = block.numbers[i];
        const float unitValue = b.value(instrument);
        const float fileValue = b.value(state);
        if (unitValue == fileValue)
            continue;
        lines.push_back(std::string(block.numberNames[i].text(language)) + "\t" +
                        NumberPair(b, unitValue, fileValue, state.decimalsCount, locale.decimalSeparator) + "\n");
    }
    for (size_t i = 0; i < block.choices.size(); ++i) {
        const ChoiceBinding& b = block.choices[i];
        const int32_t unitIndex = b.value(instrument);
        const int32_t fileIndex = b.value(state);
        if (unitIndex == fileIndex)
            continue;
        lines.push_back(std::string(block.choiceNames[i].text(language)) + "\t" + ChoiceName(b, unitIndex, language) +
                        "\t" + ChoiceName(b, fileIndex, language) + "\n");
    }
    bool headerWritten = false;
    for (const std::string& line : lines) {
        if (!headerWritten) {
            written = Append(report, lang::CmpReportHeader.text(language)) && written;
            headerWritten = true;
        }
        written = Append(report, line) && written;
    }
    if (!headerWritten)
        written = Append(report, std::string(lang::CmpNoDeviation.text(language)) + "\n") && written;

    state.record = instrument.record;
    if (!written) {
        ReportFileError(context, owner, FileStatus::CannotWrite, report, *block.type);
        return;
    }
    if (!state.settings.spreadsheetPath.empty()) {
        context.startProgram(state.settings.spreadsheetPath, {report});
        return;
    }
    context.prompts.messageBox(nullptr, "",
                               std::string(lang::CmpReportTitle.text(language)) + compared + "\n" +
                                   lang::CmpLookFile.text(language) + report,
                               BoxIcon::Question, BoxButtons::Ok);
}

}  // namespace vantor
