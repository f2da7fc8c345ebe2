#pragma once

#include "FdPort.h"

namespace lumetra {

// The same ASCII or RTU bytes over a TCP connection, as serial device
// servers offer them ("tcp://host:port"). Line settings belong to the
// device server and are not sent.
class TcpPort : public FdPort {
public:
    TcpPort(std::string host, std::string port, int connectTimeoutMs = 3000);

    // Splits "tcp://host:port"; false when the text is not such an address
    // or the port is not 1..65535.
    static bool parseAddress(const std::string& address, std::string& host, std::string& port);

    OpenResult open(const PortSettings& settings) override;
    void setDtrRts(bool) override {}
    bool discardBuffers() override;
    std::string name() const override { return "tcp://" + m_host + ":" + m_port; }

private:
    std::string m_host;
    std::string m_port;
    int m_connectTimeoutMs;
};

} // namespace lumetra
