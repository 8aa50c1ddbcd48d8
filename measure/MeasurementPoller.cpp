#include "MeasurementPoller.h"

#include "BlockCodec.h"

#include <algorithm>

namespace vantor {

bool MeasurementPoller::poll()
{
    if (!m_calibrationLoaded) {
        m_link.master().jbusRequest(3, kCalibrationBlock.firstRegister, kCalibrationBlock.registerCount);
        if (m_link.jbusBlockTransact(6) == 0) {
            kCalibrationCodec.decode(replyImage(m_state.buffers).first(kCalibrationBlock.imageSize()), m_state.record);
            m_qMax = m_state.record.calibration.maxQ;
            m_calibrationLoaded = true;
        }
    }
    m_link.master().jbusRequest(3, kMeasurementBlock.firstRegister, kMeasurementBlock.registerCount);
    const bool read = m_link.jbusBlockTransact(6) == 0;
    if (!read || !m_calibrationLoaded)
        return false;
    decodeImage(kMeasurementTable, replyImage(m_state.buffers).first(kMeasurementBlock.imageSize()),
                m_state.record.measurement);
    return true;
}

std::span<const uint8_t> MeasurementPoller::frame() const
{
    return std::span<const uint8_t>(m_state.buffers.reply).first(std::min<size_t>(m_state.buffers.received, LinkBuffers::kSize));
}

}  // namespace vantor
