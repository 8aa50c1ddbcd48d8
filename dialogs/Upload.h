// TRANSFERT: writing a parameter block to the instrument from its dialog,
// with the clock and totalizer options.
#pragma once

#include "BlockCodec.h"
#include "DialogContext.h"
#include "UnitCommands.h"

#include <functional>
#include <string>

class QWidget;

namespace vantor {

// What the user reads beside the value of a row of the block, from the row's
// English name.
using FieldNamer = std::function<std::string(const std::string& rowName)>;

// Asks for confirmation (naming both addresses when a file's block would move
// the unit to another one), then writes the clock, the totalizer resets and
// the block (encoded from the parameter record), in that order, stopping at
// the first failure (which it reports), and reads the block back. True when
// the unit holds what was sent.
bool uploadFromDialog(QWidget* dialog, const DialogContext& context, const UploadRequest& request,
                      const BlockCodec& codec, const FieldNamer& nameOf);

}  // namespace vantor
