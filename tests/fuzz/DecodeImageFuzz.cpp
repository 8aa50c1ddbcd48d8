// Register images as the instrument sends them, of any length and content:
// decoded through every descriptor table, and parsed as the probe catalogue.
#include "JbusMaster.h"
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
void checkTexts(DescriptorTable<Group> table, const Group& group)
{
    for (const auto& row : table)
        if (auto t = std::get_if<Text Group::*>(&row.value))
            FUZZ_CHECK(std::memchr((group.**t).data(), 0, kTextCapacity) != nullptr);
}

template <typename Group>
void decodeWithTable(DescriptorTable<Group> table, std::span<const uint8_t> image, size_t blockSize)
{
    Group group{};
    decodeImage(table, image, group);
    checkTexts(table, group);
    // What was decoded must encode without trouble into an image of the same size.
    std::vector<uint8_t> encoded(image.size());
    encodeImage(table, group, std::span<uint8_t>(encoded));
    Group again{};
    decodeImage(table, std::span<const uint8_t>(encoded), again);
    checkTexts(table, again);
    // Images are compared block against block: an image never differs from itself.
    const auto block = image.first(std::min(image.size(), blockSize));
    FUZZ_CHECK(differingRows(table, block, block).empty());
    (void)differingRows(table, block, std::span<const uint8_t>(encoded).first(block.size()));
}

void decodeWithCodec(const BlockCodec& codec, std::span<const uint8_t> image)
{
    ParameterRecord record;
    codec.decode(image, record);
    (void)codec.matchesLastRead(record, image);
    std::vector<uint8_t> defaults(codec.block->imageSize());
    codec.encodeDefaults(std::span<uint8_t>(defaults));
    (void)codec.differingRows(image.first(std::min(image.size(), defaults.size())), std::span<const uint8_t>(defaults));
}

void parseCatalogue(std::span<const uint8_t> image)
{
    ProbeCatalogue catalogue;
    parseProbeCatalogue(image, catalogue);
    for (size_t i = 0; i < kProbeCount; ++i) {
        const size_t at = kProbeEntrySize * i;
        if (at + kProbeEntrySize > image.size()) {
            FUZZ_CHECK(catalogue.names[i].empty());
            continue;
        }
        // The name converts back to exactly the bytes the instrument sent.
        const auto* raw = reinterpret_cast<const char*>(image.data() + at);
        const std::string sent(raw, strnlen(raw, kProbeNameLength));
        FUZZ_CHECK(toWindows1252(catalogue.names[i]) == sent);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Images come from a reply frame: none is longer.
    const std::span<const uint8_t> image(data, std::min(size, JbusMaster::kFrameSize));
    decodeWithTable(kMeasurementTable, image, kMeasurementBlock.imageSize());
    decodeWithTable(kCalibrationTable, image, kCalibrationBlock.imageSize());
    decodeWithTable(kCanTable, image, kCanBlock.imageSize());
    decodeWithTable(kFactoryTable, image, kFactoryBlock.imageSize());
    decodeWithTable(kClockTable, image, kClockBlock.imageSize());
    decodeWithTable(kMakerTable, image, kMakerBlock.imageSize());
    for (const BlockCodec* codec : {&kCalibrationCodec, &kFactoryCodec, &kMakerCodec, &kCanCodec, &kClockCodec})
        decodeWithCodec(*codec, image);
    parseCatalogue(image);
    return 0;
}
