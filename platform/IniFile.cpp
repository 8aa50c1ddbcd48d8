#include "IniFile.h"

#include <cstdint>
#include <utility>

namespace vantor {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20))
            return false;
    return true;
}

void appendUtf8(std::string& out, uint32_t cp)
{
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The next character of UTF-8 text; a byte that starts no valid sequence
// stands for itself (as Latin-1).
uint32_t nextCodePoint(std::string_view s, size_t& i)
{
    const auto byte = [&](size_t k) { return static_cast<uint8_t>(s[k]); };
    const uint8_t lead = byte(i);
    const int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length > 1 && i + length <= s.size()) {
        uint32_t cp = lead & (0x7F >> length);
        bool valid = true;
        for (int k = 1; k < length && valid; ++k) {
            valid = (byte(i + k) & 0xC0) == 0x80;
            cp = (cp << 6) | (byte(i + k) & 0x3F);
        }
        static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && cp >= kSmallest[length] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF)) {
            i += length;
            return cp;
        }
    }
    ++i;
    return lead;
}

std::string hex(uint32_t value, int digits, bool upper)
{
    const char* const set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out;
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += set[(value >> shift) & 0xF];
    return out;
}

// Keys and section names: letters, digits, "_-." as they are, the group
// separator "/" as "\", any other character as %XX or, past Latin-1, as
// %UXXXX (UTF-16 units).
std::string escapedKey(std::string_view key)
{
    std::string out;
    for (size_t i = 0; i < key.size();) {
        const uint32_t cp = nextCodePoint(key, i);
        if ((cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z') || (cp >= '0' && cp <= '9') || cp == '_' ||
            cp == '-' || cp == '.') {
            out += static_cast<char>(cp);
        } else if (cp == '/') {
            out += '\\';
        } else if (cp < 0x100) {
            out += '%' + hex(cp, 2, true);
        } else if (cp < 0x10000) {
            out += "%U" + hex(cp, 4, true);
        } else {
            out += "%U" + hex(0xD800 + ((cp - 0x10000) >> 10), 4, true);
            out += "%U" + hex(0xDC00 + ((cp - 0x10000) & 0x3FF), 4, true);
        }
    }
    return out;
}

// The character a %XX or %UXXXX escape at i stands for; i moves past it.
std::optional<uint32_t> escapeAt(std::string_view key, size_t& i)
{
    const size_t digits = key.substr(i).starts_with("%U") ? 4 : key.substr(i).starts_with('%') ? 2 : 0;
    const size_t from = i + (digits == 4 ? 2 : 1);
    if (digits == 0 || from + digits > key.size())
        return std::nullopt;
    uint32_t unit = 0;
    for (size_t k = from; k < from + digits; ++k) {
        if (hexDigit(key[k]) < 0)
            return std::nullopt;
        unit = unit * 16 + static_cast<uint32_t>(hexDigit(key[k]));
    }
    i = from + digits;
    return unit;
}

std::string unescapedKey(std::string_view key)
{
    std::string out;
    for (size_t i = 0; i < key.size();) {
        std::optional<uint32_t> unit = escapeAt(key, i);
        if (!unit) {
            out += key[i] == '\\' ? '/' : key[i];
            ++i;
            continue;
        }
        // A character past the 16-bit range comes as two escapes, a surrogate pair.
        size_t next = i;
        const std::optional<uint32_t> low = *unit >= 0xD800 && *unit < 0xDC00 ? escapeAt(key, next) : std::nullopt;
        if (low && *low >= 0xDC00 && *low < 0xE000) {
            unit = 0x10000 + ((*unit - 0xD800) << 10) + (*low - 0xDC00);
            i = next;
        }
        appendUtf8(out, *unit);
    }
    return out;
}

// The characters a value writes as a backslash and a letter.
constexpr std::pair<char, char> kEscapes[] = {{'\0', '0'}, {'\a', 'a'}, {'\b', 'b'}, {'\f', 'f'}, {'\n', 'n'},
                                              {'\r', 'r'}, {'\t', 't'},  {'\v', 'v'}, {'"', '"'},  {'\\', '\\'}};

char escapeLetter(char c)
{
    for (const auto& [character, letter] : kEscapes)
        if (character == c)
            return letter;
    return 0;
}

// The character of an escape's letter; 0 for none ("\0" is read as octal).
char escapedChar(char letter)
{
    for (const auto& [character, known] : kEscapes)
        if (known == letter && character != '\0')
            return character;
    return 0;
}

// A value: C escapes for the quote, the backslash and control characters (a
// numeric escape is followed by escaped hexadecimal digits, never by raw
// ones); quoted when it holds ";", "," or "=" or starts or ends with a space;
// a leading "@" doubled, since "@" starts a typed value.
std::string escapedValue(std::string_view text)
{
    std::string out = text.starts_with('@') ? "@" : "";
    bool quoted = !text.empty() && (text.front() == ' ' || text.back() == ' ');
    bool afterHex = false;
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (c == ';' || c == ',' || c == '=')
            quoted = true;
        if (afterHex && hexDigit(c) >= 0) {
            out += "\\x" + hex(byte, 2, false);
            continue;
        }
        afterHex = false;
        if (const char letter = escapeLetter(c)) {
            out += '\\';
            out += letter;
            afterHex = c == '\0';  // "\01" would read as one octal escape
        } else if (byte < 0x20) {
            out += "\\x" + hex(byte, byte < 0x10 ? 1 : 2, false);
            afterHex = true;
        } else {
            out += c;
        }
    }
    return quoted ? '"' + out + '"' : out;
}

