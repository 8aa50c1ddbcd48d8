#include "Upload.h"

#include "BlockRead.h"
#include "LanguageTables.h"
#include "WaitWindow.h"

#include <QThread>

#include <vector>

namespace vantor {

std::array<uint8_t, 6> clockImage(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return {static_cast<uint8_t>(d.year() - 2000), static_cast<uint8_t>(d.month()), static_cast<uint8_t>(d.day()),
            static_cast<uint8_t>(t.hour()),        static_cast<uint8_t>(t.minute()), static_cast<uint8_t>(t.second())};
}

void pauseBetweenWrites()
{
    constexpr int kPauseBetweenWritesMs = 600;
    QThread::msleep(kPauseBetweenWritesMs);
}

bool uploadBlock(QWidget* dialog, const DialogContext& context, const UploadRequest& request, const BlockCodec& codec)
{
    const int language = context.language();
    if (context.prompts.messageBox(dialog, lang::UploadCaption.text(language), lang::UploadQuestion.text(language),
                                   BoxIcon::Question, BoxButtons::YesNo) != BoxAnswer::Yes)
        return false;

    int result = 0;
    {
        WaitWindow wait(dialog, language);
        if (request.syncClock) {
            result = writeBlockImage(context.link, kClockBlock, clockImage(context.now()));
            pauseBetweenWrites();
        }
        if (result == 0 && (request.resetTotalizer1 || request.resetTotalizer2)) {
            const uint8_t resets[4] = {0, static_cast<uint8_t>(request.resetTotalizer1 ? 1 : 0), 0,
                                       static_cast<uint8_t>(request.resetTotalizer2 ? 1 : 0)};
            result = writeBlockImage(context.link, kTotalizerResetBlock, resets);
            pauseBetweenWrites();
        }
        if (result == 0) {
            std::vector<uint8_t> image(codec.block->imageSize());
            codec.encode(context.state.record, image);
            result = writeBlockImage(context.link, *codec.block, image);
        }
    }
    if (result != 0) {
        context.prompts.messageBox(dialog, lang::UploadCaption.text(language), lang::UploadFailure.text(language),
                                   BoxIcon::Error, BoxButtons::Ok);
        return false;
    }
    return true;
}

}  // namespace vantor
