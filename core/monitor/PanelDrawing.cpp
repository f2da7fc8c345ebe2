#include "PanelDrawing.h"

#include <algorithm>
#include <cctype>
#include <set>

namespace lumetra {

namespace {
std::string upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

std::string indexed(const std::string& prefix, const char* control, int index)
{
    return prefix + control + "(" + std::to_string(index) + ")";
}

std::vector<std::string> buildNames()
{
    std::vector<std::string> names;
    for (int d = 0; d <= 9; ++d)
        names.push_back("IMAGE_" + std::to_string(d));
    names.push_back("IMAGE_98");
    names.push_back("IMAGE_99");
    for (const char* letter : {"A", "B", "C", "D", "E", "F", "H", "L", "N", "O", "P", "R", "T", "U", "Y", "Z"})
        names.push_back(std::string("IMAGE_") + letter);
    const auto series = [&](const std::string& prefix, int count) {
        for (int i = 0; i < count; ++i)
            names.push_back(prefix + std::to_string(i));
    };
    series("IMAGE_DPCOL_", 3);
    series("IMAGE_DP_", 2);
    series("IMAGE_AU_", 2);
    series("IMAGE_ONOFF_", 3);
    series("IMAGE_GROUP_", 5);
    series("IMAGE_COUNTDIR_", 5);
    series("IMAGE_KP_", 2);
    series("IMAGE_RANGEMODE_", 3);
    series("IMAGE_TIMERMODE_", 7);
    series("IMAGE_T_B_", 2);
    for (const char* bits : {"0000000", "0000001", "0000010", "0000100", "0000101", "0001000", "0010000", "0010001", "0010100",
                             "0010101", "0100000", "1000000", "1000001", "1000100", "1010000", "1010001", "1010100", "1010101"})
        names.push_back(std::string("IMAGE_WEEK_") + bits);
    // The editors' channel pictures: a channel of its own (W) or shared (G).
    for (const char* channel : {"IMAGE_CHA_W", "IMAGE_CHA_G", "IMAGE_CHB_W", "IMAGE_CHB_G"})
        names.push_back(channel);
    for (const char* button : {"START", "STOP", "RETURN"}) {
        names.push_back(std::string("IMAGE_") + button + "_D");
        names.push_back(std::string("IMAGE_") + button + "_E");
    }
    return names;
}
} // namespace

const std::vector<std::string>& bitmapNames()
{
    static const std::vector<std::string> names = buildNames();
    return names;
}

bool bitmapExists(const std::string& name)
{
    static const std::set<std::string> known(bitmapNames().begin(), bitmapNames().end());
    return known.count(upper(name)) > 0;
}

std::vector<ImageAssignment> drawPanel(const PanelState& s, bool second)
{
    const std::string p = second ? "T_" : "";
    std::vector<ImageAssignment> out{
        {p + "image_str_AU", "image_au_" + std::to_string(s.au)},
        {p + "image_str_OnOff", "image_onoff_" + std::to_string(s.onOff)},
        {p + "image_Group", "image_group_" + std::to_string(s.group)},
        {p + "image_CountDir", "image_countdir_" + std::to_string(s.countDir)},
        {p + "image_str_KP", "image_kp_" + std::to_string(s.kp)},
        {p + "image_str_RangeMode", "image_rangemode_" + std::to_string(s.rangeMode)},
        {p + "image_TimerMode", "image_timermode_" + std::to_string(s.timerMode)},
    };
    for (int i = 0; i < 6; ++i) {
        const auto u = static_cast<std::size_t>(i);
        if (i < 2) {
            // The decimal-point images show the separator pictures as well.
            out.push_back({indexed(p, "image_DPCol_A", i), "image_dpcol_" + std::to_string(s.dpColA[u])});
            out.push_back({indexed(p, "image_DPCol_B", i), "image_dpcol_" + std::to_string(s.dpColB[u])});
            out.push_back({indexed(p, "image_DP_A", i), "image_dpcol_" + std::to_string(s.dpA[u])});
            out.push_back({indexed(p, "image_DP_B", i), "image_dpcol_" + std::to_string(s.dpB[u])});
        }
        out.push_back({indexed(p, "image_char_A", i), "image_" + std::to_string(s.charA[u])});
        out.push_back({indexed(p, "image_char_B", i), "image_" + std::to_string(s.charB[u])});
    }
    out.push_back({p + "image_T_B", "image_t_b_" + s.tbName});
    out.push_back({p + "image_char_sp_B", "image_" + s.charSpB});
    out.push_back({p + "image_week", "image_week_" + s.weekBits});
    return out;
}

std::vector<ImageAssignment> clearPanel(bool second)
{
    const std::string p = second ? "T_" : "";
    std::vector<ImageAssignment> out;
    for (int i = 0; i < 2; ++i)
        for (const char* c : {"image_DPCol_A", "image_DPCol_B", "image_DP_A", "image_DP_B"})
            out.push_back({indexed(p, c, i), "IMAGE_DPCOL_0"});
    for (int i = 0; i < 6; ++i) {
        out.push_back({indexed(p, "image_char_A", i), "IMAGE_99"});
        out.push_back({indexed(p, "image_char_B", i), "IMAGE_99"});
    }
    out.push_back({p + "image_T_B", "IMAGE_99"});
    out.push_back({p + "image_char_sp_B", "IMAGE_99"});
    out.push_back({p + "image_Group", "IMAGE_GROUP_0"});
    out.push_back({p + "image_str_RangeMode", "IMAGE_RANGEMODE_0"});
    // The indicators a cleared picture shows: nothing lit.
    out.push_back({p + "image_str_AU", "IMAGE_AU_0"});
    out.push_back({p + "image_CountDir", "IMAGE_COUNTDIR_0"});
    out.push_back({p + "image_str_KP", "IMAGE_KP_0"});
    out.push_back({p + "image_week", "IMAGE_WEEK_0000000"});
    out.push_back({p + "image_str_OnOff", "IMAGE_ONOFF_2"});
    out.push_back({p + "image_TimerMode", "IMAGE_TIMERMODE_0"});
    return out;
}

void PanelPictures::apply(const std::vector<ImageAssignment>& assignments)
{
    for (const ImageAssignment& a : assignments)
        if (bitmapExists(a.bitmap))
            m_controls[a.control] = upper(a.bitmap);
}

std::string PanelPictures::shown(const std::string& control) const
{
    const auto it = m_controls.find(control);
    return it == m_controls.end() ? std::string() : it->second;
}

} // namespace lumetra
