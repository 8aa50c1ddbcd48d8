// The instrument's probe catalogue: 24 names of up to 8 characters and their angles.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace vantor {

inline constexpr int kProbeCount = 24;
inline constexpr int kProbeNameLength = 8;
inline constexpr int kProbeEntrySize = 10;

// Where the instrument keeps the catalogue: the link reads it before its first
// transaction, so the block's place is known here, below the register map.
inline constexpr uint16_t kProbeCatalogueFirstRegister = 0x5000;
inline constexpr uint16_t kProbeCatalogueRegisterCount = kProbeCount * kProbeEntrySize / 2;

struct ProbeCatalogue {
    std::array<std::string, kProbeCount> names;
    std::array<int16_t, kProbeCount> angles{};
    bool read = false;  // read from the instrument since the connection last changed
};

// Fills names and angles from the catalogue block's image (240 bytes). A shorter
// image leaves the entries it does not hold untouched.
void parseProbeCatalogue(std::span<const uint8_t> image, ProbeCatalogue& catalogue);

}  // namespace vantor
