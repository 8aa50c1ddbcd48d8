// Writing a parameter block to the instrument, with the clock and totalizer options.
#pragma once

#include "BlockTables.h"
#include "DialogContext.h"
#include "ValueCodec.h"

#include <QDateTime>

#include <array>
#include <functional>
#include <span>

class QWidget;

namespace vantor {

struct UploadRequest {
    bool syncClock = false;
    bool resetTotalizer1 = false;
    bool resetTotalizer2 = false;
};

// The clock block's six bytes for a local date and time.
std::array<uint8_t, 6> ClockImage(const QDateTime& when);

// Asks for confirmation, then writes the clock, the totalizer resets and the
// block, in that order, stopping at the first failure (which it reports).
// True when every write was made.
bool UploadImage(QWidget* dialog, const DialogContext& context, const UploadRequest& request, const BlockInfo& block,
                 const std::function<void(std::span<uint8_t>)>& encode);

template <typename Group>
bool UploadBlock(QWidget* dialog, const DialogContext& context, const UploadRequest& request,
                 DescriptorTable<Group> table, const Group& group, const BlockInfo& block)
{
    return UploadImage(dialog, context, request, block,
                       [&](std::span<uint8_t> image) { EncodeImage(table, group, image); });
}

}  // namespace vantor
