#include "CsvConversion.h"

#include "BlockTables.h"
#include "Conversion.h"
#include "LanguageTables.h"
#include "LinkState.h"
#include "ValueCodec.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace vantor {

namespace {

// A field as RFC 4180 wants it: quoted, with its quotes doubled, when it holds
// a comma, a quote or a line break; the list texts' leading blanks dropped.
std::string csvField(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::vector<std::string> listFields(const ChoiceList& list, int language)
{
    std::vector<std::string> fields;
    for (int i = 0; i < list.count; ++i) {
        const char* text = choiceText(list, i, language == 1 ? 1 : 0);
        fields.push_back(csvField(text ? text : ""));
    }
    return fields;
}

char* appendText(char* out, std::string_view text)
{
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
}

// Texts of a list by index; an index outside the list leaves the field empty.
char* appendChoice(char* out, const std::vector<std::string>& texts, int index)
{
    return index >= 0 && static_cast<size_t>(index) < texts.size() ? appendText(out, texts[static_cast<size_t>(index)])
                                                                      : out;
}

// The shortest text that reads back as the same float; empty for infinities
// and NaN, which no spreadsheet reads.
char* appendFloat(char* out, float value)
{
    if (!std::isfinite(value))
        return out;
    return std::to_chars(out, out + 32, value).ptr;
}

char* appendInt(char* out, int64_t value) { return std::to_chars(out, out + 24, value).ptr; }

char* appendTwoDigits(char* out, int value)
{
    if (value < 0 || value > 99)
        return appendInt(out, value);
    *out++ = static_cast<char>('0' + value / 10);
    *out++ = static_cast<char>('0' + value % 10);
    return out;
}

}  // namespace

CsvFormatter::CsvFormatter(const ConversionOptions& options) : m_locale(options.locale)
{
    const int l = options.language;
    const auto unitOf = [l](const BilingualText& name, const BilingualText& unit) {
        return std::string(name.text(l)) + " (" + unit.text(l) + ")";
    };
    const std::string columns[] = {
        "N\xC2\xB0",
        lang::ConvDateTime.text(l),
        lang::MeasFlow.text(l),
        lang::CalQUnit.text(l),
        unitOf(lang::ConvFlowSpeed, lang::MeasMetresPerSecond),
        unitOf(lang::ConvSoundVelocity, lang::MeasMetresPerSecond),
        lang::MeasT1.text(l),
        lang::ConvT1Unit.text(l),
        lang::MeasT2.text(l),
        lang::ConvT2Unit.text(l),
        unitOf(lang::MeasGain, lang::MeasDecibel),
        unitOf(lang::MeasIQ, lang::MeasPercent),
        lang::MeasKh.text(l),
        lang::ConvKhMode.text(l),
        unitOf(lang::MeasTime, lang::MeasMicroseconds),
        unitOf(lang::MeasDeltaT, lang::MeasNanoseconds),
        lang::MeasProbe.text(l),
        unitOf(lang::MeasDProbe, lang::MeasMillimetres),
        lang::ConvFaultState.text(l),
    };
    m_header = "\xEF\xBB\xBF";
    for (const std::string& column : columns)
        m_header += (m_header.size() > 3 ? "," : "") + csvField(column);
    m_header += "\r\n";
    m_flowUnits = listFields(lang::ListFlowUnit, l);
    m_totalizerUnits = listFields(lang::ListTotalizerUnit, l);
    m_faultStates = listFields(lang::ListFaultState, l);
    m_khModes = listFields(lang::ListAutoManual, l);
    // A name kept in the settings can be longer than the instrument's eight
    // characters: what fits a line is kept.
    constexpr size_t kLongestProbeName = 32;
    if (options.probes)
        for (const std::string& name : options.probes->names)
            m_probes.push_back(csvField(std::string_view(name).substr(0, kLongestProbeName)));
}

size_t CsvFormatter::formatRecord(std::span<const uint8_t> frame, int64_t index, char* out)
{
    decodeImage(kMeasurementTable, frame.subspan(kRecordImageOffset, kMeasurementBlock.imageSize()), m_values);
    const MeasurementValues& v = m_values;
    char* p = appendInt(out, index + 1);
    *p++ = ',';
    // ISO 8601, the instrument's local time: 2026-12-06T15:07:09.
    p = appendInt(p, 2000 + v.year);
    *p++ = '-';
    p = appendTwoDigits(p, v.month);
    *p++ = '-';
    p = appendTwoDigits(p, v.day);
    *p++ = 'T';
    p = appendTwoDigits(p, v.hour);
    *p++ = ':';
    p = appendTwoDigits(p, v.minute);
    *p++ = ':';
    p = appendTwoDigits(p, v.second);
    *p++ = ',';
    p = appendFloat(p, v.flow);
    *p++ = ',';
    p = appendChoice(p, m_flowUnits, v.flowUnit);
    *p++ = ',';
    p = appendFloat(p, v.speed);
    *p++ = ',';
    p = appendFloat(p, v.velocity);
    *p++ = ',';
    p = appendInt(p, v.totalizer1);
    *p++ = ',';
    p = appendChoice(p, m_totalizerUnits, v.totalizer1Unit);
    *p++ = ',';
    p = appendInt(p, v.totalizer2);
    *p++ = ',';
    p = appendChoice(p, m_totalizerUnits, v.totalizer2Unit);
    *p++ = ',';
    p = appendFloat(p, v.gain);
    *p++ = ',';
    p = appendFloat(p, v.signalQuality);
    *p++ = ',';
    p = appendFloat(p, v.kh);
    *p++ = ',';
    p = appendChoice(p, m_khModes, v.khMode);
    *p++ = ',';
    p = appendFloat(p, v.time);
    *p++ = ',';
    p = appendFloat(p, v.deltaT);
    *p++ = ',';
    // The probe by its name where the catalogue knows one.
    const bool named = v.probeIndex >= 0 && static_cast<size_t>(v.probeIndex) < m_probes.size() &&
                       !m_probes[static_cast<size_t>(v.probeIndex)].empty();
    p = named ? appendChoice(p, m_probes, v.probeIndex) : appendInt(p, v.probeIndex);
    *p++ = ',';
    p = appendFloat(p, v.probeDistance);
    *p++ = ',';
    p = appendChoice(p, m_faultStates, v.faultState);
    *p++ = '\r';
    *p++ = '\n';
    return static_cast<size_t>(p - out);
}

std::string CsvFormatter::lastDateTime() const
{
    return formatLocaleDate(m_locale, m_values.day, m_values.month, 2000 + m_values.year) + " " +
           formatLocaleTime(m_locale, m_values.hour, m_values.minute, m_values.second);
}

}  // namespace vantor
