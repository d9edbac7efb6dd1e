#include "platform/pcm16.h"
#include "platform/wav.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>

#include <csignal>
#endif

namespace fs = std::filesystem;

struct WavTestAccess {
    static void setDataBytes(Wav& wav, uint32_t bytes) { wav.dataBytes = bytes; }
};

namespace {

const std::string limitReached = "Limite WAV atteinte : enregistrement termine.";
const std::string writeFailed = "Erreur d'ecriture WAV. Verifiez l'espace disque.";
const std::string cannotCreate = "Impossible de creer le fichier WAV.";

// The 44 header bytes as a fresh recording has them: sizes 36 and 0.
const unsigned char creationHeader[44] = {
    'R', 'I', 'F', 'F', 36,   0,    0, 0, 'W', 'A', 'V', 'E', 'f',  'm',  't', ' ',
    16,  0,   0,   0,   1,    0,    1, 0, 0x80, 0xBB, 0, 0,   0x00, 0x77, 1,   0,
    2,   0,   16,  0,   'd',  'a',  't', 'a', 0, 0, 0, 0};

std::string headerWithSizes(uint32_t riff, uint32_t data) {
    std::string h(std::begin(creationHeader), std::end(creationHeader));
    for (int i = 0; i < 4; ++i) {
        h[4 + i] = static_cast<char>((riff >> (8 * i)) & 0xFF);
        h[40 + i] = static_cast<char>((data >> (8 * i)) & 0xFF);
    }
    return h;
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int16_t sampleAt(const std::string& file, std::size_t i) {
    const auto lo = static_cast<unsigned char>(file[44 + 2 * i]);
    const auto hi = static_cast<unsigned char>(file[44 + 2 * i + 1]);
    return static_cast<int16_t>(lo | (hi << 8));
}

// A block whose samples all differ, so a misplaced or reordered byte shows.
std::vector<float> rampBlock(std::size_t block) {
    std::vector<float> samples(2048);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = -0.95f + 1.9f * static_cast<float>((block * 2048 + i) % 4093) / 4093.0f;
    return samples;
}

class WavFile : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("wav_test_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir);
    }
    void TearDown() override {
        static_cast<void>(recorder.close());
        fs::remove_all(dir);
    }

    std::string refusalOfOpen(const fs::path& path) {
        try {
            recorder.open(path);
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "(no refusal)";
    }

    std::string refusalOfAppend(const std::vector<float>& block) {
        try {
            recorder.append(block);
        } catch (const std::runtime_error& e) {
            return e.what();
        }
        return "(no refusal)";
    }

    fs::path dir;
    Wav recorder;
};

struct EncodingCase {
    float sample;
    int16_t pcm;
};

class Pcm16 : public testing::TestWithParam<EncodingCase> {};

TEST_P(Pcm16, ClipsAndTruncatesTowardZero) {
    EXPECT_EQ(pcm16(GetParam().sample), GetParam().pcm) << GetParam().sample;
}

INSTANTIATE_TEST_SUITE_P(
    Wav, Pcm16,
    testing::Values(EncodingCase{1.2f, 32767}, EncodingCase{-1.0f, -32767},
                    EncodingCase{1.0f, 32767}, EncodingCase{0.5f, 16383},
                    EncodingCase{-0.5f, -16383}, EncodingCase{0.99999f, 32766},
                    EncodingCase{-0.99999f, -32766}, EncodingCase{0.0f, 0},
                    EncodingCase{-1e-6f, 0}, EncodingCase{1e30f, 32767},
                    EncodingCase{-1e30f, -32767},
                    EncodingCase{std::numeric_limits<float>::infinity(), 32767},
                    EncodingCase{-std::numeric_limits<float>::infinity(), -32767},
                    EncodingCase{std::numeric_limits<float>::quiet_NaN(), 0}));

TEST_F(WavFile, FreshRecordingHasTheCreationHeader) {
    const fs::path path = dir / "fresh.wav";
    recorder.open(path);
    EXPECT_TRUE(recorder.isOpen());
    // What a recording killed before its end leaves behind.
    EXPECT_EQ(bytesOf(path), std::string(std::begin(creationHeader), std::end(creationHeader)));
    EXPECT_TRUE(recorder.close());
    EXPECT_FALSE(recorder.isOpen());
    EXPECT_EQ(bytesOf(path), headerWithSizes(36, 0));
}

class WavBlocks : public WavFile, public testing::WithParamInterface<std::size_t> {};

TEST_P(WavBlocks, SizesArePatchedOnClose) {
    const std::size_t blocks = GetParam();
    const fs::path path = dir / "blocks.wav";
    recorder.open(path);
    for (std::size_t b = 0; b < blocks; ++b) recorder.append(rampBlock(b));
    EXPECT_TRUE(recorder.close());

    const std::string file = bytesOf(path);
    const auto data = static_cast<uint32_t>(4096 * blocks);
    ASSERT_EQ(file.size(), 44 + data);
    EXPECT_EQ(file.substr(0, 44), headerWithSizes(data + 36, data));
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::vector<float> block = rampBlock(b);
        for (std::size_t i = 0; i < block.size(); ++i)
            ASSERT_EQ(sampleAt(file, b * 2048 + i), pcm16(block[i])) << b << ":" << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Wav, WavBlocks, testing::Values(0u, 1u, 3u));

TEST_F(WavFile, SamplesAreWrittenLowByteFirst) {
    const fs::path path = dir / "order.wav";
    std::vector<float> block(2048, 0.0f);
    block[0] = 1.2f;
    block[1] = -1.0f;
    block[2] = 0.5f;
    block[3] = -0.5f;
    recorder.open(path);
    recorder.append(block);
    EXPECT_TRUE(recorder.close());
    const std::string file = bytesOf(path);
    ASSERT_EQ(file.size(), 44u + 4096u);
    EXPECT_EQ(file.substr(44, 8), std::string("\xFF\x7F\x01\x80\xFF\x3F\x01\xC0", 8));
}

TEST_F(WavFile, LastBlockBelowTheLimitIsWritten) {
    const fs::path path = dir / "limit.wav";
    recorder.open(path);
    WavTestAccess::setDataBytes(recorder, 0xFFFEF000u);
    recorder.append(rampBlock(0));
    EXPECT_TRUE(recorder.isOpen());
    EXPECT_TRUE(recorder.close());
    const std::string file = bytesOf(path);
    ASSERT_EQ(file.size(), 44u + 4096u);
    EXPECT_EQ(file.substr(0, 44), headerWithSizes(0xFFFF0024u, 0xFFFF0000u));
}

TEST_F(WavFile, BlockPastTheLimitFinalisesAndWritesNothing) {
    const fs::path path = dir / "limit.wav";
    recorder.open(path);
    WavTestAccess::setDataBytes(recorder, 0xFFFEF001u);
    EXPECT_EQ(refusalOfAppend(rampBlock(0)), limitReached);
    EXPECT_FALSE(recorder.isOpen());
    EXPECT_EQ(bytesOf(path), headerWithSizes(0xFFFEF001u + 36, 0xFFFEF001u));
}

TEST_F(WavFile, OpeningAnotherFileFinalisesTheFirst) {
    const fs::path first = dir / "first.wav";
    const fs::path second = dir / "second.wav";
    recorder.open(first);
    recorder.append(rampBlock(0));
    recorder.open(second);
    EXPECT_EQ(bytesOf(first).substr(0, 44), headerWithSizes(4132, 4096));
    EXPECT_EQ(bytesOf(second), headerWithSizes(36, 0));
    recorder.append(rampBlock(1));
    EXPECT_TRUE(recorder.close());
    EXPECT_EQ(bytesOf(second).substr(0, 44), headerWithSizes(4132, 4096));
    EXPECT_EQ(bytesOf(first).size(), 44u + 4096u);
}

TEST_F(WavFile, CloseOnAClosedRecorderChangesNothing) {
    const fs::path path = dir / "closed.wav";
    EXPECT_TRUE(recorder.close());
    recorder.open(path);
    recorder.append(rampBlock(0));
    EXPECT_TRUE(recorder.close());
    const std::string finalised = bytesOf(path);
    EXPECT_TRUE(recorder.close());
    EXPECT_FALSE(recorder.isOpen());
    EXPECT_EQ(bytesOf(path), finalised);
}

TEST_F(WavFile, FailedOpenLeavesNoFileOpen) {
    const fs::path previous = dir / "previous.wav";
    recorder.open(previous);
    recorder.append(rampBlock(0));
    try {
        recorder.open(dir / "no such folder" / "x.wav");
        FAIL() << "opened a file in a missing folder";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), cannotCreate);
    }
    EXPECT_FALSE(recorder.isOpen());
    EXPECT_EQ(bytesOf(previous).substr(0, 44), headerWithSizes(4132, 4096));
    // The failure does not stick to the recorder.
    const fs::path next = dir / "next.wav";
    recorder.open(next);
    recorder.append(rampBlock(0));
    EXPECT_TRUE(recorder.close());
    EXPECT_EQ(bytesOf(next).substr(0, 44), headerWithSizes(4132, 4096));
}

