// Register images as the instrument sends them, of any length and content:
// decoded through every descriptor table, and parsed as the probe catalogue.
#include "BlockCodec.h"
#include "BlockTables.h"
#include "FuzzSupport.h"
#include "LinkState.h"
#include "ProbeCatalogue.h"
#include "ValueCodec.h"
#include "Windows1252.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace vantor;

namespace {

// A decoded text always ends inside its array, whatever the image held.
template <typename Group>
void CheckTexts(DescriptorTable<Group> table, const Group& group)
{
    for (const auto& row : table)
        if (auto t = std::get_if<Text Group::*>(&row.value))
            FUZZ_CHECK(std::memchr((group.**t).data(), 0, kTextCapacity) != nullptr);
}

template <typename Group>
void DecodeWithTable(DescriptorTable<Group> table, std::span<const uint8_t> image, size_t blockSize)
{
    Group group{};
    DecodeImage(table, image, group);
    CheckTexts(table, group);
    // What was decoded must encode without trouble into an image of the same size.
    std::vector<uint8_t> encoded(image.size());
    EncodeImage(table, group, std::span<uint8_t>(encoded));
    Group again{};
    DecodeImage(table, std::span<const uint8_t>(encoded), again);
    CheckTexts(table, again);
    // Images are compared block against block: an image never differs from itself.
    const auto block = image.first(std::min(image.size(), blockSize));
    FUZZ_CHECK(DifferingRows(table, block, block).empty());
    (void)DifferingRows(table, block, std::span<const uint8_t>(encoded).first(block.size()));
}

void DecodeWithCodec(const BlockCodec& codec, std::span<const uint8_t> image)
{
    ParameterRecord record;
    codec.decode(image, record);
    (void)codec.matchesLastRead(record, image);
    std::vector<uint8_t> defaults(codec.block->imageSize());
    codec.encodeDefaults(std::span<uint8_t>(defaults));
    (void)codec.differingRows(image.first(std::min(image.size(), defaults.size())), std::span<const uint8_t>(defaults));
}

void ParseCatalogue(std::span<const uint8_t> image)
{
    ProbeCatalogue catalogue;
    ParseProbeCatalogue(image, catalogue);
    for (size_t i = 0; i < kProbeCount; ++i) {
        const size_t at = kProbeEntrySize * i;
        if (at + kProbeEntrySize > image.size()) {
            FUZZ_CHECK(catalogue.names[i].empty());
            continue;
        }
        // The name converts back to exactly the bytes the instrument sent.
        const auto* raw = reinterpret_cast<const char*>(image.data() + at);
        const std::string sent(raw, strnlen(raw, kProbeNameLength));
        FUZZ_CHECK(ToWindows1252(catalogue.names[i]) == sent);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Images come from the link's reply buffer: none is longer.
    const std::span<const uint8_t> image(data, std::min(size, LinkBuffers::kSize));
    DecodeWithTable(kMeasurementTable, image, kMeasurementBlock.imageSize());
    DecodeWithTable(kCalibrationTable, image, kCalibrationBlock.imageSize());
    DecodeWithTable(kCanTable, image, kCanBlock.imageSize());
    DecodeWithTable(kFactoryTable, image, kFactoryBlock.imageSize());
    DecodeWithTable(kClockTable, image, kClockBlock.imageSize());
    DecodeWithTable(kMakerTable, image, kMakerBlock.imageSize());
    for (const BlockCodec* codec : {&kCalibrationCodec, &kFactoryCodec, &kMakerCodec, &kCanCodec, &kClockCodec})
        DecodeWithCodec(*codec, image);
    ParseCatalogue(image);
    return 0;
}
