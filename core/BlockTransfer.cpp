#include "BlockTransfer.h"

#include <algorithm>
#include <vector>

namespace vantor {

int readBlockImage(BlockLink& link, uint8_t address, const BlockInfo& block, std::span<uint8_t> image)
{
    const auto reply = link.blockTransact(address, 3, block.firstRegister, block.registerCount);
    if (!reply)
        return -1;
    std::copy_n(reply->begin(), std::min<size_t>({reply->size(), image.size(), block.imageSize()}), image.begin());
    return 0;
}

int readBlockImage(BlockLink& link, const BlockInfo& block, std::span<uint8_t> image)
{
    return readBlockImage(link, link.unitAddress(), block, image);
}

int writeBlockImage(BlockLink& link, uint8_t address, const BlockInfo& block, std::span<const uint8_t> image)
{
    return link.blockTransact(address, 16, block.firstRegister, block.registerCount, image) ? 0 : -1;
}

int writeBlockImage(BlockLink& link, const BlockInfo& block, std::span<const uint8_t> image)
{
    return writeBlockImage(link, link.unitAddress(), block, image);
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