TEST_F(WavFile, DestructorFinalises) {
    const fs::path path = dir / "destroyed.wav";
    {
        Wav wav;
        wav.open(path);
        wav.append(rampBlock(0));
    }
    EXPECT_EQ(bytesOf(path).substr(0, 44), headerWithSizes(4132, 4096));
}

TEST_F(WavFile, AcceptsANonAsciiPath) {
    const fs::path path = dir / fs::path(u8"écoute — 7 MHz.wav");
    recorder.open(path);
    recorder.append(rampBlock(0));
    EXPECT_TRUE(recorder.close());
    EXPECT_EQ(bytesOf(path).size(), 44u + 4096u);
}

// A device that takes no byte, as a full disk does: without its header the
// file is no recording, even one that a paused reception never appends to.
TEST_F(WavFile, HeaderRefusedByTheDiskFailsTheOpen) {
#ifdef _WIN32
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr)
        GTEST_SKIP() << "needs Wine's drive Z: onto /dev/full";
    const fs::path full = "Z:\\dev\\full";
#else
    const fs::path full = "/dev/full";
#endif
    EXPECT_EQ(refusalOfOpen(full), writeFailed);
    EXPECT_FALSE(recorder.isOpen());
    // The failure does not stick to the recorder.
    const fs::path next = dir / "next.wav";
    recorder.open(next);
    EXPECT_TRUE(recorder.close());
    EXPECT_EQ(bytesOf(next), headerWithSizes(36, 0));
}

