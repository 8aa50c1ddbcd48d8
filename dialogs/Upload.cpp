#include "Upload.h"

#include "Formatted.h"
#include "LanguageTables.h"
#include "LinkStatus.h"
#include "WaitWindow.h"

#include <optional>
#include <string>
#include <vector>

namespace vantor {

namespace {

// The question before the writes: the plain one, or, when the block comes from
// a file and gives the unit another address than the one configured, one that
// names both and that Enter answers No.
bool confirmed(QWidget* dialog, const DialogContext& context, std::span<const uint8_t> image, const BlockCodec& codec)
{
    const int language = context.language();
    const int configured = jbusAddressByte(context.state.settings.link.jbusAddress);
    const std::optional<uint8_t> given = unitAddressIn(*codec.block, image);
    std::string question = lang::UploadQuestion.text(language);
    BoxButtons buttons = BoxButtons::YesNo;
    if (context.state.file.fileMode && given && *given != configured) {
        question = formatted(lang::UploadMovesAddress.text(language), configured, int{*given});
        buttons = BoxButtons::YesNoDefaultNo;
    }
    return context.prompts.messageBox(dialog, lang::UploadCaption.text(language), question, BoxIcon::Question,
                                      buttons) == BoxAnswer::Yes;
}

}  // namespace

bool uploadFromDialog(QWidget* dialog, const DialogContext& context, const UploadRequest& request,
                      const BlockCodec& codec, const FieldNamer& nameOf)
{
    const int language = context.language();
    std::vector<uint8_t> image(codec.block->imageSize());
    codec.encode(context.state.record, image);
    if (!confirmed(dialog, context, image, codec))
        return false;

    int result = 0;
    std::optional<std::vector<std::string>> differing;
    const float addressBefore = context.state.settings.link.jbusAddress;
    {
        WaitWindow wait(dialog, language);
        result = uploadBlock(context.link, request, *codec.block, image, context.localNow());
        // Whether the instrument now holds the values: read back, at the
        // address the block gives the unit when it gives one.
        if (result == 0) {
            const ReadBack back = readBack(context.link, codec, image);
            if (back.newAddress)
                context.state.settings.link.jbusAddress = *back.newAddress;
            differing = back.differing;
        }
    }
    const LinkSettings& link = context.state.settings.link;
    if (result != 0 || !differing) {
        context.showStatus(failedStatus(lang::StatusUploadFailed, context.link.master()));
        context.prompts.messageBox(dialog, lang::UploadCaption.text(language), lang::UploadFailure.text(language),
                                   BoxIcon::Error, BoxButtons::Ok);
        return false;
    }
    if (!differing->empty()) {
        context.showStatus(doneStatus(lang::StatusNotHeld, context.localNow(), link, context.link.master().devicePath()));
        std::string names;
        for (const std::string& name : *differing)
            names += nameOf(name) + "\n";
        context.prompts.messageBox(dialog, lang::UploadCaption.text(language),
                                   lang::UploadNotHeld.text(language) + names, BoxIcon::Error, BoxButtons::Ok);
        return false;
    }
    // A calibration block may have given the unit another address: say where it answers now.
    context.showStatus(link.jbusAddress != addressBefore
                           ? newAddressStatus(lang::StatusNewAddress, context.localNow(), link)
                           : doneStatus(lang::StatusUploaded, context.localNow(), link, context.link.master().devicePath()));
    return true;
}

}  // namespace vantor
