#include "PedalPipe.h"

#include <stdexcept>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace lirabox::test {

PedalPipe::PedalPipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("no pipe");
    mRead = ends[0];
    mWrite = ends[1];
}

PedalPipe::~PedalPipe() {
    if (mRead >= 0) ::close(mRead);
    closeWriteEnd();
}

int PedalPipe::releaseReadEnd() {
    const int fd = mRead;
    mRead = -1;
    return fd;
}

void PedalPipe::send(std::initializer_list<std::uint8_t> bytes) {
    const std::vector<std::uint8_t> data(bytes);
    if (::write(mWrite, data.data(), data.size()) != static_cast<ssize_t>(data.size())) {
        throw std::runtime_error("pipe write failed");
    }
}

void PedalPipe::closeWriteEnd() {
    if (mWrite >= 0) ::close(mWrite);
    mWrite = -1;
}

}  // namespace lirabox::test
