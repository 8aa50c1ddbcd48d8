#include "Conversion.h"

#include "AtomicFile.h"
#include "BlockTables.h"
#include "CsvConversion.h"
#include "LanguageTables.h"
#include "NumberText.h"
#include "ValueCodec.h"
#include "SettingsFiles.h"
#include "Windows1252.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <limits>

namespace vantor {

namespace {

using M = MeasurementValues;

constexpr size_t kOutputBufferSize = size_t{1} << 20;
constexpr uint32_t kNotFormatted = std::numeric_limits<uint32_t>::max();
constexpr int kTimesOfDay = 24 * 60 * 60;
const char* const kUnknownUnit = "*****";

// Only the rows a line shows: decoding the whole image for every record would
// cost more than the rest of the line.
constexpr ValueRef<M> kLineFields[] = {&M::flow,  &M::speed, &M::flowUnit, &M::velocity, &M::month,
                                       &M::year,  &M::hour,  &M::day,      &M::second,   &M::minute};

constexpr std::array<Descriptor<M>, std::size(kLineFields)> lineRows()
{
    std::array<Descriptor<M>, std::size(kLineFields)> rows{};
    size_t found = 0;
    for (const auto& row : tables::kMeasurement)
        for (const auto& field : kLineFields)
            if (row.value == field)
                rows[found++] = row;
    if (found != rows.size())
        throw "a field of the line has no row in the measurement table";
    return rows;
}
constexpr auto kLineRows = lineRows();

char* appendText(char* out, std::string_view text)
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// The value as AutoDecimals rounds it, with its decimals, as "%.*f" writes it.
char* appendNumber(char* out, float value)
{
    int decimals = 0;
    const double rounded = autoDecimals(value, decimals);
    return std::to_chars(out, out + 48, rounded, std::chars_format::fixed, decimals).ptr;
}

// The first character of the locale's separator, in the output's code page.
char decimalSeparatorOf(const LocaleItems& locale)
{
    const std::string& separator = locale.decimalSeparator;
    if (separator.empty())
        return '.';
    size_t length = 1;
    const auto lead = static_cast<uint8_t>(separator[0]);
    if (lead >= 0xF0)
        length = 4;
    else if (lead >= 0xE0)
        length = 3;
    else if (lead >= 0xC0)
        length = 2;
    const std::string encoded = toWindows1252(std::string_view(separator).substr(0, length));
    return encoded.empty() ? '.' : encoded[0];
}

}  // namespace

ConversionFormatter::ConversionFormatter(const ConversionOptions& options)
    : m_options(options), m_decimal(decimalSeparatorOf(options.locale)), m_timeAt(kTimesOfDay, kNotFormatted)
{
    const int language = options.language;
    const std::string header = std::string("N\xC2\xB0\t") + lang::ConvDate.text(language) + "\t" +
                               lang::ConvTime.text(language) + "\t" + lang::MeasFlow.text(language) + "\t" +
                               lang::CalQUnit.text(language) + "\t" + lang::MeasSpeed.text(language) + "\t" +
                               lang::MeasVelocity.text(language) + "\n";
    m_header = toWindows1252(header);
    for (int i = 0; i < lang::ListFlowUnit.count; ++i) {
        const char* unit = choiceText(lang::ListFlowUnit, i, language == 1 ? 1 : 0);
        m_units.push_back(toWindows1252(unit ? unit : kUnknownUnit));
    }
}

char* ConversionFormatter::appendDate(char* out, int day, int month, int year)
{
    const int key = (year << 16) | (month << 8) | day;
    if (key != m_dateKey) {
        m_date = toWindows1252(formatLocaleDate(m_options.locale, day, month, year));
        m_dateKey = key;
    }
    return appendText(out, m_date);
}

char* ConversionFormatter::appendTime(char* out, int hour, int minute, int second)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return appendText(out, toWindows1252(formatLocaleTime(m_options.locale, hour, minute, second)));
    uint32_t& at = m_timeAt[static_cast<size_t>((hour * 60 + minute) * 60 + second)];
    if (at == kNotFormatted) {
        // A length byte, then the text: FormatLocaleTime never writes more than 159 bytes.
        const std::string text = toWindows1252(formatLocaleTime(m_options.locale, hour, minute, second));
        at = static_cast<uint32_t>(m_timeTexts.size());
        m_timeTexts += static_cast<char>(std::min<size_t>(text.size(), 255));
        m_timeTexts.append(text, 0, std::min<size_t>(text.size(), 255));
    }
    const size_t length = static_cast<uint8_t>(m_timeTexts[at]);
    return appendText(out, std::string_view(m_timeTexts).substr(at + 1, length));
}

size_t ConversionFormatter::formatRecord(std::span<const uint8_t> frame, int64_t index, char* out)
{
    decodeImage(DescriptorTable<M>(kLineRows), frame.subspan(kRecordImageOffset, kMeasurementBlock.imageSize()), m_values);
    const M& v = m_values;
    char* p = std::to_chars(out, out + 24, index + 1).ptr;
    *p++ = '\t';
    p = appendDate(p, v.day, v.month, 2000 + v.year);
    *p++ = '\t';
    p = appendTime(p, v.hour, v.minute, v.second);
    *p++ = '\t';
    p = appendNumber(p, v.flow);
    *p++ = '\t';
    p = v.flowUnit >= 0 && v.flowUnit < static_cast<int>(m_units.size())
            ? appendText(p, m_units[static_cast<size_t>(v.flowUnit)])
            : appendText(p, kUnknownUnit);
    *p++ = '\t';
    p = appendNumber(p, v.speed);
    *p++ = '\t';
    p = appendNumber(p, v.velocity);
    *p++ = '\t';
    *p++ = '\n';
    if (m_decimal != '.')
        std::replace(out, p, '.', m_decimal);
    return static_cast<size_t>(p - out);
}

