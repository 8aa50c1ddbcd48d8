// Reading a whole parameter block into its group of the parameter record.
#pragma once

#include "BlockLink.h"
#include "BlockTables.h"
#include "ValueCodec.h"

namespace vantor {

// Reads the block and, on success, decodes it into the group. 0 or -1.
template <typename Group>
int ReadParameterBlock(BlockLink& link, DescriptorTable<Group> table, const BlockInfo& block, Group& group)
{
    link.master().JbusRequest(3, block.firstRegister, block.registerCount);
    if (link.JbusBlockTransact(6) != 0)
        return -1;
    DecodeImage(table, ReplyImage(link.master().buffers()).first(block.imageSize()), group);
    return 0;
}

}  // namespace vantor
