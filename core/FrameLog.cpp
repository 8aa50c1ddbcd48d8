#include "FrameLog.h"

#include "AtomicFile.h"

namespace vantor {

void FrameLog::add(std::string line)
{
    if (m_capacity == 0)
        return;
    if (m_lines.size() == m_capacity)
        m_lines.pop_front();
    m_lines.push_back(std::move(line));
}

bool FrameLog::saveTo(const std::string& path) const
{
    std::string text;
    for (const std::string& line : m_lines)
        text += line + "\n";
    return replaceFile(path, text);
}

}  // namespace vantor
