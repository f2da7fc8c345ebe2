#include "ValueText.h"

#include <cctype>
#include <cstdlib>

namespace lumetra {

double leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    std::string spelled;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        spelled += text[i++];
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c)))
            spelled += c;
        else if (c == '.' && !point) {
            point = true;
            spelled += c;
        } else
            break;
    }
    return std::strtod(spelled.c_str(), nullptr);
}

std::string zeroPadded(long long value, int width)
{
    // Negated as unsigned: the most negative value has no positive twin.
    std::string digits = std::to_string(value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value));
    if (static_cast<int>(digits.size()) < width)
        digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return digits;
}

} // namespace lumetra
