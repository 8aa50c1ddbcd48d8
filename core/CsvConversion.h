// The lines of a measurement file as comma-separated values for spreadsheets
// and scripts: UTF-8 behind a byte-order mark (so that Excel reads it as
// such), a header row in the program's language, every field of the record,
// the date and time in ISO 8601 and numbers with a point whatever the locale.
#pragma once

#include "LocaleFormat.h"
#include "ParameterRecord.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

struct ConversionOptions;

class CsvFormatter {
public:
    static constexpr size_t kMaxLineSize = 512;

    explicit CsvFormatter(const ConversionOptions& options);

    // The byte-order mark and the header row.
    std::string_view header() const { return m_header; }
    // Writes the row of record `index` (0-based) from its reply frame into `out`
    // (kMaxLineSize bytes at least); returns the row's length.
    size_t formatRecord(std::span<const uint8_t> frame, int64_t index, char* out);
    // Date and time of the last record formatted, as the locale writes them.
    std::string lastDateTime() const;

private:
    LocaleItems m_locale;
    std::string m_header;
    // Quoted where needed, ready to copy.
    std::vector<std::string> m_flowUnits, m_totalizerUnits, m_faultStates, m_khModes, m_probes;
    MeasurementValues m_values;
};

}  // namespace vantor
