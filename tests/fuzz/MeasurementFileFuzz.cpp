// Measurement files read from disk: replayed record by record as the measurement
// dialog shows them, and converted into text for a spreadsheet.
//
// A whole conversion costs a millisecond before its first line (its buffers, a
// file replaced): one input in 16 goes through it; the records every input has
// replayed alone (the first four and the last) are formatted into their lines.
#include "BlockTables.h"
#include "Conversion.h"
#include "FuzzSupport.h"
#include "LanguageTables.h"
#include "LinkState.h"
#include "LocaleFormat.h"
#include "MeasurementFile.h"
#include "ProgramState.h"
#include "ValueCodec.h"
#include "Windows1252.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

using namespace vantor;

namespace {

// The regional settings the replay and the conversion are tried with.
LocaleItems localeFor(bool other)
{
    LocaleItems items;
    if (other) {
        items.dateSeparator = "\xC2\xB7";  // a separator longer than one byte
        items.dateOrder = 2;
        items.timeSeparator = ".";
        items.timeFormat = 0;
        items.morning = "vorm.";
        items.afternoon = "nachm.";
        items.decimalSeparator = ",";
    }
    return items;
}

// What the dialog shows of a record, short of the widgets.
void showRecord(const MeasurementValues& m, const LocaleItems& locale, int language)
{
    (void)fromWindows1252(m.softwareVersion.data());
    (void)formatLocaleDate(locale, m.day, m.month, 2000 + m.year);
    (void)formatLocaleTime(locale, m.hour, m.minute, m.second);
    (void)choiceText(lang::ListFlowUnit, m.flowUnit, language);
    (void)choiceText(lang::ListTotalizerUnit, m.totalizer1Unit, language);
    (void)choiceText(lang::ListTotalizerUnit, m.totalizer2Unit, language);
    (void)choiceText(lang::ListTotalizerSign, m.totalizer1Sign, language);
    (void)choiceText(lang::ListTotalizerSign, m.totalizer2Sign, language);
}

// The formatter of each language and locale, made once as a conversion makes it once.
ConversionFormatter& formatterOf(bool other)
{
    static ConversionFormatter formatters[] = {ConversionFormatter({kFrench, localeFor(false)}),
                                               ConversionFormatter({kEnglish, localeFor(true)})};
    return formatters[other ? 1 : 0];
}

void replay(const std::string& path, size_t size, bool other)
{
    const LocaleItems locale = localeFor(other);
    const int language = other ? kEnglish : kFrench;
    ConversionFormatter& formatter = formatterOf(other);
    // Exactly the room a line may take, so that a longer one overruns it.
    const auto line = std::make_unique<char[]>(ConversionFormatter::kMaxLineSize);

    MeasurementFileGeometry geometry;
    if (readMeasurementGeometry(path, geometry) != MeasurementFileStatus::Ok)
        return;
    FUZZ_CHECK(geometry.recordLength >= kMeasurementFrameSize && geometry.recordLength <= kMaxRecordLength);
    FUZZ_CHECK(geometry.recordCount == static_cast<int64_t>((size - 2) / geometry.recordLength));

    // Records read one by one, as the navigation buttons do, are the ones the
    // sequential reader gives.
    MeasurementRecordReader reader;
    FUZZ_CHECK(reader.open(path) == MeasurementFileStatus::Ok);
    std::array<uint8_t, kMaxRecordLength> next{};
    std::array<uint8_t, kMaxRecordLength> shown{};
    for (int64_t index = 0; index < geometry.recordCount; ++index) {
        FUZZ_CHECK(reader.next(std::span<uint8_t>(next.data(), geometry.recordLength)));
        // Each record read alone opens the file: the first ones and the last do.
        if (index >= 4 && index != geometry.recordCount - 1)
            continue;
        std::span<uint8_t> frame(shown.data(), geometry.recordLength);
        FUZZ_CHECK(readMeasurementRecord(path, geometry, index, frame));
        FUZZ_CHECK(std::equal(frame.begin(), frame.end(), next.begin()));
        MeasurementValues values;
        decodeImage(kMeasurementTable, frame.subspan(kRecordImageOffset, kMeasurementBlock.imageSize()), values);
        showRecord(values, locale, language);
        const size_t length = formatter.formatRecord(std::span<const uint8_t>(next.data(), geometry.recordLength),
                                                     index, line.get());
        FUZZ_CHECK(length <= ConversionFormatter::kMaxLineSize && line[length - 1] == '\n');
        FUZZ_CHECK(std::count(line.get(), line.get() + length, '\t') == 7);
    }
    FUZZ_CHECK(!reader.next(std::span<uint8_t>(next.data(), geometry.recordLength)));
    // Past either end there is nothing.
    FUZZ_CHECK(!readMeasurementRecord(path, geometry, -1, std::span<uint8_t>(shown)));
    FUZZ_CHECK(!readMeasurementRecord(path, geometry, geometry.recordCount, std::span<uint8_t>(shown)));
}

void convert(const std::string& path, bool other)
{
    const LocaleItems locale = localeFor(other);
    const int language = other ? kEnglish : kFrench;
    const std::string output = fuzz::scratch().file("converted.prn");
    std::remove(output.c_str());
    MeasurementFileGeometry geometry;
    const MeasurementFileStatus fileStatus = readMeasurementGeometry(path, geometry);

    int64_t reports = 0;
    const ConversionResult result = convertMeasurementFile(
        path, output, {language, locale},
        [&](const ConversionProgress& progress) {
            FUZZ_CHECK(progress.done <= progress.total);
            ++reports;
            return true;
        },
        7);
    if (fileStatus != MeasurementFileStatus::Ok) {
        FUZZ_CHECK(result.status == ConversionStatus::Refused && result.fileStatus == fileStatus);
        FUZZ_CHECK(!conversionProblem(result, path, output, language).empty());
        std::ifstream none(output);
        FUZZ_CHECK(!none);
        return;
    }
    FUZZ_CHECK(result.status == ConversionStatus::Done && result.records == geometry.recordCount);
    FUZZ_CHECK(reports >= 1);
    // A header line, then one line per record.
    std::ifstream in(output, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    FUZZ_CHECK(std::count(text.begin(), text.end(), '\n') == result.records + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = fuzz::writeInputFile("recording.mes", data, size);
    // Locale and language only shape the texts: alternate them rather than spend input on them.
    const bool other = size % 2 == 1;
    replay(path, size, other);
    if (fuzz::sampled(data, size, 16))
        convert(path, other);
    return 0;
}
