// The sequences of writes that change an instrument: the upload of a block
// with its clock and totalizer options, and the initialisation. They pause
// between consecutive writes, as the instrument's own timing asks.
#pragma once

#include "BlockCodec.h"
#include "BlockLink.h"
#include "BlockTables.h"
#include "LocalTime.h"
#include "ProgramState.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vantor {

struct UploadRequest {
    bool syncClock = false;
    bool resetTotalizer1 = false;
    bool resetTotalizer2 = false;
};

// The clock block's six bytes for a local date and time.
std::array<uint8_t, 6> clockImage(const LocalDateTime& when);

// The instrument needs this long between two consecutive writes; the pause
// blocks, as the instrument's own timing asks.
void pauseBetweenWrites();
using WritePause = std::function<void()>;

// Writes the clock from `now` (when asked), the totalizer resets (when asked)
// and the block's image, in that order, pausing after each of the first two.
// Stops at the first failure. 0 or -1.
int uploadBlock(BlockLink& link, const UploadRequest& request, const BlockInfo& block,
                std::span<const uint8_t> image, const LocalDateTime& now, const WritePause& pause = pauseBetweenWrites);

struct InitialisationResult {
    int status = 0;  // 0, or -1 after the first write that failed
    // The default calibration block reached the unit, which answers from then
    // on at the address that block holds (defaultUnitAddress()).
    bool calibrationWritten = false;
};

// Writes, in this order: the clock from `now`, both totalizer resets, then the
// default calibration, factory, CAN (with the calibration) and maker blocks
// that are chosen, pausing before every write after the first. Stops at the
// first failure.
// The writes go to `address`: 0, whichever unit is on the line, when its own is not known.
InitialisationResult initialiseUnit(BlockLink& link, uint8_t address, const InitialisationChoice& blocks,
                                    const LocalDateTime& now, const WritePause& pause = pauseBetweenWrites);

// The Jbus address the default calibration block gives the unit.
uint8_t defaultUnitAddress();

// The Jbus address an image of the block gives the unit, when the block holds
// the unit's address register (the calibration block does).
std::optional<uint8_t> unitAddressIn(const BlockInfo& block, std::span<const uint8_t> image);

struct ReadBack {
    // The rows the unit holds otherwise (empty: it holds them all); nothing
    // when the read failed.
    std::optional<std::vector<std::string>> differing;
    // The address the image gives the unit, when it gives one: the unit
    // answers there from the write on, and the caller keeps it in its settings.
    std::optional<uint8_t> newAddress;
};

// Reads the block back after a write of `image` to the unit at the address
// the settings give it, at the address the unit has from the write on.
ReadBack readBack(BlockLink& link, const BlockCodec& codec, std::span<const uint8_t> image);

// What an initialisation of these blocks erases, one line each, after its
// heading, in the language: the blocks, both totalizers and the clock.
std::string initialisationErases(const InitialisationChoice& blocks, int language);

}  // namespace vantor
