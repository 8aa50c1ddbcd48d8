// A network port's bytes from a device server, through the telnet decoder.
// The input's first byte gives the sizes of the reads the rest arrives in
// (bits 0-3: the first read's size, bits 4-7: the step added to each next one,
// a size of 0 taken as 1); the rest is the connection's bytes.
#include "FuzzSupport.h"
#include "TelnetCodec.h"

#include <algorithm>
#include <vector>

using namespace vantor;
using namespace vantor::telnet;

namespace {

struct Decoded {
    std::vector<uint8_t> data;
    std::vector<TelnetEvent> events;
};

// The bytes in reads of the sizes given, each into a buffer of exactly its room.
Decoded decodeInReads(std::span<const uint8_t> bytes, size_t first, size_t step)
{
    TelnetDecoder decoder;
    Decoded out;
    size_t size = std::max<size_t>(first, 1);
    for (size_t at = 0; at < bytes.size(); at += size, size = std::max<size_t>(size + step, 1) % 97 + 1) {
        const std::span<const uint8_t> read = bytes.subspan(at, std::min(size, bytes.size() - at));
        std::vector<uint8_t> room(read.size());
        const size_t n = decoder.decode(read, room.data(), out.events);
        FUZZ_CHECK(n <= read.size());
        out.data.insert(out.data.end(), room.begin(), room.begin() + static_cast<std::ptrdiff_t>(n));
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size)
{
    if (size < 1)
        return 0;
    const std::span<const uint8_t> bytes(input + 1, size - 1);
    const Decoded whole = decodeInReads(bytes, bytes.size(), 0);
    for (const TelnetEvent& event : whole.events) {
        FUZZ_CHECK(event.verb == kWill || event.verb == kWont || event.verb == kDo || event.verb == kDont ||
                   event.verb == kSb);
        FUZZ_CHECK(event.payload.size() <= TelnetDecoder::kLongestPayload);
        FUZZ_CHECK(event.verb == kSb || event.payload.empty());
    }
    // However the connection cuts the bytes into reads, the same data and events.
    const Decoded cut = decodeInReads(bytes, input[0] & 0x0F, input[0] >> 4);
    FUZZ_CHECK(cut.data == whole.data);
    FUZZ_CHECK(cut.events == whole.events);
    // What we send comes back whole: escaped data decodes to itself, with no event.
    std::vector<uint8_t> escaped;
    appendEscaped(escaped, bytes);
    const Decoded back = decodeInReads(escaped, input[0] & 0x0F, input[0] >> 4);
    FUZZ_CHECK(back.data == std::vector<uint8_t>(bytes.begin(), bytes.end()));
    FUZZ_CHECK(back.events.empty());
    return 0;
}
