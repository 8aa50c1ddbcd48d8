#include "BlockLink.h"

namespace vantor {

BlockLink::BlockLink(JbusMaster& master, ProbeCatalogue& catalogue) : m_master(master), m_catalogue(catalogue) {}

std::optional<std::span<const uint8_t>> BlockLink::blockTransact(uint8_t address, uint8_t function,
                                                                 uint16_t firstRegister, uint16_t count,
                                                                 std::span<const uint8_t> image)
{
    if (m_master.busy())
        return std::nullopt;  // a transaction is running: it may not be interleaved
    if (!m_catalogue.read && readProbeCatalogue(address) != 0)
        return std::nullopt;
    return m_master.transact(address, function, firstRegister, count, image);
}

int BlockLink::readProbeCatalogue(uint8_t address)
{
    const auto image = m_master.transact(address, 3, kProbeCatalogueFirstRegister, kProbeCatalogueRegisterCount);
    if (!image)
        return -1;
    parseProbeCatalogue(*image, m_catalogue);
    m_catalogue.read = true;
    return 0;
}

}  // namespace vantor
