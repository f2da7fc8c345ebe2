// Interoperability with an independent Modbus RTU implementation: its master
// against our virtual units, and our master against its slave.

#include "RecordingHost.h"
#include "ServedLine.h"

#include "comm/CommSession.h"
#include "platform/PortTable.h"

#include <gtest/gtest.h>
#include <modbus.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

using namespace lumetra;
using namespace lumetra::sim;

TEST(Libmodbus, ItsMasterReadsAndWritesOurUnits)
{
    test::ServedLine served(Protocol::Rtu);
    served.line().addUnit(1, UnitType::DQ);
    served.line().addUnit(17, UnitType::CQ);
    served.start();

    modbus_t* ctx = modbus_new_rtu(served.path().c_str(), 9600, 'N', 8, 1);
    ASSERT_NE(ctx, nullptr);
    ASSERT_EQ(modbus_connect(ctx), 0) << modbus_strerror(errno);
    std::uint16_t regs[3] = {};
    modbus_set_slave(ctx, 17);
    ASSERT_EQ(modbus_read_registers(ctx, 0x0400, 3, regs), 3) << modbus_strerror(errno);
    EXPECT_EQ(regs[0] & 0xFF, 0x25);
    EXPECT_EQ(regs[2], 0x030A);
    ASSERT_EQ(modbus_write_register(ctx, 0x0432, 0x0007), 1) << modbus_strerror(errno);
    EXPECT_EQ(modbus_read_registers(ctx, 0x0000, 1, regs), -1);
    EXPECT_EQ(errno, EMBXILADD);
    modbus_set_slave(ctx, 1);
    ASSERT_EQ(modbus_read_registers(ctx, 0x0404, 1, regs), 1);
    EXPECT_EQ(regs[0], 0x010A);
    modbus_close(ctx);
    modbus_free(ctx);
    served.stop();
    EXPECT_EQ(served.line().unit(17)->registerAt(0x0432), 7);
}

namespace {
// Two linked pseudo-terminals made by socat: what one end writes, the other reads.
class SocatPair {
public:
    SocatPair()
    {
        m_dir = std::filesystem::temp_directory_path() / ("lumetra-socat-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
        a = (m_dir / "a").string();
        b = (m_dir / "b").string();
        const std::string endA = "pty,raw,echo=0,link=" + a;
        const std::string endB = "pty,raw,echo=0,link=" + b;
        char* argv[] = {const_cast<char*>("socat"), const_cast<char*>(endA.c_str()), const_cast<char*>(endB.c_str()), nullptr};
        if (posix_spawnp(&m_pid, "socat", nullptr, nullptr, argv, environ) != 0)
            m_pid = -1;
        for (int i = 0; i < 200 && !(std::filesystem::exists(a) && std::filesystem::exists(b)); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ~SocatPair()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
        std::filesystem::remove_all(m_dir);
    }
    bool ready() const { return m_pid > 0 && std::filesystem::exists(a) && std::filesystem::exists(b); }
    std::string a, b;

private:
    std::filesystem::path m_dir;
    pid_t m_pid = -1;
};
} // namespace

TEST(Libmodbus, OurMasterTalksToItsSlave)
{
    SocatPair pair;
    ASSERT_TRUE(pair.ready()) << "socat is needed for this test (scripts/setup.sh installs it)";

    modbus_t* slave = modbus_new_rtu(pair.a.c_str(), 19200, 'E', 8, 1);
    ASSERT_NE(slave, nullptr);
    modbus_set_slave(slave, 5);
    ASSERT_EQ(modbus_connect(slave), 0) << modbus_strerror(errno);
    modbus_mapping_t* map = modbus_mapping_new_start_address(0, 0, 0, 0, 0x0400, 0x0100, 0, 0);
    ASSERT_NE(map, nullptr);
    map->tab_registers[0x04] = 0x030A;
    constexpr int kRequests = 4;
    std::thread server([&] {
        std::uint8_t query[MODBUS_RTU_MAX_ADU_LENGTH];
        for (int served = 0; served < kRequests;) {
            const int n = modbus_receive(slave, query);
            if (n > 0) {
                modbus_reply(slave, query, n, map);
                ++served;
            } else if (n < 0 && errno != EMBBADCRC && errno != EMBBADDATA) {
                break;
            }
        }
    });

    test::RecordingHost host(test::RecordingHost::Clock::Real);
    StringTable strings;
    CommSession session(host, strings, [&](int) { return makeDevicePort(pair.b); });
    session.state().protocol = Protocol::Rtu;
    session.state().BaudIndex = 5;
    session.state().ParityIndex = 2;
    session.state().DeviceId = 5;
    ASSERT_EQ(session.OpenCommPort(), 0);
    std::string reply;
    ASSERT_EQ(session.ReadRegisters(0x0404, 1, reply), 0);
    std::uint16_t v = 0;
    ASSERT_TRUE(registerFromReply(reply, 0, v));
    EXPECT_EQ(v, 0x030A);
    EXPECT_EQ(session.WriteRegister(0x0410, 0xA55A), 0);
    ASSERT_EQ(session.ReadRegisters(0x0410, 2, reply), 0);
    ASSERT_TRUE(registerFromReply(reply, 0, v));
    EXPECT_EQ(v, 0xA55A);
    session.state().quietMode = true;
    EXPECT_EQ(session.ReadRegisters(0x0600, 1, reply), 29); // outside its map: exception 02
    server.join();
    session.closePort();
    modbus_mapping_free(map);
    modbus_close(slave);
    modbus_free(slave);
}
