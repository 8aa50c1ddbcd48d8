// Simulators served over a loopback socket, for test programs that cannot make
// pseudo-terminals themselves (the Windows build under Wine): the simulator's
// lines are the paths given here, which the client reaches as its COM ports.
#pragma once

#include <string>
#include <vector>

namespace vantor::sim {

// Serves one client at a time on 127.0.0.1:port; never returns but on failure.
int serveSimulators(int port, const std::vector<std::string>& paths);

}  // namespace vantor::sim
