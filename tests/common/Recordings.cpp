#include "Recordings.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <string>
#include <vector>

namespace lirabox::test {
namespace {

void putLe(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

// Runs ffmpeg with the arguments, without a shell and without standard input.
void runFfmpeg(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("cannot start ffmpeg");
    if (child == 0) {
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) throw std::runtime_error("lost the ffmpeg process");
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("ffmpeg failed on " + arguments.front() + " ... " + arguments.back());
    }
}

// Where an encoding of these WAV bytes with this codec is kept. Every test case
// runs in a process of its own and most set-ups encode the same tones, so the
// encodings are kept per user in the temporary folder, named by the bytes.
std::filesystem::path keptEncoding(const std::filesystem::path& wav, const char* extension, const char* codec) {
    std::ifstream in(wav, std::ios::binary);
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    std::vector<char> block(1 << 16);
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            hash ^= static_cast<unsigned char>(block[static_cast<std::size_t>(i)]);
            hash *= 1099511628211ull;
        }
    }
    const char* temporary = std::getenv("TMPDIR");
    const std::filesystem::path base(temporary != nullptr && temporary[0] == '/' ? temporary : "/tmp");
    const std::filesystem::path folder = base / ("lirabox-test-encodings-" + std::to_string(::getuid()));
    return folder / (std::to_string(hash) + "-" + codec + extension);
}

std::filesystem::path encode(const std::filesystem::path& wav, std::filesystem::path target,
                             const char* extension, const char* codec) {
    namespace fs = std::filesystem;
    if (target.empty()) target = fs::path(wav).replace_extension(extension);
    const fs::path kept = keptEncoding(wav, extension, codec);
    std::error_code missing;
    if (fs::copy_file(kept, target, fs::copy_options::overwrite_existing, missing)) return target;
    runFfmpeg({"-i", wav.string(), "-c:a", codec, "-b:a", "128k", target.string()});
    // Kept through a rename, so a test running beside this one never copies half a file.
    std::error_code notKept;
    fs::create_directories(kept.parent_path(), notKept);
    const fs::path partial = kept.string() + "." + std::to_string(::getpid());
    if (fs::copy_file(target, partial, fs::copy_options::overwrite_existing, notKept)) fs::rename(partial, kept, notKept);
    return target;
}

}  // namespace

void writeSineWav(const std::filesystem::path& path, double seconds, double frequency, int sampleRate,
                  int channels) {
    if (seconds < 0 || sampleRate <= 0 || channels <= 0) {
        throw std::runtime_error("writeSineWav: bad arguments");
    }
    const auto frames = static_cast<std::uint32_t>(std::llround(seconds * sampleRate));
    const std::uint32_t blockAlign = 2u * static_cast<std::uint32_t>(channels);
    const std::uint32_t dataBytes = frames * blockAlign;

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + path.string());
    out.write("RIFF", 4);
    putLe(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLe(out, 16, 4);
    putLe(out, 1, 2);  // PCM
    putLe(out, static_cast<std::uint32_t>(channels), 2);
    putLe(out, static_cast<std::uint32_t>(sampleRate), 4);
    putLe(out, static_cast<std::uint32_t>(sampleRate) * blockAlign, 4);
    putLe(out, blockAlign, 2);
    putLe(out, 16, 2);
    out.write("data", 4);
    putLe(out, dataBytes, 4);

    std::vector<char> block(static_cast<std::size_t>(blockAlign) * 4096);
    std::size_t used = 0;
    for (std::uint32_t frame = 0; frame < frames; ++frame) {
        const double t = static_cast<double>(frame) / sampleRate;
        const auto sample = static_cast<std::int16_t>(
            std::lround(16383.0 * std::sin(2.0 * std::numbers::pi * frequency * t)));
        const auto bits = static_cast<std::uint16_t>(sample);
        for (int c = 0; c < channels; ++c) {
            block[used++] = static_cast<char>(bits & 0xFFu);
            block[used++] = static_cast<char>(bits >> 8);
        }
        if (used == block.size()) {
            out.write(block.data(), static_cast<std::streamsize>(used));
            used = 0;
        }
    }
    out.write(block.data(), static_cast<std::streamsize>(used));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::filesystem::path makeMp3(const std::filesystem::path& wav, std::filesystem::path target) {
    return encode(wav, std::move(target), ".mp3", "libmp3lame");
}

std::filesystem::path makeWma(const std::filesystem::path& wav, std::filesystem::path target) {
    return encode(wav, std::move(target), ".wma", "wmav2");
}

}  // namespace lirabox::test
