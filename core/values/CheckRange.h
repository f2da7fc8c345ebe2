#pragma once

#include <string_view>

namespace lumetra {

// Range check of a value text by its decimal-place class (0..5): 0 when the
// text is acceptable, 1 when it is not. The number is compared in single
// precision, limits included; a fraction may be longer than the class only
// by trailing zeros. `narrow` lowers the class 3 limit to 99.999 (prescale).
int CheckRange(int decimalClass, bool narrow, std::string_view text);

} // namespace lumetra
