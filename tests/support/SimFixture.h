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

    // Sends a read of count registers from first to address 1; 0 or -1.
    int read(uint16_t first, uint16_t count) { return master.transact(1, 3, first, count) ? 0 : -1; }

    // Sends a write of the given register values from first to address 1; 0 or -1.
    int write(uint16_t first, const std::vector<uint16_t>& values)
    {
        std::vector<uint8_t> image;
        for (const uint16_t value : values) {
            image.push_back(static_cast<uint8_t>(value >> 8));
            image.push_back(static_cast<uint8_t>(value));
        }
        return master.transact(1, 16, first, static_cast<uint16_t>(values.size()), image) ? 0 : -1;
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
    JbusMaster master{serial, settings};
    std::unique_ptr<sim::Simulator> simulator;
};

}  // namespace vantor::test
