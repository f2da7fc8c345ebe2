// The decoders of register values, reached the way the unit's replies reach
// them: upload, compare, the unit checks and the monitor run against a unit
// that answers every request with a well-formed frame whose register values
// come from the fuzzer. Nothing may crash, an accepted upload is a settings
// image of printable characters, and what the monitor shows is printable.

#include "InstantHost.h"

#include "comm/CommSession.h"
#include "comm/Frames.h"
#include "comm/RtuReply.h"
#include "monitor/Monitor.h"
#include "text/StringTable.h"
#include "transfer/Compare.h"
#include "transfer/UnitCheck.h"
#include "transfer/Upload.h"

#include <cstdlib>
#include <deque>

using namespace lumetra;

namespace {

// Printable ASCII; line ends where `lines` allows them.
bool printable(const std::string& text, bool lines = false)
{
    for (const unsigned char c : text)
        if ((c < 0x20 || c > 0x7E) && !(lines && (c == '\r' || c == '\n')))
            return false;
    return true;
}

// Answers reads with the next values of the input, echoes writes.
class ValuePort : public SerialPort {
public:
    ValuePort(const std::uint8_t* data, std::size_t size, Protocol protocol, int typeNumber)
        : m_data(data), m_size(size), m_protocol(protocol), m_typeNumber(typeNumber)
    {
    }

    OpenResult open(const PortSettings&) override
    {
        m_open = true;
        return {OpenStatus::Opened, {}};
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    void setDtrRts(bool) override {}
    bool discardBuffers() override
    {
        m_pending.clear();
        m_request.clear();
        return true;
    }
    bool write(const std::uint8_t* data, std::size_t size) override
    {
        m_request.insert(m_request.end(), data, data + size);
        answer();
        return true;
    }
    long bytesWaiting() override { return static_cast<long>(m_pending.size()); }
    long read(std::uint8_t* buffer, std::size_t max) override
    {
        std::size_t n = 0;
        for (; n < max && !m_pending.empty(); ++n) {
            buffer[n] = m_pending.front();
            m_pending.pop_front();
        }
        return static_cast<long>(n);
    }
    long msUntilReadable() const override { return m_pending.empty() ? -1 : 0; }
    std::string name() const override { return "fuzz"; }

private:
    std::uint16_t nextValue(std::uint16_t address)
    {
        // The identification and machine type registers answer as a unit of
        // the chosen type would, so that the routines get past their checks.
        if (m_typeNumber > 0 && (address == 0x0400 || address == 0x0402))
            return 0x0025;
        if (m_typeNumber > 0 && address == 0x0404)
            return static_cast<std::uint16_t>(m_typeNumber << 8 | 0x0A);
        if (m_used + 2 > m_size)
            return 0;
        const std::uint16_t value = static_cast<std::uint16_t>(m_data[m_used] << 8 | m_data[m_used + 1]);
        m_used += 2;
        return value;
    }

    void answer()
    {
        Bytes request;
        if (m_protocol == Protocol::Ascii) {
            if (m_request.empty() || m_request.back() != '\n')
                return;
            const std::string text(m_request.begin(), m_request.end());
            for (std::size_t i = 1; i + 1 < text.size() && request.size() < 6; i += 2) {
                std::uint8_t b = 0;
                if (!parseHexByte(text, i, b))
                    break;
                request.push_back(b);
            }
        } else {
            if (m_request.size() < 8)
                return;
            request.assign(m_request.begin(), m_request.begin() + 6);
        }
        m_request.clear();
        if (request.size() < 6)
            return; // the finish command: no reply
        Bytes reply(request.begin(), request.begin() + 2);
        if (request[1] == FunctionCode::ReadHolding) {
            const int count = request[5];
            reply.push_back(static_cast<std::uint8_t>(2 * count));
            const std::uint16_t first = static_cast<std::uint16_t>(request[2] << 8 | request[3]);
            for (int k = 0; k < count; ++k) {
                const std::uint16_t v = nextValue(static_cast<std::uint16_t>(first + 2 * k));
                reply.push_back(static_cast<std::uint8_t>(v >> 8));
                reply.push_back(static_cast<std::uint8_t>(v & 0xFF));
            }
        } else {
            reply = request; // a write is echoed
        }
        if (m_protocol == Protocol::Ascii) {
            const std::string text = ":" + toHexText(reply) + toHexText({lrcOf(reply)}) + "\r\n";
            m_pending.insert(m_pending.end(), text.begin(), text.end());
        } else {
            const Bytes frame = buildRtuFrame(reply);
            m_pending.insert(m_pending.end(), frame.begin(), frame.end());
        }
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_used = 0;
    Protocol m_protocol;
    int m_typeNumber;
    bool m_open = false;
    Bytes m_request;
    std::deque<std::uint8_t> m_pending;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // First byte: protocol, whether the unit passes its checks, its type.
    const Protocol protocol = data[0] & 0x80 ? Protocol::Rtu : Protocol::Ascii;
    const int typeNumber = data[0] & 0x40 ? 0 : 1 + (data[0] & 0x03);
    const int what = (data[0] >> 2) & 0x03;
    ++data;
    --size;

    sim::InstantHost host;
    StringTable strings;
    CommSession session(host, strings, [&](int) { return std::make_unique<ValuePort>(data, size, protocol, typeNumber); });
    session.state().protocol = protocol;
    session.state().quietMode = true;

    if (what == 0) {
        SettingsImage image;
        image.bytes.fill('0');
        if (Upload(session, image) == 0) {
            for (const std::uint8_t b : image.bytes)
                if (b < 0x20 || b > 0x7E)
                    std::abort(); // an accepted upload is printable characters
            SettingsDocument doc;
            if (doc.read(image, Result::UploadFailed) == 0) {
                std::uint16_t address = 0;
                TransferProgress progress;
                Compare_All(session, doc, address, progress);
            }
        }
    } else if (what == 1) {
        SettingsDocument doc(static_cast<MachineType>(typeNumber > 0 ? typeNumber : 1));
        doc.selectFunctionMode(size ? data[0] % 9 : 0);
        std::uint16_t address = 0;
        TransferProgress progress;
        Compare_All(session, doc, address, progress);
    } else if (what == 2) {
        if (session.OpenCommPort() == 0) {
            int type = 0;
            std::string digits;
            checkIdentification(session);
            readMachineType(session, type, digits);
            session.closePort();
        }
    } else {
        Monitor monitor(session);
        if (monitor.Monitor_All() == 0) {
            for (int cycle = 0; cycle < 4 && monitor.running(); ++cycle)
                monitor.Timer1_monitor();
            if (!printable(monitor.valueTextA()) || !printable(monitor.valueTextB()) || !printable(monitor.descriptionA(), true)
                || !printable(monitor.descriptionB(), true))
                std::abort(); // what the log and the description show
        }
        monitor.stop();
    }
    return 0;
}
