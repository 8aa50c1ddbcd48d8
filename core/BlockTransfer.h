// Moving a whole parameter block between the instrument and the program: every
// read and write of a block passes through these two functions.
#pragma once

#include "BlockCodec.h"
#include "BlockLink.h"
#include "BlockTables.h"

#include <cstdint>
#include <span>

namespace vantor {

// Reads the block's registers from the unit at `address` and copies their
// image (the block's imageSize() bytes) into `image`; on failure `image` is
// left as it was. 0 or -1.
int readBlockImage(BlockLink& link, uint8_t address, const BlockInfo& block, std::span<uint8_t> image);
// The same, from the unit at the address the settings give it.
int readBlockImage(BlockLink& link, const BlockInfo& block, std::span<uint8_t> image);

// Writes an image to the block's registers in one function 16 request; bytes
// the image does not give are sent as zero. 0 or -1.
int writeBlockImage(BlockLink& link, uint8_t address, const BlockInfo& block, std::span<const uint8_t> image);
int writeBlockImage(BlockLink& link, const BlockInfo& block, std::span<const uint8_t> image);

// Reads the codec's block and decodes it into the record; on failure the
// record is left as it was. 0 or -1.
int readBlock(BlockLink& link, const BlockCodec& codec, ParameterRecord& record);

}  // namespace vantor
