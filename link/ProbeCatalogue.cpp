#include "ProbeCatalogue.h"

#include "Windows1252.h"

namespace vantor {

void parseProbeCatalogue(std::span<const uint8_t> image, ProbeCatalogue& catalogue)
{
    for (size_t i = 0; i < kProbeCount; ++i) {
        const size_t at = kProbeEntrySize * i;
        if (at + kProbeEntrySize > image.size())
            break;
        std::string name;
        for (size_t c = 0; c < kProbeNameLength && image[at + c] != 0; ++c)
            name.push_back(static_cast<char>(image[at + c]));
        // The instrument speaks Windows-1252; the program keeps its texts in UTF-8.
        catalogue.names[i] = fromWindows1252(name);
        catalogue.angles[i] = static_cast<int16_t>((image[at + 8] << 8) | image[at + 9]);
    }
}

}  // namespace vantor
