#pragma once
// Sockets over the POSIX socket calls, non-blocking throughout. Host names
// are looked up through the system's resolver; addresses are taken as they
// are, IPv4 or IPv6.

#include "platform/Socket.h"

namespace platform {

class PosixSockets : public SocketFactory {
public:
    std::unique_ptr<TcpClient> tcpClient() override;
    std::unique_ptr<DatagramSocket> datagramSocket() override;
};

}  // namespace platform
