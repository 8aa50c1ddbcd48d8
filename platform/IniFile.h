// A settings file in the INI syntax that Qt's QSettings writes, which earlier
// versions of the program used: "[Section]" headers, "key=value" lines, keys
// and section names percent-escaped, values with C escapes and quotes. Files
// those versions left behind read the same, and what is written here reads
// back the same in them. Lines that a change does not touch (comments, other
// programs' keys) are kept as they are.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

class IniFile {
public:
    explicit IniFile(std::string_view text = {});

    // The text at a path of groups and a name ("Probe/3", or "Com" at the top);
    // nothing when the file has no such value.
    std::optional<std::string> value(std::string_view path) const;
    // True when some value lies under the top-level group.
    bool hasGroup(std::string_view group) const;
    void setValue(std::string_view path, std::string_view text);

    std::string text() const;

private:
    struct Line {
        std::string raw;
        std::string section;  // the group path the line lies in, "" at the top
        std::string path;     // a value's whole path; empty for other lines
        bool header = false;
    };
    std::vector<Line> m_lines;
};

}  // namespace vantor