uint32_t digitsValue(std::string_view s, size_t& i, int base)
{
    uint32_t value = 0;
    while (i < s.size()) {
        const int d = hexDigit(s[i]);
        if (d < 0 || d >= base)
            break;
        value = value > 0x10FFFF ? value : value * static_cast<uint32_t>(base) + static_cast<uint32_t>(d);
        ++i;
    }
    return value;
}

// What a value's text stands for: quotes removed, escapes replaced, the spaces
// around it and a comment after ";" dropped.
std::string unescapedValue(std::string_view raw)
{
    std::string out;
    size_t kept = 0;  // the text up to here stays; unquoted spaces past it are trimmed
    bool quoted = false;
    size_t i = 0;
    while (i < raw.size() && isSpace(raw[i]))
        ++i;
    while (i < raw.size()) {
        const char c = raw[i++];
        if (c == '"') {
            quoted = !quoted;
            kept = out.size();
            continue;
        }
        if (!quoted && c == ';')
            break;
        if (c != '\\' || i == raw.size()) {
            out += c;
            if (quoted || !isSpace(c))
                kept = out.size();
            continue;
        }
        const char e = raw[i++];
        if (e == 'x') {
            appendUtf8(out, digitsValue(raw, i, 16));
        } else if (e >= '0' && e <= '7') {
            --i;
            appendUtf8(out, digitsValue(raw, i, 8));
        } else if (const char character = escapedChar(e)) {
            out += character;
        } else if (std::string_view("'?;,=").find(e) != std::string_view::npos) {
            out += e;
        }  // an escape of no meaning stands for nothing
        kept = out.size();
    }
    out.resize(kept);
    return out;
}

// A value's text as the settings see it: "@" starts a typed value.
std::optional<std::string> typedValue(std::string text)
{
    if (!text.starts_with('@'))
        return text;
    if (text.starts_with("@@"))
        return text.substr(1);
    if (text == "@Invalid()")
        return std::nullopt;
    for (const std::string_view type : {"@String(", "@ByteArray("})
        if (text.starts_with(type) && text.ends_with(')'))
            return text.substr(type.size(), text.size() - type.size() - 1);
    return text;
}

