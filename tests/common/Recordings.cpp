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

// Runs ffmpeg with the arguments, without a shell and without standard input.
void runFfmpeg(const std::vector<std::string>& arguments) {
    std::vector<std::string> command {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
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

std::filesystem::path encode(const std::filesystem::path& wav, std::filesystem::path target, const char* extension,
                             const char* codec) {
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
    if (fs::copy_file(target, partial, fs::copy_options::overwrite_existing, notKept))
        fs::rename(partial, kept, notKept);
    return target;
}

}  // namespace

std::filesystem::path makeMp3(const std::filesystem::path& wav, std::filesystem::path target) {
    return encode(wav, std::move(target), ".mp3", "libmp3lame");
}

std::filesystem::path makeWma(const std::filesystem::path& wav, std::filesystem::path target) {
    return encode(wav, std::move(target), ".wma", "wmav2");
}

}  // namespace lirabox::test
