#pragma once

#include "JbusMaster.h"
#include "LinkState.h"
#include "SerialPort.h"
#include "Simulator.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vantor::test {

// A simulator on `lines` pseudo-terminals mapped to Com1.., and a Jbus master
// set to Com1 at 9600 baud, address 1.
class SimFixture : public ::testing::Test {
protected:
    void startSimulator(int lines = 1, sim::SimOptions options = {})
    {
        std::vector<std::string> paths;
        for (int i = 0; i < lines; ++i)
            paths.push_back(dir.file("com" + std::to_string(i + 1)));
        simulator = std::make_unique<sim::Simulator>(paths, options);
        for (int i = 0; i < lines && i < kPortCount; ++i)
            serial.setDevicePath(i, paths[i]);
    }

    void SetUp() override
    {
        for (int i = 0; i < kPortCount; ++i)
            serial.setDevicePath(i, dir.file("absent" + std::to_string(i + 1)));
        startSimulator();
    }

    // Sends a read of count registers from first; 0 or -1.
    int read(uint16_t first, uint16_t count)
    {
        master.jbusRequest(3, first, count);
        return master.jbusTransact(6);
    }

    // Sends a write of the given register values from first; 0 or -1.
    int write(uint16_t first, const std::vector<uint16_t>& values)
    {
        master.jbusRequest(16, first, static_cast<uint16_t>(values.size()));
        for (size_t i = 0; i < values.size(); ++i) {
            buffers.request[7 + 2 * i] = static_cast<uint8_t>(values[i] >> 8);
            buffers.request[8 + 2 * i] = static_cast<uint8_t>(values[i]);
        }
        return master.jbusTransact(static_cast<int>(7 + 2 * values.size()));
    }

    // Requests the instrument heard on its own line at its own speed.
    size_t heardCount() const
    {
        size_t n = 0;
        for (const auto& r : simulator->requests())
            n += r.heard ? 1 : 0;
        return n;
    }

    TempDir dir;
    SerialLibrary serial;
    LinkSettings settings;
    LinkBuffers buffers;
    JbusMaster master{serial, settings, buffers};
    std::unique_ptr<sim::Simulator> simulator;
};

}  // namespace vantor::test
