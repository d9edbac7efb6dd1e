#pragma once
// Frequency text of the frequency field: reading what the user typed and
// writing the field's display form.

#include <cstdint>
#include <string>

namespace hf {

// Reads grouped Hz ("027.185.000") or decimal MHz ("27.185", "7,023"); a comma
// counts as a point. The number is read by the "C" rules whatever the process
// locale. Throws std::invalid_argument for unreadable text and
// std::out_of_range outside 0.5 to 52 MHz; an unreadable number carries the
// standard conversion's own message "stod".
std::int64_t parseFrequency(std::wstring text);

// "027.185000": whole MHz on at least three digits, a point, the Hz on six.
std::wstring frequencyDisplay(std::uint32_t hz);

}  // namespace hf
