// The last frames on the line, as the technician reads them and sends them to
// support: a ring of trace lines, with the link's counters beside them.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

namespace vantor {

class FrameLog {
public:
    explicit FrameLog(size_t capacity = 400) : m_capacity(capacity) {}

    // Keeps the line, forgetting the oldest one past the capacity.
    void add(std::string line);
    std::vector<std::string> lines() const { return {m_lines.begin(), m_lines.end()}; }
    size_t capacity() const { return m_capacity; }
    // Writes the lines, one a line, replacing the file only once complete.
    bool saveTo(const std::string& path) const;

private:
    size_t m_capacity;
    std::deque<std::string> m_lines;
};

}  // namespace vantor
