#include "BlockLink.h"

#include <algorithm>
#include <array>

namespace vantor {

namespace {
constexpr uint16_t kCatalogueFirst = 0x5000;
constexpr uint16_t kCatalogueCount = 120;
constexpr uint16_t kAddressRegister = 0x111A;
constexpr int kDetectPorts = 3;
}  // namespace

BlockLink::BlockLink(JbusMaster& master, ProbeCatalogue& catalogue) : m_master(master), m_catalogue(catalogue) {}

int BlockLink::jbusBlockTransact(int length)
{
    if (m_master.busy())
        return -1;  // the running transaction's buffers are not ours to touch
    if (!m_catalogue.read) {
        LinkBuffers& buffers = m_master.buffers();
        std::array<uint8_t, LinkBuffers::kSize> saved;
        const size_t kept = std::min<size_t>(length > 0 ? static_cast<size_t>(length) : 0, saved.size());
        std::copy_n(buffers.request.begin(), kept, saved.begin());

        if (readProbeCatalogue() != 0)
            return -1;
        std::copy_n(saved.begin(), kept, buffers.request.begin());
    }
    return m_master.jbusTransact(length);
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

bool detectUnit(BlockLink& link, LinkSettings& settings)
{
    settings.jbusAddress = 0.0f;
    for (int port = 0; port < kDetectPorts; ++port) {
        settings.portIndex = port;
        for (int baud = 0; baud < static_cast<int>(kBaudRates.size()); ++baud) {
            settings.baudIndex = baud;
            link.master().jbusRequest(3, kAddressRegister, 1);
            if (link.jbusBlockTransact(6) == 0)
                return true;
        }
    }
    return false;
}

}  // namespace vantor
