// Conversion of a measurement file into tab-separated text for a spreadsheet:
// a header line, then one line per record (number, date, time, flow, flow
// unit, speed, velocity), in Windows-1252, each line ended by a line feed.
#pragma once

#include "LocaleFormat.h"
#include "MeasurementFile.h"
#include "ParameterRecord.h"
#include "ProbeCatalogue.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

enum class ConversionFormat {
    Prn,  // tab-separated Windows-1252 text, six columns
    Csv,  // UTF-8 comma-separated values of every field (CsvConversion.h)
};

struct ConversionOptions {
    int language = 0;    // of the header and the flow unit texts
    LocaleItems locale;  // date and time formats, and the decimal separator
    ConversionFormat format = ConversionFormat::Prn;
    // Names of the CSV's probe column; the probe's index where none is known.
    const ProbeCatalogue* probes = nullptr;
};

// Formats the lines of a conversion into the caller's buffers, allocating
// nothing per line.
class ConversionFormatter {
public:
    // Room a record's line may need, line feed included.
    static constexpr size_t kMaxLineSize = 512;

    explicit ConversionFormatter(const ConversionOptions& options);

    // The header line, line feed included (no decimal separator replacement).
    std::string_view header() const { return m_header; }
    // Writes the line of record `index` (0-based) from its reply frame into
    // `out` (kMaxLineSize bytes at least); returns the line's length.
    size_t formatRecord(std::span<const uint8_t> frame, int64_t index, char* out);
    // Date and time of the last record formatted, as the locale writes them (UTF-8).
    std::string lastDateTime() const;

private:
    // Appends the locale's time text (Windows-1252) of hour:minute:second.
    char* appendTime(char* out, int hour, int minute, int second);
    char* appendDate(char* out, int day, int month, int year);

    ConversionOptions m_options;
    char m_decimal = '.';
    std::string m_header;
    std::vector<std::string> m_units;  // the language's flow units, Windows-1252
    MeasurementValues m_values;        // of the last record formatted
    // The date of the previous record, formatted: records share their date for long runs.
    int m_dateKey = -1;
    std::string m_date;
    // Texts of every time of day, formatted the first time they occur.
    std::vector<uint32_t> m_timeAt;  // where a time's text starts in m_timeTexts; UINT32_MAX until formatted
    std::string m_timeTexts;
};

struct ConversionProgress {
    int64_t done = 0;  // records written
    int64_t total = 0;
    std::string firstDateTime;  // of the first record, UTF-8
    std::string lastDateTime;   // of the last record written, UTF-8
};

// Called every `progressInterval` records and once at the end; false asks the
// conversion to stop.
using ConversionProgressFn = std::function<bool(const ConversionProgress&)>;

enum class ConversionStatus {
    Done,
    Refused,      // the input is no measurement file (see fileStatus)
    CannotWrite,  // the output could not be created or written
    SameAsInput,  // the output is the input file itself, under whatever name
    Cancelled,
};

struct ConversionResult {
    ConversionStatus status = ConversionStatus::Refused;
    MeasurementFileStatus fileStatus = MeasurementFileStatus::CannotOpen;
    int64_t records = 0;  // lines written to the output
};

inline constexpr int64_t kConversionProgressInterval = 4096;

// Converts `input` into `output`. The text goes to a temporary file beside
// the output that replaces it only once complete: a refused, failed or
// cancelled conversion leaves any older output as it was.
ConversionResult convertMeasurementFile(const std::string& input, const std::string& output,
                                        const ConversionOptions& options, const ConversionProgressFn& progress = {},
                                        int64_t progressInterval = kConversionProgressInterval);

// The output name offered for an input path: its file name with every ".mes"
// made ".prn" (or the extension given).
std::string proposedOutputName(const std::string& inputPath, const char* extension = ".prn");

// What to tell the user about a conversion that did not complete (UTF-8).
std::string conversionProblem(const ConversionResult& result, const std::string& input, const std::string& output,
                              int language);

}  // namespace vantor
