#include "Upload.h"

#include "LanguageTables.h"
#include "WaitWindow.h"

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
    {
        WaitWindow wait(dialog, language);
        std::vector<uint8_t> image(codec.block->imageSize());
        codec.encode(context.state.record, image);
        result = uploadBlock(context.link, request, *codec.block, image, context.localNow());
    }
    if (result != 0) {
        context.prompts.messageBox(dialog, lang::UploadCaption.text(language), lang::UploadFailure.text(language),
                                   BoxIcon::Error, BoxButtons::Ok);
        return false;
    }
    return true;
}

}  // namespace vantor