std::string ConversionFormatter::lastDateTime() const
{
    return formatLocaleDate(m_options.locale, m_values.day, m_values.month, 2000 + m_values.year) + " " +
           formatLocaleTime(m_options.locale, m_values.hour, m_values.minute, m_values.second);
}

namespace {

// One pass over the records with either line formatter: the same reading,
// buffering, progress and atomic replacement for every format.
template <typename Formatter>
ConversionResult convertRecords(MeasurementRecordReader& reader, const std::string& output,
                                const ConversionOptions& options, const ConversionProgressFn& progress,
                                int64_t progressInterval)
{
    ConversionResult result;
    result.fileStatus = MeasurementFileStatus::Ok;
    const MeasurementFileGeometry geometry = reader.geometry();

    AtomicFile file(output);
    if (!file.open()) {
        result.status = ConversionStatus::CannotWrite;
        return result;
    }
    // From here on, leaving without commit() discards the temporary file.
    const auto stop = [&](ConversionStatus status) {
        file.cancel();
        result.status = status;
        return result;
    };

    Formatter formatter(options);
    std::vector<char> buffer(kOutputBufferSize);
    size_t used = 0;
    const auto flush = [&] {
        const bool written = file.write(std::string_view(buffer.data(), used));
        used = 0;
        return written;
    };
    const std::string_view header = formatter.header();
    std::memcpy(buffer.data(), header.data(), header.size());
    used = header.size();

    ConversionProgress report;
    report.total = geometry.recordCount;
    const auto reportProgress = [&] {
        report.done = result.records;
        report.lastDateTime = formatter.lastDateTime();
        return progress(report);
    };
    const int64_t interval = std::max<int64_t>(1, progressInterval);
    std::array<uint8_t, kMaxRecordLength> frame{};
    const std::span<uint8_t> record(frame.data(), geometry.recordLength);
    while (reader.next(record)) {
        if (buffer.size() - used < Formatter::kMaxLineSize && !flush())
            return stop(ConversionStatus::CannotWrite);
        used += formatter.formatRecord(record, result.records, buffer.data() + used);
        ++result.records;
        if (!progress)
            continue;
        if (result.records == 1)
            report.firstDateTime = formatter.lastDateTime();
        if (result.records % interval == 0 && result.records < geometry.recordCount && !reportProgress())
            return stop(ConversionStatus::Cancelled);
    }
    if (result.records < geometry.recordCount) {
        // The file shrank or failed under the reader.
        result.fileStatus = MeasurementFileStatus::CannotOpen;
        return stop(ConversionStatus::Refused);
    }
    if (!flush())
        return stop(ConversionStatus::CannotWrite);
    if (progress && !reportProgress())
        return stop(ConversionStatus::Cancelled);
    if (!file.commit()) {
        result.status = ConversionStatus::CannotWrite;
        return result;
    }
    result.status = ConversionStatus::Done;
    return result;
}

}  // namespace

ConversionResult convertMeasurementFile(const std::string& input, const std::string& output,
                                        const ConversionOptions& options, const ConversionProgressFn& progress,
                                        int64_t progressInterval)
{
    ConversionResult result;
    MeasurementRecordReader reader;
    result.fileStatus = reader.open(input);
    if (result.fileStatus != MeasurementFileStatus::Ok)
        return result;
    // Replacing the recording by its own text would lose the measurements.
    if (sameFile(input, output)) {
        result.status = ConversionStatus::SameAsInput;
        return result;
    }
    if (options.format == ConversionFormat::Csv)
        return convertRecords<CsvFormatter>(reader, output, options, progress, progressInterval);
    return convertRecords<ConversionFormatter>(reader, output, options, progress, progressInterval);
}

std::string proposedOutputName(const std::string& inputPath, const char* extension)
{
    const size_t separator = inputPath.find_last_of("/\\");
    std::string name = separator == std::string::npos ? inputPath : inputPath.substr(separator + 1);
    for (size_t at = name.find(".mes"); at != std::string::npos; at = name.find(".mes", at + 4))
        name.replace(at, 4, extension);
    return name;
}

std::string conversionProblem(const ConversionResult& result, const std::string& input, const std::string& output,
                              int language)
{
    switch (result.status) {
    case ConversionStatus::Refused:
        return lang::ConvNothingConverted.text(language) + measurementFileProblem(result.fileStatus, input, language);
    case ConversionStatus::CannotWrite:
        return std::string(lang::ConvNothingConverted.text(language)) + lang::FileCannotWrite.text(language) + output;
    case ConversionStatus::SameAsInput:
        return std::string(lang::ConvNothingConverted.text(language)) + lang::FileSameAsInput.text(language) + output;
    case ConversionStatus::Done:
    case ConversionStatus::Cancelled: break;
    }
    return {};
}

}  // namespace vantor
