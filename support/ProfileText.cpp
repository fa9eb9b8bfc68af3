#include "ProfileText.h"

#include <cstddef>

namespace lirabox {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    }
    return true;
}

std::string_view nameArgument(std::string_view name) { return trimBlanks(untilNul(name)); }

// The line break starting at `at`: "\r\n", "\r" or "\n".
std::string_view lineBreakAt(std::string_view text, std::size_t at) {
    if (text[at] == '\n') return "\n";
    return (at + 1 < text.size() && text[at + 1] == '\n') ? "\r\n" : "\r";
}

// One line of the text, as offsets into it.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;   // end of the content: before "\n", "\r\n" or "\r"
    std::size_t next = 0;  // start of the following line
    bool terminated = false;
};

class LineReader {
public:
    explicit LineReader(std::string_view text)
        : mText(text), mPos(text.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0) {}

    bool next(Line& line) {
        if (mPos >= mText.size()) return false;
        line.begin = mPos;
        const std::size_t brk = mText.find_first_of("\r\n", mPos);
        if (brk == std::string_view::npos) {
            line.end = line.next = mText.size();
            line.terminated = false;
        } else {
            line.end = brk;
            line.next = brk + lineBreakAt(mText, brk).size();
            line.terminated = true;
        }
        mPos = line.next;
        return true;
    }

private:
    std::string_view mText;
    std::size_t mPos;
};

enum class LineKind { Other, Section, Entry };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::size_t valueBegin = 0;  // entries: offset of the first non-blank after "="
    std::string_view value;      // entries: the value with blanks around it removed
};

ParsedLine parseLine(std::string_view text, const Line& line) {
    ParsedLine parsed;
    const std::string_view content = text.substr(line.begin, line.end - line.begin);
    const std::string_view trimmed = trimBlanks(content);
    if (trimmed.empty() || trimmed.front() == ';') return parsed;
    if (trimmed.front() == '[') {
        const std::size_t close = trimmed.rfind(']');
        if (close != 0 && close != std::string_view::npos) {
            parsed.kind = LineKind::Section;
            parsed.name = trimBlanks(trimmed.substr(1, close - 1));
        }
        return parsed;
    }
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) return parsed;
    parsed.kind = LineKind::Entry;
    parsed.name = trimBlanks(content.substr(0, equals));
    std::size_t valueBegin = equals + 1;
    while (valueBegin < content.size() && isBlank(content[valueBegin])) ++valueBegin;
    parsed.valueBegin = line.begin + valueBegin;
    parsed.value = trimBlanks(content.substr(valueBegin));
    return parsed;
}

std::string_view lineBreakOf(std::string_view text) {
    const std::size_t brk = text.find_first_of("\r\n");
    return brk == std::string_view::npos ? "\n" : lineBreakAt(text, brk);
}

bool hasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

std::string_view untilNul(std::string_view text) { return text.substr(0, text.find('\0')); }

std::string_view withoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string_view defaultAsReturned(std::string_view defaultValue) {
    std::string_view value = untilNul(defaultValue);
    while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
    return withoutQuotes(value);
}

std::optional<std::string> findProfileValue(std::string_view text, std::string_view section, std::string_view key) {
    const std::string_view wantedSection = nameArgument(section);
    const std::string_view wantedKey = nameArgument(key);
    LineReader reader(text);
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        const ParsedLine parsed = parseLine(text, line);
        if (parsed.kind == LineKind::Section) {
            if (inSection) break;
            inSection = equalsIgnoringCase(parsed.name, wantedSection);
        } else if (inSection && parsed.kind == LineKind::Entry && equalsIgnoringCase(parsed.name, wantedKey)) {
            return std::string(untilNul(withoutQuotes(parsed.value)));
        }
    }
    return std::nullopt;
}

bool isStorableProfileEntry(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view s = nameArgument(section);
    const std::string_view k = nameArgument(key);
    if (s.empty() || k.empty()) return false;
    if (hasLineBreak(s) || hasLineBreak(k) || hasLineBreak(untilNul(value))) return false;
    return k.find('=') == std::string_view::npos && k.front() != '[' && k.front() != ';';
}

std::string setProfileValue(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view value) {
    const std::string_view s = nameArgument(section);
    const std::string_view k = nameArgument(key);
    const std::string_view v = untilNul(value);
    const std::string_view lineBreak = lineBreakOf(text);

    LineReader reader(text);
    Line line;
    bool inSection = false;
    Line lastOfSection;  // the header or the section's last entry
    while (reader.next(line)) {
        const ParsedLine parsed = parseLine(text, line);
        if (parsed.kind == LineKind::Section) {
            if (inSection) break;
            inSection = equalsIgnoringCase(parsed.name, s);
            if (inSection) lastOfSection = line;
        } else if (inSection && parsed.kind == LineKind::Entry) {
            if (equalsIgnoringCase(parsed.name, k)) {
                std::string out;
                out.reserve(text.size() + v.size());
                out.append(text.substr(0, parsed.valueBegin)).append(v).append(text.substr(line.end));
                return out;
            }
            lastOfSection = line;
        }
    }

    std::string out;
    out.reserve(text.size() + s.size() + k.size() + v.size() + 8);
    if (inSection) {
        out.append(text.substr(0, lastOfSection.next));
        if (!lastOfSection.terminated) out.append(lineBreak);
        out.append(k).append("=").append(v).append(lineBreak);
        out.append(text.substr(lastOfSection.next));
        return out;
    }
    out.append(text);
    if (!text.empty() && text.back() != '\n' && text.back() != '\r' && text != kUtf8Bom) out.append(lineBreak);
    out.append("[").append(s).append("]").append(lineBreak);
    out.append(k).append("=").append(v).append(lineBreak);
    return out;
}

std::string cutToBufferSize(std::string_view text, int bufferSize) {
    if (bufferSize <= 1) return {};
    std::size_t cut = static_cast<std::size_t>(bufferSize) - 1;
    if (text.size() <= cut) return std::string(text);
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto isContinuation = [&](std::size_t i) { return (byteAt(i) & 0xC0) == 0x80; };
    if (isContinuation(cut)) {
        std::size_t lead = cut;
        while (lead > 0 && cut - lead < 3 && isContinuation(lead - 1)) --lead;
        if (lead > 0) {
            --lead;
            const unsigned char first = byteAt(lead);
            const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
            if (length > cut - lead) cut = lead;
        }
    }
    return std::string(text.substr(0, cut));
}

}  // namespace lirabox
