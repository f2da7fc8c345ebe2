#include "CommSetup.h"

#include "model/MachineType.h"

#include <cstdio>

namespace lumetra {

std::vector<std::string> CommSetup::portEntries()
{
    std::vector<std::string> e;
    for (int n = 1; n <= 16; ++n)
        e.push_back("COM" + std::to_string(n));
    return e;
}

std::vector<std::string> CommSetup::baudEntries()
{
    std::vector<std::string> e;
    for (int baud : kBaudRates) {
        const std::string digits = std::to_string(baud);
        e.push_back(digits + (digits.size() == 4 ? "     " : "   ") + "Bps");
    }
    return e;
}

std::vector<std::string> CommSetup::parityEntries() { return {"None", "Odd", "Even"}; }
std::vector<std::string> CommSetup::dataBitsEntries() { return {"7 bits", "8 bits"}; }
std::vector<std::string> CommSetup::stopBitsEntries() { return {"1 bit", "2 bits"}; }

std::vector<std::string> CommSetup::manualIdEntries()
{
    std::vector<std::string> e;
    for (int id = 1; id <= 255; ++id) {
        char text[4];
        std::snprintf(text, sizeof text, "%02X", id);
        e.push_back(text);
    }
    return e;
}

CommSetupForm CommSetup::load() const
{
    const CommState& s = m_session.state();
    CommSetupForm f;
    f.portIndex = s.CommPort - 1;
    f.baudIndex = s.BaudIndex;
    f.parityIndex = s.ParityIndex;
    f.dataBitsIndex = s.DataBitsIndex;
    f.stopBitsIndex = s.StopBitsIndex;
    f.protocol = static_cast<int>(s.protocol);
    f.timeoutText = std::to_string(s.TimeoutMs);
    f.delayText = std::to_string(s.CommDelayMs);
    f.idMode = m_state.IdMode;
    const auto ids = manualIdEntries();
    if (m_state.ManualIdIndex >= 0 && m_state.ManualIdIndex < static_cast<int>(ids.size()))
        f.manualIdText = ids[static_cast<std::size_t>(m_state.ManualIdIndex)];
    f.autoEntries = m_state.FoundDevices;
    if (m_state.AutoIdIndex >= 0 && m_state.AutoIdIndex < static_cast<int>(f.autoEntries.size())) {
        f.autoIndex = m_state.AutoIdIndex;
        f.autoIdText = f.autoEntries[static_cast<std::size_t>(f.autoIndex)].substr(0, 2);
    }
    f.applyEnabled = false;
    return f;
}

char CommSetup::filterKey(CommSetupField field, char key)
{
    if (key == 8 || (key >= '0' && key <= '9'))
        return key;
    if (field == CommSetupField::ManualId) {
        if (key >= 'A' && key <= 'F')
            return key;
        if (key >= 'a' && key <= 'f')
            return static_cast<char>(key - 'a' + 'A');
    }
    return 0;
}

namespace {
bool parseDecimal(const std::string& text, long& out)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    out = std::stol(text);
    return true;
}

bool parseHexId(const std::string& text, int& out)
{
    if (text.empty() || text.size() > 4 || text.find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos)
        return false;
    out = static_cast<int>(std::stol(text, nullptr, 16));
    return out >= 1 && out <= 255;
}
} // namespace

int CommSetup::apply(CommSetupForm& f)
{
    const auto refuse = [this](int code) {
        m_session.ShowCommError(code);
        return code;
    };
    if (f.portIndex < 0 || f.portIndex >= 16 || f.baudIndex < 0 || f.baudIndex >= static_cast<int>(kBaudRates.size())
        || f.parityIndex < 0 || f.parityIndex > 2 || f.dataBitsIndex < 0 || f.dataBitsIndex > 1 || f.stopBitsIndex < 0
        || f.stopBitsIndex > 1)
        return refuse(Result::CommSettingsError);
    long timeout = 0;
    if (!parseDecimal(f.timeoutText, timeout) || timeout < 50)
        return refuse(Result::TimeoutSettingError);
    long delay = 0;
    if (!parseDecimal(f.delayText, delay) || delay > 60000)
        return refuse(Result::DelaySettingError);
    int id = 0;
    if (!parseHexId(f.idMode == 0 ? f.manualIdText : f.autoIdText, id))
        return refuse(Result::WrongDeviceId);
    if (f.idMode == 0) {
        m_state.IdMode = 0;
        m_state.ManualIdIndex = id - 1;
    } else {
        m_state.IdMode = 1;
        m_state.AutoIdIndex = f.autoIndex < 0 ? 0 : f.autoIndex;
    }
    CommState& s = m_session.state();
    s.CommPort = f.portIndex + 1;
    s.BaudIndex = f.baudIndex;
    s.ParityIndex = f.parityIndex;
    s.DataBitsIndex = f.dataBitsIndex;
    s.StopBitsIndex = f.stopBitsIndex;
    s.TimeoutMs = static_cast<int>(timeout);
    s.CommDelayMs = static_cast<int>(delay);
    s.DeviceId = id;
    s.protocol = f.protocol == 1 ? Protocol::Rtu : Protocol::Ascii;
    s.CommSettingsText = s.buildCommSettingsText();
    m_session.UpdateCommStatus();
    f.applyEnabled = false;
    return Result::Ok;
}

void CommSetup::search(CommSetupForm& f, const std::function<void(const CommSetupForm&)>& onProgress)
{
    f.searching = true;
    f.autoEntries.clear();
    f.autoIndex = -1;
    if (m_session.OpenCommPort() == 0) {
        m_session.state().quietMode = true;
        int found = 0;
        for (int id = 1; id <= 255 && f.searching; ++id) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%X", id);
            f.autoIdText = hex;
            if (onProgress)
                onProgress(f);
            m_session.host().processEvents(); // where a stop is honoured: the loop ends after this ID
            std::string reply;
            std::uint16_t value = 0;
            const bool ok = m_session.ReadRegisters(id, 0x0404, 1, reply, m_session.state().protocol) == 0
                && registerFromReply(reply, 0, value);
            if (!ok) {
                if (id == 255 && found == 0) {
                    Message m;
                    m.text = m_session.strings().text(Text::MsgNoModulesFound);
                    m.title = "Search";
                    m.icon = MessageIcon::Exclamation;
                    m_session.host().showMessage(m);
                    f.autoIdText.clear();
                }
                continue;
            }
            const int type = value >> 8;
            if (type < 2 || type > 4)
                continue;
            ++found;
            char entry[8];
            std::snprintf(entry, sizeof entry, "%02X : ", id);
            MachineType t{};
            machineTypeFromNumber(type, t);
            f.autoEntries.push_back(entry + machineTypeDisplayName(t));
            if (found == 1) {
                f.autoIndex = 0;
                m_state.AutoIdIndex = 0;
            }
        }
        if (!f.autoEntries.empty()) {
            m_state.FoundDevices = f.autoEntries;
            f.autoIdText = f.autoEntries[static_cast<std::size_t>(f.autoIndex < 0 ? 0 : f.autoIndex)].substr(0, 2);
        }
    }
    f.searching = false;
    m_session.closePort();
    if (onProgress)
        onProgress(f);
}

void CommSetup::stop(CommSetupForm& f)
{
    f.searching = false;
    f.autoIdText.clear();
}

} // namespace lumetra
