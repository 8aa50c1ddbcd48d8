#include "MeasurementPoller.h"

#include "BlockCodec.h"
#include "BlockTransfer.h"

#include <array>

namespace vantor {

bool MeasurementPoller::poll()
{
    const JbusMaster& master = m_link.master();
    if (!m_calibrationLoaded) {
        if (readBlock(m_link, kCalibrationCodec, m_state.record) == 0) {
            m_qMax = m_state.record.calibration.maxQ;
            m_calibrationLoaded = true;
        } else {
            m_failure = master.lastFailure();
            m_exceptionCode = master.exceptionCode();
        }
    }
    // The measurement is read even without the calibration: the instrument
    // sees the same polls as ever, and the reply frame stays for the caller.
    std::array<uint8_t, kMeasurementBlock.imageSize()> image;
    const bool read = readBlockImage(m_link, kMeasurementBlock, image) == 0;
    if (!read) {
        m_failure = master.lastFailure();
        m_exceptionCode = master.exceptionCode();
    }
    if (read) {
        const auto reply = master.lastReply();
        m_frame.assign(reply.begin(), reply.end());
    }
    if (!read || !m_calibrationLoaded)
        return false;
    kMeasurementCodec.decode(image, m_state.record);
    return true;
}

}  // namespace vantor
