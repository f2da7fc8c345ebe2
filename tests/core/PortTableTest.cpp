#include "comm/SerialPort.h"
#include "platform/PortTable.h"
#include "platform/TcpPort.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace lumetra;

TEST(PortSettings, ParseAndFormat)
{
    PortSettings s;
    ASSERT_TRUE(PortSettings::parse("28800,E,7,2", s));
    EXPECT_EQ(s.toString(), "28800,e,7,2");
    EXPECT_EQ(s.bitsPerCharacter(), 11);
    for (const char* bad : {"", "9600", "9600,x,8,1", "9600,n,9,1", "9600,n,8,3", "9600,n,8,1,", "-1,n,8,1"})
        EXPECT_FALSE(PortSettings::parse(bad, s)) << bad;
}

TEST(PortTable, DetectsByIdLinksFirstThenUnlinkedDevicesInNaturalOrder)
{
    const fs::path root = fs::temp_directory_path() / ("lumetra-ports-" + std::to_string(::getpid()));
    fs::remove_all(root);
    const fs::path dev = root / "dev";
    const fs::path sys = root / "sys";
    fs::create_directories(dev / "serial" / "by-id");
    for (const char* name : {"ttyUSB0", "ttyUSB2", "ttyUSB10", "ttyS0", "ttyS1"}) {
        std::ofstream(dev / name).put('x');
        fs::create_directories(sys / "class" / "tty" / name / "device" / "driver");
    }
    // ttyS1 is a placeholder of the legacy platform device
    fs::remove_all(sys / "class" / "tty" / "ttyS1" / "device");
    fs::create_directories(sys / "devices" / "serial8250" / "driver");
    fs::create_directory_symlink(sys / "devices" / "serial8250", sys / "class" / "tty" / "ttyS1" / "device");
    fs::create_symlink(dev / "ttyUSB2", dev / "serial" / "by-id" / "usb-FTDI_FT232R-if00-port0");

    const PortTable t = PortTable::detect(dev.string(), sys.string());
    EXPECT_EQ(t.device(1), (dev / "serial" / "by-id" / "usb-FTDI_FT232R-if00-port0").string());
    EXPECT_EQ(t.device(2), (dev / "ttyS0").string());
    EXPECT_EQ(t.device(3), (dev / "ttyUSB0").string());
    EXPECT_EQ(t.device(4), (dev / "ttyUSB10").string());
    EXPECT_EQ(t.device(5), "");
    fs::remove_all(root);
}

TEST(PortTable, MappingsFromTheCommandLine)
{
    PortTable t;
    EXPECT_TRUE(t.mapFromText("1=/dev/ttyUSB0"));
    EXPECT_TRUE(t.mapFromText("COM16=tcp://10.0.0.5:4001"));
    EXPECT_EQ(t.device(1), "/dev/ttyUSB0");
    EXPECT_EQ(t.device(16), "tcp://10.0.0.5:4001");
    for (const char* bad : {"0=/dev/x", "17=/dev/x", "=/dev/x", "1=", "x=/dev/y", "COM=/dev/x"})
        EXPECT_FALSE(t.mapFromText(bad)) << bad;
    EXPECT_EQ(t.device(0), "");
    EXPECT_EQ(t.device(17), "");
    EXPECT_EQ(makeDevicePort(""), nullptr);
    EXPECT_EQ(makeDevicePort("tcp://127.0.0.1:1")->name(), "tcp://127.0.0.1:1");
}

TEST(TcpPort, AddressForms)
{
    std::string host, port;
    ASSERT_TRUE(TcpPort::parseAddress("tcp://[::1]:502", host, port));
    EXPECT_EQ(host, "::1");
    EXPECT_EQ(port, "502");
    EXPECT_FALSE(TcpPort::parseAddress("tcp://host", host, port));
    EXPECT_FALSE(TcpPort::parseAddress("tcp://host:http", host, port));
    EXPECT_FALSE(TcpPort::parseAddress("tcp://host:0", host, port));
    EXPECT_FALSE(TcpPort::parseAddress("tcp://host:65536", host, port));
    EXPECT_FALSE(TcpPort::parseAddress("tcp://host:000000080", host, port));
    EXPECT_FALSE(TcpPort::parseAddress("/dev/ttyUSB0", host, port));
}

TEST(TcpPort, RefusedConnectionIsACommunicationError)
{
    TcpPort port("127.0.0.1", "1", 500);
    const OpenResult r = port.open(PortSettings{});
    EXPECT_EQ(r.status, OpenStatus::Refused);
    EXPECT_NE(r.reason.find("tcp://127.0.0.1:1"), std::string::npos);
    EXPECT_FALSE(port.isOpen());
}
