#include "ConvertFileDialog.h"

#include "Binding.h"
#include "LanguageTables.h"
#include "SettingsFiles.h"
#include "Templates.h"

#include <QCoreApplication>
#include <QProgressBar>

#include <climits>

namespace vantor {

namespace {

using namespace lang;

constexpr int kConversionTimer = 1;
constexpr int kTimerIntervalMs = 100;
constexpr int kInputPath = 1270;
constexpr int kOutputPath = 1271;
constexpr int kTotalRecords = 1262;
constexpr int kCurrentRecord = 1264;
constexpr int kLastDate = 1266;
constexpr int kFirstDate = 1268;
constexpr int kProgressBar = 1258;

constexpr LabelBinding kLabels[] = {
    {1273, ConvFileIn},     {1274, ConvFileOut},   {1275, ConvTotalRecord},
    {1276, ConvRecord},     {1277, ConvFirstDate}, {1278, ConvLastDate},
};

QString number(int64_t value) { return QString::number(static_cast<qlonglong>(value)); }

bool isCsvName(const std::string& path)
{
    return path.size() >= 4 && QString::fromStdString(path.substr(path.size() - 4)).toLower() == QLatin1String(".csv");
}

}  // namespace

ConvertFileDialog::ConvertFileDialog(const DialogContext& context, QWidget* owner)
    : TemplateDialog(templates::kConvertFile, owner), m_context(context)
{
    on(kConversionTimer, Notification::Timer, [this] { convert(); });
}

bool ConvertFileDialog::opening()
{
    const int language = m_context.language();
    centreOn(parentWidget());
    setWindowTitle(QString::fromUtf8(ConvConvertFile.text(language)));
    showLabels(*this, kLabels, language);

    m_input = m_context.state.file.currentFilePath;
    MeasurementFileGeometry geometry;
    const MeasurementFileStatus status = readMeasurementGeometry(m_input, geometry);
    if (status != MeasurementFileStatus::Ok) {
        showError(measurementFileProblem(status, m_input, language));
        return false;
    }
    setControlText(kInputPath, QString::fromStdString(m_input));

    FileRequest request;
    request.owner = this;
    request.title = ConvFileOut.text(language);
    // The type of the name chosen picks the format: the .prn text, or the CSV.
    request.filter = std::string(ConvFileOut.text(language)) + "(*.prn)|*.prn|" + ConvFormatCsv.text(language) +
                     "(*.csv)|*.csv|";
    request.initialFolder = m_context.state.settings.prnFolder;
    request.initialName = proposedOutputName(m_input);
    const std::optional<std::string> chosen = m_context.prompts.saveFileName(request);
    if (!chosen)
        return false;
    m_output = *chosen;
    m_format = isCsvName(m_output) ? ConversionFormat::Csv : ConversionFormat::Prn;
    m_context.state.settings.prnFolder = folderOf(m_output);
    setControlText(kOutputPath, QString::fromStdString(m_output));

    m_total = geometry.recordCount;
    m_progressScale = m_total / INT_MAX + 1;
    setControlText(kTotalRecords, number(m_total));
    if (auto* bar = control<QProgressBar>(kProgressBar)) {
        bar->setRange(0, static_cast<int>(m_total / m_progressScale));
        bar->setValue(0);
    }
    startWindowTimer(kConversionTimer, kTimerIntervalMs);
    return true;
}

int ConvertFileDialog::run()
{
    if (!opening())
        return QDialog::Rejected;
    return exec();
}

void ConvertFileDialog::reject()
{
    stopWindowTimer(kConversionTimer);
    if (m_busy)
        m_stopRequested = true;
    TemplateDialog::reject();
}

void ConvertFileDialog::convert()
{
    stopWindowTimer(kConversionTimer);
    // The events pumped during the conversion may bring another tick.
    if (m_busy)
        return;
    m_busy = true;
    const int language = m_context.language();
    const ConversionOptions options{language, m_context.locale(), m_format, &m_context.state.catalogue};
    const ConversionResult result = convertMeasurementFile(
        m_input, m_output, options, [this](const ConversionProgress& progress) { return showProgress(progress); });
    m_busy = false;
    if (result.status == ConversionStatus::Cancelled)
        return;  // the dialog is closing
    if (result.status != ConversionStatus::Done) {
        showError(conversionProblem(result, m_input, m_output, language));
        return;
    }
    const std::string& spreadsheet = m_context.state.settings.spreadsheetPath;
    if (spreadsheet.empty()) {
        // The final counts stay on view, with where the output went.
        m_context.prompts.messageBox(this, ConvConvertFile.text(language),
                                     ConvDone.text(language) + m_output + "\n\n" + NoSpreadsheet.text(language),
                                     BoxIcon::Information, BoxButtons::Ok);
        return;
    }
    if (m_context.startProgram(spreadsheet, {m_output}))
        accept();
    else
        showError(lang::ConvCannotStart.text(language) + spreadsheet);
}

bool ConvertFileDialog::showProgress(const ConversionProgress& progress)
{
    setControlText(kCurrentRecord, number(progress.done));
    setControlText(kFirstDate, QString::fromStdString(progress.firstDateTime));
    setControlText(kLastDate, QString::fromStdString(progress.lastDateTime));
    if (auto* bar = control<QProgressBar>(kProgressBar))
        bar->setValue(static_cast<int>(progress.done / m_progressScale));
    // Repaints, moves, and the close box, which stops the conversion.
    QCoreApplication::processEvents();
    return !m_stopRequested;
}

void ConvertFileDialog::showError(const std::string& text)
{
    m_context.prompts.messageBox(this, ConvConvertFile.text(m_context.language()), text, BoxIcon::Error,
                                 BoxButtons::Ok);
}

}  // namespace vantor
