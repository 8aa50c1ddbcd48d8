#include "BlockLink.h"

#include <algorithm>

namespace vantor {

namespace {
constexpr uint16_t kCatalogueFirst = 0x5000;
constexpr uint16_t kCatalogueCount = 120;
}  // namespace

BlockLink::BlockLink(JbusMaster& master, ProbeCatalogue& catalogue) : m_master(master), m_catalogue(catalogue) {}

int BlockLink::blockTransact(uint8_t function, uint16_t firstRegister, uint16_t count,
                             std::span<const uint8_t> image)
{
    if (m_master.busy())
        return -1;  // the running transaction's buffers are not ours to touch
    if (!m_catalogue.read && readProbeCatalogue() != 0)
        return -1;
    m_master.jbusRequest(function, firstRegister, count);
    if (function != 16)
        return m_master.jbusTransact(6);
    const size_t size = std::min<size_t>(2 * size_t{count}, LinkBuffers::kSize - LinkBuffers::kRequestImage - 2);
    std::span<uint8_t> data = requestImage(m_master.buffers()).first(size);
    std::fill(data.begin(), data.end(), uint8_t{0});
    std::copy_n(image.begin(), std::min(image.size(), data.size()), data.begin());
    return m_master.jbusTransact(static_cast<int>(LinkBuffers::kRequestImage + size));
}

int BlockLink::readProbeCatalogue()
{
    m_master.jbusRequest(3, kCatalogueFirst, kCatalogueCount);
    if (m_master.jbusTransact(6) != 0)
        return -1;
    parseProbeCatalogue(replyImage(m_master.buffers()).first(2 * kCatalogueCount), m_catalogue);
    m_catalogue.read = true;
    return 0;
}

}  // namespace vantor
