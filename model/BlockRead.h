// Moving a whole parameter block between the instrument and the program.
#pragma once

#include "BlockLink.h"
#include "BlockTables.h"
#include "ValueCodec.h"

#include <algorithm>
#include <span>

namespace vantor {

// Reads the block and, on success, decodes it into the group. 0 or -1.
template <typename Group>
int readParameterBlock(BlockLink& link, DescriptorTable<Group> table, const BlockInfo& block, Group& group)
{
    link.master().jbusRequest(3, block.firstRegister, block.registerCount);
    if (link.jbusBlockTransact(6) != 0)
        return -1;
    decodeImage(table, replyImage(link.master().buffers()).first(block.imageSize()), group);
    return 0;
}

// Writes an image to the block's registers in one function 16 request; bytes
// the image does not give are sent as zero. 0 or -1.
inline int writeBlockImage(BlockLink& link, const BlockInfo& block, std::span<const uint8_t> image)
{
    link.master().jbusRequest(16, block.firstRegister, block.registerCount);
    std::span<uint8_t> data = requestImage(link.master().buffers()).first(block.imageSize());
    std::fill(data.begin(), data.end(), uint8_t{0});
    std::copy_n(image.begin(), std::min(image.size(), data.size()), data.begin());
    return link.jbusBlockTransact(7 + block.imageSize());
}

}  // namespace vantor
