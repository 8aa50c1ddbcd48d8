// The last frames on the line, as the technician reads them and sends them to
// support: a ring of frames with the wall-clock time each was seen, shown in
// the program's language, and saved in English under a header that says what
// the link was and did.
#pragma once

#include "JbusMaster.h"
#include "LinkState.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace vantor {

struct LoggedFrame {
    int64_t wallMs = 0;         // milliseconds since 1970
    double msSinceStart = 0;    // on the program's steady clock, as vantorctl --trace counts
    TraceDirection direction = TraceDirection::Sent;
    std::vector<uint8_t> bytes;
    TraceVerdict verdict = TraceVerdict::Good;
};

// What a saved log says of the link before its frames.
struct LinkLogHeader {
    std::string program;  // name and version
    int64_t savedAtMs = 0;
    LinkSettings link;
    std::string device;
    LinkCounters counters;
};

class FrameLog {
public:
    explicit FrameLog(size_t capacity = 400) : m_capacity(capacity) {}

    // Keeps the frame, forgetting the oldest one past the capacity.
    void add(LoggedFrame frame);
    size_t size() const { return m_frames.size(); }
    size_t capacity() const { return m_capacity; }
    // One line a frame, the local time of day first: "14:07:09.123    1234.5 ms sent 01 03 ...  good".
    std::vector<std::string> lines(int language) const;
    // Writes the header then the frames in English, replacing the file only once complete.
    bool saveTo(const std::string& path, const LinkLogHeader& header) const;

private:
    size_t m_capacity;
    std::deque<LoggedFrame> m_frames;
};

// The header's text, in English, each line ended.
std::string linkLogHeaderText(const LinkLogHeader& header);

}  // namespace vantor
