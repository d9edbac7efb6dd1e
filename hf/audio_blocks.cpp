#include "hf/audio_blocks.h"

#include <algorithm>
#include <stdexcept>

namespace hf {

void AudioBlocks::push(const std::vector<float>& block) {
    if (block.size() != audioBlockSize) throw std::runtime_error("Taille audio incorrecte");
    if (blocks.size() >= capacity) {
        blocks.pop_front();
        ++dropped;
    }
    auto& slot = blocks.emplace_back();
    std::copy(block.begin(), block.end(), slot.begin());
}

}  // namespace hf
