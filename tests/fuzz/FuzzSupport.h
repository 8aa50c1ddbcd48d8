// What the fuzz targets share. Each target is one LLVMFuzzerTestOneInput: libFuzzer
// drives it in the fuzzing build, and ReplayMain.cpp feeds it every file of its
// corpus in the ordinary suite.
#pragma once

#include "TempDir.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

namespace vantor::fuzz {

// Stops the run on a broken promise of the code under test, naming it:
// libFuzzer then keeps the input, as for a crash.
[[noreturn]] inline void checkFailed(const char* check, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, check);
    std::abort();
}
#define FUZZ_CHECK(condition) ((condition) ? (void)0 : ::vantor::fuzz::checkFailed(#condition, __FILE__, __LINE__))

// True in the suite's replay of the corpora. Fuzzing samples the slowest paths
// (one input in so many); the replay, a few inputs, sends each through all of them.
#ifdef VANTOR_FUZZ_REPLAY
inline constexpr bool kReplaying = true;
#else
inline constexpr bool kReplaying = false;
#endif

// A folder of the process's own under the temporary folder, removed at exit.
inline const test::TempDir& scratch()
{
    static const test::TempDir folder;
    return folder;
}

// Writes the input to the file of that name in the scratch folder, replacing
// what the previous input left there: one path serves the whole run.
inline std::string writeInputFile(const std::string& name, const uint8_t* data, size_t size)
{
    const std::string path = scratch().file(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

// One input in `every`, chosen by its content: the same input is always chosen
// (or not), so that a failure found on a sampled path is found again.
inline bool sampled(const uint8_t* data, size_t size, uint32_t every)
{
    uint32_t hash = 2166136261u;  // FNV-1a
    for (size_t i = 0; i < size; ++i)
        hash = (hash ^ data[i]) * 16777619u;
    return kReplaying || hash % every == 0;
}

// Takes values from the front of an input; past its end every value is 0.
class InputReader {
public:
    InputReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    uint16_t word()
    {
        const uint8_t high = byte();
        return static_cast<uint16_t>((high << 8) | byte());
    }
    bool empty() const { return m_at >= m_size; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

}  // namespace vantor::fuzz
