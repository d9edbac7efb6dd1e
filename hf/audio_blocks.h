#pragma once
// Bounded queue of audio blocks between the receive chain and playback: when
// playback falls behind, the newest audio is kept.

#include <array>
#include <cstdint>
#include <deque>
#include <vector>

namespace hf {

constexpr std::size_t audioBlockSize = 2048;

class AudioBlocks {
public:
    static constexpr std::size_t capacity = 24;

    void push(const std::vector<float>& block);

    std::deque<std::array<float, audioBlockSize>> blocks;
    uint32_t dropped = 0;
};

}  // namespace hf
