#include "Initialisation.h"

#include "BlockCodec.h"
#include "BlockRead.h"
#include "Binding.h"
#include "LanguageTables.h"
#include "Templates.h"
#include "WaitWindow.h"

#include <QApplication>

#include <vector>

namespace vantor {

namespace {

using namespace lang;

constexpr CheckBinding kChecks[] = {
    {1283, [](ProgramState& s) -> uint8_t& { return s.initialisation.calibration; }, MenuConfiguration},
    {1284, [](ProgramState& s) -> uint8_t& { return s.initialisation.factory; }, MenuFactorySettings},
    {1285, [](ProgramState& s) -> uint8_t& { return s.initialisation.maker; }, MenuMakerSettings},
};
constexpr LabelBinding kLabels[] = {{1282, UploadQuestion}, {1280, InitYes}, {1281, InitNo}};

}  // namespace

int initialiseUnit(BlockLink& link, const InitialisationChoice& blocks, const QDateTime& now,
                   const std::function<void()>& pause)
{
    if (writeBlockImage(link, kClockBlock, clockImage(now)) != 0)
        return -1;
    const uint8_t resetBoth[4] = {0, 1, 0, 1};
    const struct {
        const BlockInfo* block;
        const BlockCodec* defaults;  // null: the totalizer resets
        bool chosen;
    } steps[] = {
        {&kTotalizerResetBlock, nullptr, true},
        {&kCalibrationBlock, &kCalibrationCodec, blocks.calibration != 0},
        {&kFactoryBlock, &kFactoryCodec, blocks.factory != 0},
        {&kCanBlock, &kCanCodec, blocks.calibration != 0},
        {&kMakerBlock, &kMakerCodec, blocks.maker != 0},
    };
    for (const auto& step : steps) {
        if (!step.chosen)
            continue;
        pause();
        std::vector<uint8_t> image(resetBoth, resetBoth + sizeof resetBoth);
        if (step.defaults) {
            image.resize(step.block->imageSize());
            step.defaults->encodeDefaults(image);
        }
        if (writeBlockImage(link, *step.block, image) != 0)
            return -1;
    }
    return 0;
}

InitialisationDialog::InitialisationDialog(const DialogContext& context, QWidget* owner)
    : TemplateDialog(templates::kInitialisation, owner), m_context(context)
{
    // A caption, but no close box: the answer is Yes or No.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    for (const CheckBinding& b : kChecks)
        on(b.control, Notification::Clicked, [this] { readChecks(*this, kChecks, m_context.state); });
    on(1281, Notification::Clicked, [this] { reject(); });

    QApplication::beep();
    const int language = context.language();
    setWindowTitle(QString::fromUtf8(UploadCaption.text(language)));
    context.state.initialisation = InitialisationChoice{};
    showLabels(*this, kLabels, language);
    showChecks(*this, kChecks, context);
}

void runInitialisation(const DialogContext& context, QWidget* owner)
{
    const BroadcastAddress address(context.state.settings.link);
    InitialisationDialog dialog(context, owner);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int language = context.language();
    int result;
    {
        WaitWindow wait(owner, language);
        result = initialiseUnit(context.link, context.state.initialisation, context.now());
    }
    if (result != 0)
        context.prompts.messageBox(owner, UploadCaption.text(language), UploadFailure.text(language), BoxIcon::Error,
                                   BoxButtons::Ok);
    else
        context.prompts.messageBox(owner, UploadCaption.text(language), UploadSuccess.text(language),
                                   BoxIcon::Information, BoxButtons::Ok);
}

}  // namespace vantor
