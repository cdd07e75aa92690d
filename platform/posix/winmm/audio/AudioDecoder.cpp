#include "platform/posix/winmm/audio/AudioDecoder.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// Opens path for reading without blocking on a FIFO or a device, and only when it names a
// regular file. Answers the descriptor, or -1 with the reason in result.
int OpenRegularFile(const std::string& path, AudioDecoder::OpenResult& result) {
    int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        result = errno == ENOENT || errno == ENOTDIR ? AudioDecoder::OpenResult::NotFound
                                                     : AudioDecoder::OpenResult::Invalid;
        return -1;
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
        fcntl(descriptor, F_SETFL, 0) != 0) {
        close(descriptor);
        result = AudioDecoder::OpenResult::Invalid;
        return -1;
    }
    return descriptor;
}

} // namespace

AudioDecoder::~AudioDecoder() {
    Close();
}

void AudioDecoder::Close() {
    if (file != nullptr) {
        sf_close(file);
        close(descriptor);
        file = nullptr;
        descriptor = -1;
    }
}

AudioDecoder::OpenResult AudioDecoder::Open(const std::string& path) {
    OpenResult result = OpenResult::Opened;
    int opened = OpenRegularFile(path, result);
    if (opened < 0) {
        return result;
    }
    // The descriptor stays ours (not handed to the library to close), so every path closes
    // it exactly once.
    SF_INFO info{};
    SNDFILE* handle = sf_open_fd(opened, SFM_READ, &info, SF_FALSE);
    if (handle != nullptr && (info.samplerate <= 0 || info.channels <= 0 || info.frames < 0)) {
        sf_close(handle);
        handle = nullptr;
    }
    if (handle == nullptr) {
        close(opened);
        return OpenResult::Invalid;
    }
    Close();
    file = handle;
    descriptor = opened;
    frames = static_cast<std::uint64_t>(info.frames);
    sampleRate = static_cast<std::uint32_t>(info.samplerate);
    channels = static_cast<std::uint32_t>(info.channels);
    return OpenResult::Opened;
}

std::uint32_t AudioDecoder::Read(float* buffer, std::uint32_t frameCount) {
    if (file == nullptr) {
        return 0;
    }
    sf_count_t decoded = sf_readf_float(file, buffer, frameCount);
    return decoded > 0 ? static_cast<std::uint32_t>(decoded) : 0;
}

bool AudioDecoder::Seek(std::uint64_t frame) {
    if (file == nullptr || frame > static_cast<std::uint64_t>(INT64_MAX)) {
        return false;
    }
    return sf_seek(file, static_cast<sf_count_t>(frame), SEEK_SET) >= 0;
}