// A section's group: "General" (in any case) holds the top-level values, and
// "%General" the group named General.
std::string groupOfSection(std::string_view name)
{
    if (equalsNoCase(name, "general"))
        return std::string();
    if (equalsNoCase(name, "%general"))
        return "General";
    return unescapedKey(name);
}

std::string sectionOfGroup(std::string_view group)
{
    if (group.empty())
        return "General";
    return equalsNoCase(group, "general") ? "%General" : escapedKey(group);
}

// "Probe/3": section "Probe", key "3"; a path without a group is top-level.
std::pair<std::string_view, std::string_view> splitPath(std::string_view path)
{
    const size_t slash = path.find('/');
    if (slash == std::string_view::npos)
        return {std::string_view(), path};
    return {path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

IniFile::IniFile(std::string_view text)
{
    std::string section;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (raw.ends_with('\r'))
            raw.remove_suffix(1);

        Line line{std::string(raw), section, std::string(), false};
        const std::string_view content = trimmed(raw);
        const size_t close = content.find(']');
        if (content.starts_with('[') && close != std::string_view::npos) {
            section = groupOfSection(content.substr(1, close - 1));
            line.section = section;
            line.header = true;
        } else if (!content.starts_with(';') && !content.starts_with('#') &&
                   content.find('=') != std::string_view::npos) {
            const std::string key = unescapedKey(trimmed(content.substr(0, content.find('='))));
            if (!key.empty())
                line.path = section.empty() ? key : section + '/' + key;
        }
        m_lines.push_back(std::move(line));
    }
}

std::optional<std::string> IniFile::value(std::string_view path) const
{
    // A key given twice: the later one counts, as it would have overwritten the first.
    for (auto line = m_lines.rbegin(); line != m_lines.rend(); ++line)
        if (!line->path.empty() && line->path == path)
            return typedValue(unescapedValue(line->raw.substr(line->raw.find('=') + 1)));
    return std::nullopt;
}

bool IniFile::hasGroup(std::string_view group) const
{
    for (const Line& line : m_lines)
        if (line.path.size() > group.size() && line.path.starts_with(group) && line.path[group.size()] == '/')
            return true;
    return false;
}

void IniFile::setValue(std::string_view path, std::string_view text)
{
    const auto entry = [&](const std::string& section) {
        const std::string_view key = section.empty() ? path : path.substr(section.size() + 1);
        return escapedKey(key) + '=' + escapedValue(text);
    };
    for (auto line = m_lines.rbegin(); line != m_lines.rend(); ++line) {
        if (line->path == path) {
            line->raw = entry(line->section);
            return;
        }
    }
    const std::string group(splitPath(path).first);
    // A new key goes after the last line of its section, before the blank
    // lines that end it.
    size_t after = m_lines.size();
    for (size_t i = 0; i < m_lines.size(); ++i)
        if (m_lines[i].section == group && (m_lines[i].header || !m_lines[i].path.empty()))
            after = i;
    if (after < m_lines.size()) {
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(after + 1),
                       Line{entry(group), group, std::string(path), false});
        return;
    }
    // A new section: the top-level one opens the file, others follow the rest
    // after a blank line.
    std::vector<Line> added = {Line{'[' + sectionOfGroup(group) + ']', group, std::string(), true},
                               Line{entry(group), group, std::string(path), false}};
    if (group.empty()) {
        if (!m_lines.empty())
            added.push_back(Line{std::string(), group, std::string(), false});
        m_lines.insert(m_lines.begin(), added.begin(), added.end());
        return;
    }
    if (!m_lines.empty() && !trimmed(m_lines.back().raw).empty())
        m_lines.push_back(Line{std::string(), m_lines.back().section, std::string(), false});
    m_lines.insert(m_lines.end(), added.begin(), added.end());
}

std::string IniFile::text() const
{
    std::string out;
    for (const Line& line : m_lines)
        out += line.raw + '\n';
    return out;
}

}  // namespace vantor
