#include "platform/wav.h"

#include "platform/check.h"
#include "platform/pcm16.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::streamoff headerBytes = 44;
constexpr std::streamoff riffSizeAt = 4;
constexpr std::streamoff dataSizeAt = 40;
constexpr uint32_t headerBytesAfterRiffSize = 36;

void putLe16(char* at, uint16_t value) {
    at[0] = static_cast<char>(value & 0xFF);
    at[1] = static_cast<char>(value >> 8);
}

void putLe32(char* at, uint32_t value) {
    putLe16(at, static_cast<uint16_t>(value & 0xFFFF));
    putLe16(at + 2, static_cast<uint16_t>(value >> 16));
}

std::array<char, headerBytes> creationHeader() {
    std::array<char, headerBytes> h{};
    char* p = h.data();
    std::copy_n("RIFF", 4, p);
    putLe32(p + riffSizeAt, headerBytesAfterRiffSize);
    std::copy_n("WAVEfmt ", 8, p + 8);
    putLe32(p + 16, 16);     // format chunk size
    putLe16(p + 20, 1);      // PCM
    putLe16(p + 22, 1);      // mono
    putLe32(p + 24, 48000);  // samples per second
    putLe32(p + 28, 96000);  // bytes per second
    putLe16(p + 32, 2);      // bytes per sample frame
    putLe16(p + 34, 16);     // bits per sample
    std::copy_n("data", 4, p + 36);
    putLe32(p + dataSizeAt, 0);
    return h;
}

}  // namespace

Wav::Wav() {
    // Unbuffered, every write reaches the file at once: a failed write leaves
    // nothing pending that could stand in the way of the size patch, and the
    // file position tells exactly how much of a block got through.
    stream.rdbuf()->pubsetbuf(nullptr, 0);
}

// Nobody is left to hear of a failure here.
Wav::~Wav() { static_cast<void>(close()); }

void Wav::open(const std::filesystem::path& path) {
    // The caller opens only when no recording is under way; a file still
    // open here has nobody waiting for its outcome.
    static_cast<void>(close());
    stream.open(path, std::ios::binary | std::ios::out | std::ios::trunc);
    check(stream.is_open() && stream.good(), "Impossible de creer le fichier WAV.");
    dataBytes = 0;
    // A paused reception appends nothing that would report a full disk
    // later: the header is checked now, and a file without it is no
    // recording to go on with.
    const auto header = creationHeader();
    if (stream.write(header.data(), header.size())) return;
    stream.close();
    check(false, writeFailed);
}

void Wav::append(const std::vector<float>& samples) {
    const uint64_t blockBytes = 2 * static_cast<uint64_t>(samples.size());
    if (dataBytes + blockBytes > maxDataBytes) {
        check(close(), writeFailed);
        check(false, "Limite WAV atteinte : enregistrement termine.");
    }
    std::vector<char> bytes(blockBytes);
    for (std::size_t i = 0; i < samples.size(); ++i)
        putLe16(&bytes[2 * i], static_cast<uint16_t>(pcm16(samples[i])));
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (stream) {
        dataBytes += static_cast<uint32_t>(blockBytes);
        return;
    }
    dataBytes = sampleBytesInFile();
    check(false, writeFailed);
}

// After a failed write only the file knows how much of the block reached it;
// the count keeps whole samples, so the header never cuts one in half.
uint32_t Wav::sampleBytesInFile() {
    stream.clear();
    const std::streamoff end = stream.tellp();
    stream.setstate(std::ios::badbit);
    if (end < headerBytes) return dataBytes;
    return static_cast<uint32_t>((end - headerBytes) & ~std::streamoff{1});
}

bool Wav::close() noexcept {
    if (!stream.is_open()) return true;
    // A failed write leaves the stream failed; the sizes must be written anyway.
    stream.clear();
    std::array<char, 4> size{};
    putLe32(size.data(), dataBytes + headerBytesAfterRiffSize);
    stream.seekp(riffSizeAt).write(size.data(), size.size());
    putLe32(size.data(), dataBytes);
    stream.seekp(dataSizeAt).write(size.data(), size.size());
    stream.close();  // sets the fail state itself when closing fails
    return !stream.fail();
}

bool Wav::isOpen() const { return stream.is_open(); }
