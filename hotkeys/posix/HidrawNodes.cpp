#include "HidrawNodes.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>

namespace lirabox::hotkeys {
namespace {

std::optional<std::uint32_t> hexField(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::pair<std::uint16_t, std::uint16_t>> hidIdOf(std::string_view uevent) {
    constexpr std::string_view kPrefix = "HID_ID=";
    std::size_t start = 0;
    while (start < uevent.size()) {
        const std::size_t end = std::min(uevent.find('\n', start), uevent.size());
        const std::string_view line = uevent.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with(kPrefix)) continue;
        const std::string_view id = line.substr(kPrefix.size());
        const std::size_t first = id.find(':');
        const std::size_t second = id.find(':', first == std::string_view::npos ? first : first + 1);
        if (first == std::string_view::npos || second == std::string_view::npos) return std::nullopt;
        const auto vendor = hexField(id.substr(first + 1, second - first - 1));
        const auto product = hexField(id.substr(second + 1));
        if (!vendor || !product || *vendor > 0xffff || *product > 0xffff) return std::nullopt;
        return std::pair {static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product)};
    }
    return std::nullopt;
}

std::vector<PedalNode> findPedalNodes(const std::filesystem::path& hidrawClass,
                                      const std::filesystem::path& devFolder) {
    std::vector<PedalNode> nodes;
    std::error_code error;
    for (std::filesystem::directory_iterator it(hidrawClass, error), end; !error && it != end; it.increment(error)) {
        const std::filesystem::directory_entry& entry = *it;
        std::ifstream file(entry.path() / "device" / "uevent");
        const std::string uevent {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        const auto id = hidIdOf(uevent);
        if (!id) continue;
        if (const PedalDevice* device = findPedalDevice(id->first, id->second)) {
            nodes.push_back({(devFolder / entry.path().filename()).string(), device});
        }
    }
    return nodes;
}

}  // namespace lirabox::hotkeys
