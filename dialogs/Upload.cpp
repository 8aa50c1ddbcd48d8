#include "Upload.h"

#include "LanguageTables.h"
#include "WaitWindow.h"

#include <QThread>

#include <memory>

namespace vantor {

namespace {

// The instrument needs this long between two consecutive writes.
constexpr int kPauseBetweenWritesMs = 600;

int WriteRegisters(const DialogContext& context, const BlockInfo& block, std::span<const uint8_t> data)
{
    JbusMaster& master = context.link.master();
    master.JbusRequest(16, block.firstRegister, block.registerCount);
    std::span<uint8_t> image = RequestImage(context.state.buffers);
    std::fill(image.begin(), image.end(), uint8_t{0});
    std::copy(data.begin(), data.end(), image.begin());
    return context.link.JbusBlockTransact(7 + block.imageSize());
}

}  // namespace

std::array<uint8_t, 6> ClockImage(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return {static_cast<uint8_t>(d.year() - 2000), static_cast<uint8_t>(d.month()), static_cast<uint8_t>(d.day()),
            static_cast<uint8_t>(t.hour()),        static_cast<uint8_t>(t.minute()), static_cast<uint8_t>(t.second())};
}

bool UploadImage(QWidget* dialog, const DialogContext& context, const UploadRequest& request, const BlockInfo& block,
                 const std::function<void(std::span<uint8_t>)>& encode)
{
    const int language = context.language();
    if (context.prompts.messageBox(dialog, lang::UploadCaption.text(language), lang::UploadQuestion.text(language),
                                   BoxIcon::Question, BoxButtons::YesNo) != BoxAnswer::Yes)
        return false;

    int result = 0;
    {
        WaitWindow wait(dialog, language);
        if (request.syncClock) {
            const std::array<uint8_t, 6> clock = ClockImage(context.now());
            result = WriteRegisters(context, kClockBlock, clock);
            QThread::msleep(kPauseBetweenWritesMs);
        }
        if (result == 0 && (request.resetTotalizer1 || request.resetTotalizer2)) {
            const uint8_t resets[4] = {0, static_cast<uint8_t>(request.resetTotalizer1 ? 1 : 0), 0,
                                       static_cast<uint8_t>(request.resetTotalizer2 ? 1 : 0)};
            result = WriteRegisters(context, kTotalizerResetBlock, resets);
            QThread::msleep(kPauseBetweenWritesMs);
        }
        if (result == 0) {
            context.link.master().JbusRequest(16, block.firstRegister, block.registerCount);
            encode(RequestImage(context.state.buffers));
            result = context.link.JbusBlockTransact(7 + block.imageSize());
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
