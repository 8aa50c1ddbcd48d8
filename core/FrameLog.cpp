#include "FrameLog.h"

#include "AtomicFile.h"
#include "Formatted.h"
#include "LinkStatus.h"
#include "LocalTime.h"

namespace vantor {

namespace {

// "2024-03-05 14:07:09", local time.
std::string dateAndTime(int64_t wallMs)
{
    const LocalDateTime t = localTimeOf(wallMs / 1000);
    return formatted("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

std::string line(const LoggedFrame& frame, int language)
{
    const LocalDateTime t = localTimeOf(frame.wallMs / 1000);
    return formatted("%02d:%02d:%02d.%03d ", t.hour, t.minute, t.second, static_cast<int>(frame.wallMs % 1000)) +
           traceLine(frame.direction, frame.bytes, frame.verdict, frame.msSinceStart, language);
}

}  // namespace

void FrameLog::add(LoggedFrame frame)
{
    if (m_capacity == 0)
        return;
    if (m_frames.size() == m_capacity)
        m_frames.pop_front();
    m_frames.push_back(std::move(frame));
}

std::vector<std::string> FrameLog::lines(int language) const
{
    std::vector<std::string> out;
    out.reserve(m_frames.size());
    for (const LoggedFrame& frame : m_frames)
        out.push_back(line(frame, language));
    return out;
}

std::string linkLogHeaderText(const LinkLogHeader& h)
{
    const LinkCounters& c = h.counters;
    using N = unsigned long long;
    std::string text = h.program + " link log, saved " + dateAndTime(h.savedAtMs) + "\n";
    text += "Port: " + linkInUse(h.link, kTraceLanguage) + ", device " + h.device + "\n";
    text += formatted("Transactions: %llu   good: %llu   retries: %llu\n"
                      "Silences: %llu   bad CRC: %llu   wrong length: %llu   mismatch: %llu   exceptions: %llu\n",
                      N{c.transactions}, N{c.good}, N{c.retries}, N{c.silences}, N{c.badCrc}, N{c.wrongLength},
                      N{c.badReply}, N{c.exceptions});
    text += c.lastFailure == LinkFailure::None
                ? std::string("Last failure: none\n")
                : "Last failure: " + std::string(linkFailureText(c.lastFailure, kTraceLanguage)) + ", at " +
                      dateAndTime(c.lastFailureTime * 1000) + "\n";
    text += "Frames, in English whatever the program's language: local time, milliseconds since the program "
            "started, sent or recv, the bytes in hexadecimal, the verdict.\n";
    return text;
}

bool FrameLog::saveTo(const std::string& path, const LinkLogHeader& header) const
{
    std::string text = linkLogHeaderText(header) + "\n";
    for (const LoggedFrame& frame : m_frames)
        text += line(frame, kTraceLanguage) + "\n";
    return replaceFile(path, text);
}

}  // namespace vantor
