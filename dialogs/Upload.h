// TRANSFERT: writing a parameter block to the instrument from its dialog,
// with the clock and totalizer options.
#pragma once

#include "BlockCodec.h"
#include "DialogContext.h"
#include "UnitCommands.h"

class QWidget;

namespace vantor {

// Asks for confirmation, then writes the clock, the totalizer resets and the
// block (encoded from the parameter record), in that order, stopping at the
// first failure (which it reports). True when every write was made.
bool uploadFromDialog(QWidget* dialog, const DialogContext& context, const UploadRequest& request,
                      const BlockCodec& codec);

}  // namespace vantor
