#include "EnvelopeStore.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <type_traits>

namespace lirabox {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMagic = "LiraboxEnvelopes 1\n";
constexpr std::uint32_t kMaxPathBytes = 64 * 1024;
constexpr std::uint32_t kMaxColumns = 64 * 1024;

template <typename Number>
void put(std::string& out, Number value) {
    static_assert(std::is_trivially_copyable_v<Number>);
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// Reads from a byte string, failing for good at the first short read.
class Reader {
public:
    explicit Reader(std::string_view bytes) : mBytes(bytes) {}

    template <typename Number>
    std::optional<Number> take() {
        if (mBytes.size() < sizeof(Number)) return std::nullopt;
        Number value;
        std::memcpy(&value, mBytes.data(), sizeof value);
        mBytes.remove_prefix(sizeof value);
        return value;
    }
    std::optional<std::string_view> take(std::size_t length) {
        if (mBytes.size() < length) return std::nullopt;
        const std::string_view taken = mBytes.substr(0, length);
        mBytes.remove_prefix(length);
        return taken;
    }
    bool atEnd() const { return mBytes.empty(); }

private:
    std::string_view mBytes;
};

std::optional<KeptEnvelope> takeEnvelope(Reader& in) {
    const auto pathBytes = in.take<std::uint32_t>();
    if (!pathBytes || *pathBytes > kMaxPathBytes) return std::nullopt;
    const auto path = in.take(*pathBytes);
    const auto size = in.take<std::uint64_t>();
    const auto modified = in.take<std::int64_t>();
    const auto columns = in.take<std::uint32_t>();
    if (!path || !size || !modified || !columns || *columns == 0 || *columns > kMaxColumns) return std::nullopt;
    KeptEnvelope envelope;
    envelope.key = {std::string(*path), *size, fs::file_time_type(fs::file_time_type::duration(*modified)), *columns};
    envelope.levels.reserve(*columns);
    for (std::uint32_t column = 0; column < *columns; ++column) {
        const auto level = in.take<float>();
        if (!level || !std::isfinite(*level) || *level < -1.0f || *level > 1.0f) return std::nullopt;
        envelope.levels.push_back(*level);
    }
    return envelope;
}

}  // namespace

std::list<KeptEnvelope> readKeptEnvelopes(const fs::path& file, std::size_t most) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) return {};
    const std::uintmax_t size = fs::file_size(file, error);
    if (error || size > kMaxEnvelopeFileSize) return {};
    std::ifstream stream(file, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!stream.read(bytes.data(), static_cast<std::streamsize>(size)) || stream.peek() != EOF) return {};
    Reader in(bytes);
    const auto magic = in.take(kMagic.size());
    const auto count = in.take<std::uint32_t>();
    if (!magic || *magic != kMagic || !count) return {};
    std::list<KeptEnvelope> envelopes;
    for (std::uint32_t i = 0; i < *count; ++i) {
        std::optional<KeptEnvelope> envelope = takeEnvelope(in);
        if (!envelope) return {};
        if (envelopes.size() < most) envelopes.push_back(std::move(*envelope));
    }
    return in.atEnd() ? envelopes : std::list<KeptEnvelope> {};
}

bool writeKeptEnvelopes(const fs::path& file, const std::list<KeptEnvelope>& envelopes) {
    // Only what a read takes back is written.
    const auto readable = [](const KeptEnvelope& envelope) {
        return envelope.key.path.size() <= kMaxPathBytes && !envelope.levels.empty() &&
               envelope.levels.size() <= kMaxColumns;
    };
    std::string bytes(kMagic);
    put(bytes, static_cast<std::uint32_t>(std::count_if(envelopes.begin(), envelopes.end(), readable)));
    for (const KeptEnvelope& envelope : envelopes) {
        if (!readable(envelope)) continue;
        put(bytes, static_cast<std::uint32_t>(envelope.key.path.size()));
        bytes += envelope.key.path;
        put(bytes, static_cast<std::uint64_t>(envelope.key.size));
        put(bytes, static_cast<std::int64_t>(envelope.key.modified.time_since_epoch().count()));
        put(bytes, static_cast<std::uint32_t>(envelope.levels.size()));
        for (const float level : envelope.levels) put(bytes, level);
    }
    fs::path temporary = file;
    temporary += ".tmp";
    {
        std::ofstream stream(temporary, std::ios::binary | std::ios::trunc);
        if (!stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !stream.flush()) {
            stream.close();
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temporary, file, error);
    if (!error) return true;
    fs::remove(temporary, error);
    return false;
}

}  // namespace lirabox
