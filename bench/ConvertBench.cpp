// Measures the conversion of a measurement file of a million records (77 MB)
// against the straightforward way: opening, seeking, reading and closing the
// input for every record, and opening, appending and closing the output for
// every line. Both must write the same bytes. Then the same file as CSV.
#include "BlockTables.h"
#include "Conversion.h"
#include "ValueCodec.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

using namespace vantor;

namespace {

constexpr double kGoalSeconds = 1.0;
constexpr double kGoalRatio = 20.0;

double seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A record a second from 1 January 2026, with values of every size.
bool writeSample(const std::string& path, int64_t records)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const uint8_t length[2] = {static_cast<uint8_t>(kMeasurementFrameSize), 0};
    bool written = std::fwrite(length, 1, 2, file) == 2;
    std::vector<uint8_t> frame(kMeasurementFrameSize, 0);
    frame[0] = 1;
    frame[1] = 3;
    frame[2] = static_cast<uint8_t>(kMeasurementBlock.imageSize());
    for (int64_t i = 0; i < records && written; ++i) {
        MeasurementValues v;
        v.flow = static_cast<float>((i % 2000) - 1000) * 13.37f;
        v.speed = static_cast<float>(i % 500) * 0.0123f;
        v.velocity = static_cast<float>(1400 + i % 200);
        v.flowUnit = static_cast<int32_t>(i % 13);
        const int64_t secondsOfDay = i % 86400;
        v.day = static_cast<int32_t>(1 + i / 86400 % 28);
        v.month = 1;
        v.year = 26;
        v.hour = static_cast<int32_t>(secondsOfDay / 3600);
        v.minute = static_cast<int32_t>(secondsOfDay / 60 % 60);
        v.second = static_cast<int32_t>(secondsOfDay % 60);
        encodeImage(kMeasurementTable, v, std::span<uint8_t>(frame.data() + 3, kMeasurementBlock.imageSize()));
        written = std::fwrite(frame.data(), 1, frame.size(), file) == frame.size();
    }
    return std::fclose(file) == 0 && written;
}

bool appendLine(const std::string& path, const char* mode, const char* bytes, size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (!file)
        return false;
    const bool written = std::fwrite(bytes, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

bool convertOneByOne(const std::string& input, const std::string& output, const ConversionOptions& options)
{
    MeasurementFileGeometry geometry;
    if (readMeasurementGeometry(input, geometry) != MeasurementFileStatus::Ok)
        return false;
    ConversionFormatter formatter(options);
    if (!appendLine(output, "wb", formatter.header().data(), formatter.header().size()))
        return false;
    std::vector<uint8_t> frame(geometry.recordLength);
    char line[ConversionFormatter::kMaxLineSize];
    for (int64_t i = 0; i < geometry.recordCount; ++i) {
        if (!readMeasurementRecord(input, geometry, i, frame))
            return false;
        const size_t size = formatter.formatRecord(frame, i, line);
        if (!appendLine(output, "ab", line, size))
            return false;
    }
    return true;
}

bool sameBytes(const std::string& a, const std::string& b)
{
    std::FILE* fa = std::fopen(a.c_str(), "rb");
    std::FILE* fb = std::fopen(b.c_str(), "rb");
    bool same = fa && fb;
    static char ba[1 << 16], bb[1 << 16];
    while (same) {
        const size_t na = std::fread(ba, 1, sizeof ba, fa);
        const size_t nb = std::fread(bb, 1, sizeof bb, fb);
        same = na == nb && std::memcmp(ba, bb, na) == 0;
        if (na == 0)
            break;
    }
    if (fa)
        std::fclose(fa);
    if (fb)
        std::fclose(fb);
    return same;
}

}  // namespace

int main(int argc, char** argv)
{
    const int64_t records = argc > 1 ? std::atoll(argv[1]) : 1'000'000;
    std::string pattern = (std::filesystem::temp_directory_path() / "vantor-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 1;
    const std::filesystem::path folder = pattern;
    const std::string input = (folder / "sample.mes").string();
    const std::string converted = (folder / "converted.prn").string();
    const std::string baseline = (folder / "baseline.prn").string();
    int status = 1;
    ConversionOptions options;
    options.language = 1;
    options.locale.decimalSeparator.assign(1, ',');
    if (writeSample(input, records)) {
        auto start = std::chrono::steady_clock::now();
        const ConversionResult result = convertMeasurementFile(input, converted, options, [](const ConversionProgress&) {
            return true;  // as the dialog asks for it
        });
        const double fast = seconds(start);
        start = std::chrono::steady_clock::now();
        const bool slowDone = convertOneByOne(input, baseline, options);
        const double slow = seconds(start);
        const bool same = result.status == ConversionStatus::Done && slowDone && sameBytes(converted, baseline);
        std::printf("%lld records, %.1f MB in, %.1f MB out\n", static_cast<long long>(records),
                    static_cast<double>(std::filesystem::file_size(input)) / 1e6,
                    static_cast<double>(std::filesystem::file_size(converted)) / 1e6);
        const bool goal = fast < kGoalSeconds && slow / fast >= kGoalRatio;
        std::printf("conversion: %.3f s\none by one:  %.3f s\nratio:      %.1f\noutputs %s; goal (under %.0f s, %.0f times "
                    "faster) %s\n",
                    fast, slow, slow / fast, same ? "identical" : "DIFFER", kGoalSeconds, kGoalRatio,
                    goal ? "met" : "MISSED");
        status = same && goal ? 0 : 1;

        // The same records as comma-separated values of every field.
        const std::string csv = (folder / "converted.csv").string();
        options.format = ConversionFormat::Csv;
        start = std::chrono::steady_clock::now();
        const ConversionResult csvResult = convertMeasurementFile(input, csv, options, [](const ConversionProgress&) {
            return true;
        });
        const double csvTime = seconds(start);
        const bool csvGoal = csvResult.status == ConversionStatus::Done && csvResult.records == records &&
                             csvTime < kGoalSeconds;
        std::printf("csv:        %.3f s, %.1f MB out; goal (under %.0f s) %s\n", csvTime,
                    static_cast<double>(std::filesystem::file_size(csv)) / 1e6, kGoalSeconds, csvGoal ? "met" : "MISSED");
        status = status == 0 && csvGoal ? 0 : 1;
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return status;
}
