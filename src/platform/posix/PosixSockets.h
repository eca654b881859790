#pragma once
// Sockets over the POSIX socket calls, non-blocking throughout. The TCP
// client takes only dotted-decimal IPv4 addresses, read by our own code; the
// datagram socket also takes IPv6 addresses and looks names up through the
// system's resolver. A send is watched until the peer has acknowledged it
// (the kernel's count of unacknowledged bytes).

#include "platform/Socket.h"

namespace platform {

class PosixSockets : public SocketFactory {
public:
    std::unique_ptr<TcpClient> tcpClient() override;
    std::unique_ptr<DatagramSocket> datagramSocket() override;
};

}  // namespace platform
