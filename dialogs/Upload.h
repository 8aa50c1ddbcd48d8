// Writing a parameter block to the instrument, with the clock and totalizer options.
#pragma once

#include "BlockCodec.h"
#include "DialogContext.h"

#include <QDateTime>

#include <array>

class QWidget;

namespace vantor {

struct UploadRequest {
    bool syncClock = false;
    bool resetTotalizer1 = false;
    bool resetTotalizer2 = false;
};

// The clock block's six bytes for a local date and time.
std::array<uint8_t, 6> clockImage(const QDateTime& when);

// The instrument needs this long between two consecutive writes; the pause
// blocks, as the instrument's own timing asks.
void pauseBetweenWrites();

// Asks for confirmation, then writes the clock, the totalizer resets and the
// block (encoded from the parameter record), in that order, stopping at the
// first failure (which it reports). True when every write was made.
bool uploadBlock(QWidget* dialog, const DialogContext& context, const UploadRequest& request, const BlockCodec& codec);

}  // namespace vantor
