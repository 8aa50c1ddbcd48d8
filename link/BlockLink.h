// Block transfers: every transaction of the program passes through here, and the
// probe catalogue is read first whenever the connection may have changed.
#pragma once

#include "JbusMaster.h"
#include "LinkState.h"
#include "ProbeCatalogue.h"

#include <cstdint>
#include <optional>
#include <span>

namespace vantor {

class BlockLink {
public:
    BlockLink(JbusMaster& master, ProbeCatalogue& catalogue);

    // Reads the probe catalogue if it is not read yet, then runs the
    // transaction with the unit at `address`: a read of `count` registers, or
    // (function 16) a write of the image given, bytes it does not give sent as
    // zero. The reply's register image, valid until the next transaction, or
    // nothing on a failure.
    std::optional<std::span<const uint8_t>> blockTransact(uint8_t address, uint8_t function, uint16_t firstRegister,
                                                          uint16_t count, std::span<const uint8_t> image = {});

    // Reads the catalogue from the unit at `address` now, whatever the flag says. 0 or -1.
    int readProbeCatalogue(uint8_t address);
    int readProbeCatalogue() { return readProbeCatalogue(unitAddress()); }

    // The address the settings give the unit.
    uint8_t unitAddress() const { return jbusAddressByte(m_master.settings().jbusAddress); }

    void invalidateProbeCatalogue() { m_catalogue.read = false; }
    void markProbeCatalogueRead() { m_catalogue.read = true; }

    JbusMaster& master() { return m_master; }
    ProbeCatalogue& catalogue() { return m_catalogue; }

private:
    JbusMaster& m_master;
    ProbeCatalogue& m_catalogue;
};

}  // namespace vantor
