#include "BlockTransfer.h"

#include <algorithm>
#include <vector>

namespace vantor {

int readBlockImage(BlockLink& link, const BlockInfo& block, std::span<uint8_t> image)
{
    if (link.blockTransact(3, block.firstRegister, block.registerCount) != 0)
        return -1;
    const auto reply = replyImage(link.master().buffers()).first(block.imageSize());
    std::copy_n(reply.begin(), std::min(reply.size(), image.size()), image.begin());
    return 0;
}

int writeBlockImage(BlockLink& link, const BlockInfo& block, std::span<const uint8_t> image)
{
    return link.blockTransact(16, block.firstRegister, block.registerCount, image);
}

int readBlock(BlockLink& link, const BlockCodec& codec, ParameterRecord& record)
{
    std::vector<uint8_t> image(codec.block->imageSize());
    if (readBlockImage(link, *codec.block, image) != 0)
        return -1;
    codec.decode(image, record);
    return 0;
}

}  // namespace vantor
