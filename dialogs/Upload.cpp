#include "Upload.h"

#include "LanguageTables.h"
#include "LinkStatus.h"
#include "WaitWindow.h"

#include <optional>
#include <string>
#include <vector>

namespace vantor {

bool uploadFromDialog(QWidget* dialog, const DialogContext& context, const UploadRequest& request,
                      const BlockCodec& codec)
{
    const int language = context.language();
    if (context.prompts.messageBox(dialog, lang::UploadCaption.text(language), lang::UploadQuestion.text(language),
                                   BoxIcon::Question, BoxButtons::YesNo) != BoxAnswer::Yes)
        return false;

    int result = 0;
    std::optional<std::vector<std::string>> differing;
    const float addressBefore = context.state.settings.link.jbusAddress;
    std::vector<uint8_t> image(codec.block->imageSize());
    {
        WaitWindow wait(dialog, language);
        codec.encode(context.state.record, image);
        result = uploadBlock(context.link, request, *codec.block, image, context.localNow());
        // Whether the instrument now holds the values: read back, at the
        // address the block gives the unit when it gives one.
        if (result == 0)
            differing = readBack(context.link, context.state.settings.link, codec, image);
    }
    const LinkSettings& link = context.state.settings.link;
    if (result != 0 || !differing) {
        context.showStatus(failedStatus(lang::StatusUploadFailed, context.link.master(), language));
        context.prompts.messageBox(dialog, lang::UploadCaption.text(language), lang::UploadFailure.text(language),
                                   BoxIcon::Error, BoxButtons::Ok);
        return false;
    }
    if (!differing->empty()) {
        context.showStatus(doneStatus(lang::StatusNotHeld, context.localNow(), link, language));
        std::string names;
        for (const std::string& name : *differing)
            names += name + "\n";
        context.prompts.messageBox(dialog, lang::UploadCaption.text(language),
                                   lang::UploadNotHeld.text(language) + names, BoxIcon::Error, BoxButtons::Ok);
        return false;
    }
    // A calibration block may have given the unit another address: say where it answers now.
    context.showStatus(link.jbusAddress != addressBefore
                           ? newAddressStatus(context.localNow(), link, language)
                           : doneStatus(lang::StatusUploaded, context.localNow(), link, language));
    return true;
}

}  // namespace vantor
