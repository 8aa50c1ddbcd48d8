#include "Initialisation.h"

#include "Binding.h"
#include "LanguageTables.h"
#include "LinkStatus.h"
#include "Templates.h"
#include "WaitWindow.h"

#include <QApplication>

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
    LinkSettings& link = context.state.settings.link;
    const int language = context.language();
    InitialisationResult result;
    StatusLine failure;  // with the address the writes went to
    {
        InitialisationDialog dialog(context, owner);
        if (dialog.exec() != QDialog::Accepted)
            return;
        // The totalizers are the customer's measured volumes: one more question,
        // saying what goes, that Enter answers No.
        const std::string question = initialisationErases(context.state.initialisation, language) + "\n\n" +
                                     InitConfirmQuestion.text(language);
        if (context.prompts.messageBox(owner, InitConfirmCaption.text(language), question, BoxIcon::Question,
                                       BoxButtons::YesNoDefaultNo) != BoxAnswer::Yes)
            return;
        {
            WaitWindow wait(owner, language);
            // To whichever unit is on the line: its address may be forgotten.
            result = initialiseUnit(context.link, 0, context.state.initialisation, context.localNow());
        }
        failure = failedStatus(StatusInitFailed, context.link.master());
        // The default calibration block holds the default address: the unit
        // answers there from then on, and so the program talks to it there.
        if (result.calibrationWritten)
            link.jbusAddress = defaultUnitAddress();
    }
    if (result.status != 0) {
        if (result.calibrationWritten)
            addNewAddress(failure, link);
        context.showStatus(failure);
        context.prompts.messageBox(owner, UploadCaption.text(language), UploadFailure.text(language), BoxIcon::Error,
                                   BoxButtons::Ok);
        return;
    }
    context.showStatus(result.calibrationWritten
                           ? newAddressStatus(StatusInitNewAddress, context.localNow(), link)
                           : doneStatus(StatusInitialised, context.localNow(), link, context.link.master().devicePath()));
    context.prompts.messageBox(owner, UploadCaption.text(language), UploadSuccess.text(language),
                               BoxIcon::Information, BoxButtons::Ok);
}

}  // namespace vantor
