// One poll of the live measurement, shared by the measurement dialog and
// vantorctl: the calibration block until it has been read once (for the flow
// unit's full scale), then the 36 registers of the measurement.
#pragma once

#include "BlockLink.h"
#include "ProgramState.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vantor {

class MeasurementPoller {
public:
    MeasurementPoller(BlockLink& link, ProgramState& state) : m_link(link), m_state(state) {}

    // True when the calibration is in hand and the measurement was read; the
    // measurement image is then decoded into the parameter record.
    bool poll();
    // The reply frame of the last measurement read, as received: a copy of
    // its own, which the next poll replaces.
    std::span<const uint8_t> frame() const { return m_frame; }

    // Why the last poll failed: its measurement read, or the calibration read
    // when only that one failed.
    LinkFailure failure() const { return m_failure; }
    uint8_t exceptionCode() const { return m_exceptionCode; }

    bool calibrationLoaded() const { return m_calibrationLoaded; }
    float qMax() const { return m_qMax; }

private:
    BlockLink& m_link;
    ProgramState& m_state;
    bool m_calibrationLoaded = false;
    float m_qMax = 0;
    LinkFailure m_failure = LinkFailure::None;
    uint8_t m_exceptionCode = 0;
    std::vector<uint8_t> m_frame;
};

}  // namespace vantor
