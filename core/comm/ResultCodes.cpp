#include "ResultCodes.h"

#include "text/StringTable.h"

#include <array>

namespace lumetra {

namespace {
// String id of codes 1..32; several codes share a text.
constexpr std::array<int, 33> kStringIds{
    0,   266, 267, 268, 269, 270, 275, 339, 275, 274, 275, 276, 277, 278, 261, 253, 280,
    281, 282, 283, 284, 260, 285, 286, 287, 288, 289, 290, 340, 341, 342, 343, 344,
};
} // namespace

int resultStringId(int code)
{
    return code >= 1 && code < static_cast<int>(kStringIds.size()) ? kStringIds[static_cast<std::size_t>(code)] : 0;
}

ResultMessage resultMessage(int code, const StringTable& strings)
{
    const int id = resultStringId(code);
    ResultMessage m;
    m.stringId = id;
    m.text = id ? strings.text(id) : "UnKnow Error !";
    m.title = code == Result::CompareSame ? "Compare" : "Error";
    m.icon = (id == 0 || code <= 24) ? MessageIcon::Exclamation : MessageIcon::None;
    return m;
}

} // namespace lumetra