#ifndef _WIN32
// While it lives, no file of this process grows past `bytes`: the write that
// crosses the limit is cut short there and the next one fails, as on a disk
// that fills up in the middle of a block.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        if (getrlimit(RLIMIT_FSIZE, &saved) != 0) throw std::runtime_error("getrlimit");
        previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved;
        limited.rlim_cur = bytes;
        if (setrlimit(RLIMIT_FSIZE, &limited) != 0) throw std::runtime_error("setrlimit");
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved{};
    void (*previousHandler)(int) = SIG_DFL;
};

struct CutCase {
    const char* name;
    std::size_t fileLimit;
    uint32_t dataInHeader;  // whole samples that reached the file
};

void PrintTo(const CutCase& c, std::ostream* os) { *os << c.name; }

class WavWriteFailure : public WavFile, public testing::WithParamInterface<CutCase> {};

TEST_P(WavWriteFailure, HeaderCountsWhatReachedTheFile) {
    const CutCase& c = GetParam();
    const fs::path path = dir / "full.wav";
    {
        const FileSizeLimit limit(c.fileLimit);
        recorder.open(path);
        recorder.append(rampBlock(0));
        EXPECT_EQ(refusalOfAppend(rampBlock(1)), writeFailed);
        EXPECT_TRUE(recorder.isOpen());
        // Reception ends on the error; its teardown finalises the file.
        EXPECT_TRUE(recorder.close());
    }
    const std::string file = bytesOf(path);
    ASSERT_EQ(file.size(), c.fileLimit);
    EXPECT_EQ(file.substr(0, 44), headerWithSizes(c.dataInHeader + 36, c.dataInHeader));
    const std::vector<float> first = rampBlock(0);
    const std::vector<float> second = rampBlock(1);
    for (std::size_t i = 0; i < c.dataInHeader / 2; ++i)
        ASSERT_EQ(sampleAt(file, i), pcm16(i < 2048 ? first[i] : second[i - 2048])) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Wav, WavWriteFailure,
    testing::Values(CutCase{"AtABlockBoundary", 44 + 4096, 4096},
                    CutCase{"MidBlock", 44 + 4096 + 1000, 5096},
                    CutCase{"MidSample", 44 + 4096 + 1001, 5096}),
    [](const auto& info) { return std::string(info.param.name); });

struct LimitCase {
    const char* name;
    rlim_t fileLimit;
};

void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

std::string caseName(const testing::TestParamInfo<LimitCase>& info) { return info.param.name; }

class WavHeaderCut : public WavFile, public testing::WithParamInterface<LimitCase> {};

TEST_P(WavHeaderCut, FailsTheOpenAndLeavesNoFileOpen) {
    const FileSizeLimit limit(GetParam().fileLimit);
    EXPECT_EQ(refusalOfOpen(dir / "full.wav"), writeFailed);
    EXPECT_FALSE(recorder.isOpen());
}

INSTANTIATE_TEST_SUITE_P(Wav, WavHeaderCut,
                         testing::Values(LimitCase{"NothingWritten", 0}, LimitCase{"PartWritten", 20}),
                         caseName);

class WavSizesCut : public WavFile, public testing::WithParamInterface<LimitCase> {};

// The header's sizes are patched in place, so only a file that refuses even
// those bytes (here cut at an offset the header already reached) fails.
TEST_P(WavSizesCut, FailTheClose) {
    const fs::path path = dir / "cut.wav";
    recorder.open(path);
    recorder.append(rampBlock(0));
    {
        const FileSizeLimit limit(GetParam().fileLimit);
        EXPECT_FALSE(recorder.close());
    }
    EXPECT_FALSE(recorder.isOpen());
    EXPECT_EQ(bytesOf(path).size(), 44u + 4096u);
    // The next recording starts afresh.
    recorder.open(path);
    EXPECT_TRUE(recorder.close());
    EXPECT_EQ(bytesOf(path), headerWithSizes(36, 0));
}

INSTANTIATE_TEST_SUITE_P(Wav, WavSizesCut,
                         testing::Values(LimitCase{"RiffSizeRefused", 0}, LimitCase{"DataSizeCut", 42}),
                         caseName);

TEST_F(WavFile, SizeLimitSaysWhenTheSizesCouldNotBeWritten) {
    recorder.open(dir / "limit.wav");
    WavTestAccess::setDataBytes(recorder, 0xFFFEF001u);
    {
        const FileSizeLimit limit(0);
        EXPECT_EQ(refusalOfAppend(rampBlock(0)), writeFailed);
    }
    EXPECT_FALSE(recorder.isOpen());
}
#endif

}  // namespace
