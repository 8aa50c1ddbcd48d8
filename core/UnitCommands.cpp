#include "UnitCommands.h"

#include "BlockCodec.h"
#include "BlockTransfer.h"
#include "LanguageTables.h"

#include <chrono>
#include <thread>
#include <vector>

namespace vantor {

std::array<uint8_t, 6> clockImage(const LocalDateTime& when)
{
    return {static_cast<uint8_t>(when.year - 2000), static_cast<uint8_t>(when.month), static_cast<uint8_t>(when.day),
            static_cast<uint8_t>(when.hour),        static_cast<uint8_t>(when.minute), static_cast<uint8_t>(when.second)};
}

void pauseBetweenWrites()
{
    constexpr std::chrono::milliseconds kPauseBetweenWrites{600};
    std::this_thread::sleep_for(kPauseBetweenWrites);
}

int uploadBlock(BlockLink& link, const UploadRequest& request, const BlockInfo& block,
                std::span<const uint8_t> image, const LocalDateTime& now, const WritePause& pause)
{
    if (request.syncClock) {
        if (writeBlockImage(link, kClockBlock, clockImage(now)) != 0)
            return -1;
        pause();
    }
    if (request.resetTotalizer1 || request.resetTotalizer2) {
        const uint8_t resets[4] = {0, static_cast<uint8_t>(request.resetTotalizer1 ? 1 : 0), 0,
                                   static_cast<uint8_t>(request.resetTotalizer2 ? 1 : 0)};
        if (writeBlockImage(link, kTotalizerResetBlock, resets) != 0)
            return -1;
        pause();
    }
    return writeBlockImage(link, block, image);
}

std::optional<uint8_t> unitAddressIn(const BlockInfo& block, std::span<const uint8_t> image)
{
    const uint16_t reg = kUnitAddressBlock.firstRegister;
    if (reg < block.firstRegister || reg >= block.firstRegister + block.registerCount)
        return std::nullopt;
    const size_t at = 2 * size_t{static_cast<uint16_t>(reg - block.firstRegister)} + 1;  // the register's low byte
    if (at >= image.size())
        return std::nullopt;
    return image[at];
}

ReadBack readBack(BlockLink& link, const BlockCodec& codec, std::span<const uint8_t> image)
{
    const BlockInfo& block = *codec.block;
    ReadBack back;
    back.newAddress = unitAddressIn(block, image);
    std::vector<uint8_t> held(block.imageSize());
    if (readBlockImage(link, back.newAddress.value_or(link.unitAddress()), block, held) == 0)
        back.differing = codec.differingRows(image, held);
    return back;
}

InitialisationResult initialiseUnit(BlockLink& link, uint8_t address, const InitialisationChoice& blocks,
                                    const LocalDateTime& now, const WritePause& pause)
{
    InitialisationResult result;
    if (writeBlockImage(link, address, kClockBlock, clockImage(now)) != 0) {
        result.status = -1;
        return result;
    }
    const uint8_t resetBoth[4] = {0, 1, 0, 1};
    const struct {
        const BlockInfo* block;
        const BlockCodec* defaults;  // null: the totalizer resets
        bool chosen;
    } steps[] = {
        {&kTotalizerResetBlock, nullptr, true},
        {&kCalibrationBlock, &kCalibrationCodec, blocks.calibration != 0},
        {&kFactoryBlock, &kFactoryCodec, blocks.factory != 0},
        {&kCanBlock, &kCanCodec, blocks.calibration != 0},
        {&kMakerBlock, &kMakerCodec, blocks.maker != 0},
    };
    for (const auto& step : steps) {
        if (!step.chosen)
            continue;
        pause();
        std::vector<uint8_t> image(resetBoth, resetBoth + sizeof resetBoth);
        if (step.defaults) {
            image.resize(step.block->imageSize());
            step.defaults->encodeDefaults(image);
        }
        if (writeBlockImage(link, address, *step.block, image) != 0) {
            result.status = -1;
            return result;
        }
        result.calibrationWritten = result.calibrationWritten || step.block == &kCalibrationBlock;
    }
    return result;
}

uint8_t defaultUnitAddress()
{
    std::vector<uint8_t> image(kCalibrationBlock.imageSize());
    kCalibrationCodec.encodeDefaults(image);
    return unitAddressIn(kCalibrationBlock, image).value_or(0);
}

std::string initialisationErases(const InitialisationChoice& blocks, int language)
{
    std::string text = lang::InitConfirmText.text(language);
    const auto line = [&](const BilingualText& item) { text += std::string("\n- ") + item.text(language); };
    if (blocks.calibration)
        line(lang::InitEraseCalibration);
    if (blocks.factory)
        line(lang::InitEraseFactory);
    if (blocks.maker)
        line(lang::InitEraseMaker);
    line(lang::InitEraseTotalizers);
    line(lang::InitSetClock);
    return text;
}

}  // namespace vantor
