#pragma once
// The network of the unit tests: TCP peers whose answers the test scripts
// (accept, refuse, stay silent; how many bytes they take per pass; where
// the connection breaks), datagrams delivered by the test or answered by a
// responder, every call recorded. Like the real sockets, nothing happens
// between two calls of progress().

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Socket.h"

namespace platform {

class MemoryNetwork : public SocketFactory {
public:
    struct TcpPeer {
        enum class Answer { Accept, Refuse, Silent };
        // What a connect gets at the client's next progress(); Silent keeps
        // it connecting until the test changes the answer.
        Answer answer = Answer::Accept;
        // Bytes taken at the send and at each later progress(); 0 takes none.
        std::size_t takePerPass = static_cast<std::size_t>(-1);
        // A connection with more to send breaks once the peer has received
        // this many bytes in all.
        std::optional<std::size_t> breakAfter;
        // False: the bytes it takes stay unacknowledged (a printer switched
        // off after the connection), so a send does not complete; set again,
        // the client learns of the acknowledgement at its next progress().
        bool acknowledges = true;
        // Set while a connection is up: the peer drops it at the client's
        // next progress().
        bool hangsUp = false;

        std::string received;
        int connects = 0;
        int closes = 0;
        bool connected = false;
    };

    struct SentDatagram {
        std::string host;
        std::uint16_t port = 0;
        std::string bytes;
    };

    MemoryNetwork();

    // The peer at host:port, made on first use. A connect to an address
    // with no peer is refused; one to a host that is no dotted-decimal
    // address fails at once. Dotted quads reach the peer of their plain form
    // ("127.0.0.010" the peer at 127.0.0.10), as do datagrams. The bytes a
    // peer takes count as acknowledged at once, unless it does not acknowledge.
    TcpPeer& tcpPeer(const std::string& host, std::uint16_t port);

    // Datagrams sent by any socket, in order.
    const std::vector<SentDatagram>& sent() const;
    // Puts a datagram from host:port before every open datagram socket; a
    // socket takes it in at its next progress().
    void deliver(const std::string& fromHost, std::uint16_t fromPort, std::string bytes);
    // Called for every datagram sent (may deliver answers).
    void setResponder(std::function<void(const SentDatagram&)> responder);
    // Makes sends fail (false) while set.
    void setSendFails(bool fails);

    // "tcp connect H:P", "tcp send H:P N", "tcp close H:P", "udp send H:P N", ...
    const std::vector<std::string>& calls() const;

    std::unique_ptr<TcpClient> tcpClient() override;
    std::unique_ptr<DatagramSocket> datagramSocket() override;

    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace platform
