// The initialisation: puts an instrument back to a known state in one
// operation (its clock, both totalizers, and the defaults of chosen blocks),
// talking to Jbus address 0 whatever address is configured.
#pragma once

#include "BlockLink.h"
#include "DialogContext.h"
#include "TemplateDialog.h"
#include "Upload.h"

#include <QDateTime>

#include <functional>

namespace vantor {

// Sets the Jbus address to 0 for its lifetime and restores the configured one.
class BroadcastAddress {
public:
    explicit BroadcastAddress(LinkSettings& settings) : m_settings(settings), m_saved(settings.jbusAddress)
    {
        settings.jbusAddress = 0;
    }
    ~BroadcastAddress() { m_settings.jbusAddress = m_saved; }
    BroadcastAddress(const BroadcastAddress&) = delete;
    BroadcastAddress& operator=(const BroadcastAddress&) = delete;

private:
    LinkSettings& m_settings;
    float m_saved;
};

// Writes, in this order: the clock from `now`, both totalizer resets, then the
// default calibration, factory, CAN (with the calibration) and maker blocks
// that are chosen, pausing before every write after the first. Stops at the
// first failure. 0 or -1.
int initialiseUnit(BlockLink& link, const InitialisationChoice& blocks, const QDateTime& now,
                   const std::function<void()>& pause = pauseBetweenWrites);

// Asks which blocks to write; Yes (or Enter) confirms, No cancels.
class InitialisationDialog : public TemplateDialog {
    Q_OBJECT
public:
    InitialisationDialog(const DialogContext& context, QWidget* owner);

private:
    DialogContext m_context;
};

// The Initialization command of the main menu: the dialog, the writes under the
// wait window, and one message saying how it went.
void runInitialisation(const DialogContext& context, QWidget* owner);

}  // namespace vantor
