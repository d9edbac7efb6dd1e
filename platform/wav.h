#pragma once
// Records the received audio as a RIFF/WAVE file, PCM 48000 Hz mono 16-bit,
// whose two size fields are written when the file is finalised.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

class Wav {
public:
    // The data chunk stops short of 4 GB so that the RIFF size fits in 32 bits.
    static constexpr uint32_t maxDataBytes = 0xFFFF0000;
    // A header, samples or final sizes that did not all reach the file.
    static constexpr char writeFailed[] = "Erreur d'ecriture WAV. Verifiez l'espace disque.";

    Wav();
    ~Wav();
    Wav(const Wav&) = delete;
    Wav& operator=(const Wav&) = delete;

    // Finalises any open file, then creates `path` with a header of sizes 36
    // and 0. Throws when the file cannot be created or its header written,
    // leaving no file open.
    void open(const std::filesystem::path& path);

    // Writes the samples as 16-bit PCM. At the size limit the file is
    // finalised and closed before the throw; after a failed write it stays
    // open, to be finalised by close().
    void append(const std::vector<float>& samples);

    // Writes the final sizes and closes; nothing when no file is open. False
    // when the sizes or the close failed: the file is closed all the same,
    // but its header does not describe what it holds.
    [[nodiscard]] bool close() noexcept;

    bool isOpen() const;

private:
    friend struct WavTestAccess;  // puts a recording at the size limit without writing 4 GB

    uint32_t sampleBytesInFile();

    std::ofstream stream;
    uint32_t dataBytes = 0;
};
