// Block transfers: every transaction of the program passes through here, and the
// probe catalogue is read first whenever the connection may have changed.
#pragma once

#include "JbusMaster.h"
#include "LinkState.h"
#include "ProbeCatalogue.h"

#include <cstdint>
#include <span>

namespace vantor {

class BlockLink {
public:
    BlockLink(JbusMaster& master, ProbeCatalogue& catalogue);

    // Reads the probe catalogue if it is not read yet, then builds the request
    // and runs it: a read of `count` registers, or (function 16) a write of the
    // image given, bytes it does not give sent as zero. The request is built
    // only once the catalogue is in, so nothing needs to be kept aside. 0 or -1.
    int blockTransact(uint8_t function, uint16_t firstRegister, uint16_t count,
                      std::span<const uint8_t> image = {});

    // Reads the catalogue now, whatever the flag says; the request buffer is used. 0 or -1.
    int readProbeCatalogue();

    void invalidateProbeCatalogue() { m_catalogue.read = false; }
    void markProbeCatalogueRead() { m_catalogue.read = true; }

    JbusMaster& master() { return m_master; }
    ProbeCatalogue& catalogue() { return m_catalogue; }

private:
    JbusMaster& m_master;
    ProbeCatalogue& m_catalogue;
};

// Scans ports 0 to 2 and, for each, every speed from 300 to 9600 baud at Jbus
// address 0 until the instrument answers the read of its address register.
// On success the settings are left at the port and speed that answered; on
// failure the caller restores its own.
bool detectUnit(BlockLink& link, LinkSettings& settings);

}  // namespace vantor
