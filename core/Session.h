// Everything a conversation with an instrument needs, built in the order each
// part needs the one before: the program's variables, the serial library, the
// Jbus master on their link settings, and the block link with its
// probe catalogue. The window's program object, vantorctl, the tests and the
// benchmarks each build one.
#pragma once

#include "BlockLink.h"
#include "JbusMaster.h"
#include "ProgramState.h"
#include "SerialPort.h"

namespace vantor {

struct Session {
    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    ProgramState state;
    SerialLibrary serial;
    JbusMaster master{serial, state.settings.link};
    BlockLink link{master, state.catalogue};
};

}  // namespace vantor
