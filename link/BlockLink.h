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

}  // namespace vantor
