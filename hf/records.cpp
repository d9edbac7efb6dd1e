#include "hf/records.h"

namespace hf {

bool sameDongle(const Device& a, const Device& b) {
    return a.manufacturer == b.manufacturer && a.product == b.product && a.serial == b.serial;
}

}  // namespace hf
