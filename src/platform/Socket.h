#pragma once
// Network sockets as the wizards use them: a TCP client that delivers one
// job, and a datagram socket that asks one agent at a time.
//
// Nothing here blocks or runs on another thread. Work that waits on the
// network (a connect, the rest of a send, arriving datagrams) moves on in
// progress(), which the program calls from its event pump (for example
// through ui::Application::addIoSource); events are raised from there.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Connection states, numbered as the Windows socket control numbers them.
namespace SocketState {
constexpr int Closed = 0;
constexpr int Connecting = 6;
constexpr int Connected = 7;
constexpr int Error = 9;
}  // namespace SocketState

// What progress() waits for, so that an event loop can sleep until it has
// something to do: a descriptor (the socket's, or one that stands for its
// errors and hang-ups), to become readable or writable. A descriptor of -1
// waits for nothing.
struct IoWait {
    int fd = -1;
    bool read = false;
    bool write = false;
};

enum class SendStatus {
    None,     // nothing sent since the connect
    Sending,  // bytes still waiting for the connection to take them
    Written,  // every byte handed to the connection, not all acknowledged yet
    Sent,     // the peer acknowledged every byte
    Failed,   // not connected, or the connection broke, was reset or hung up
              // before the peer acknowledged every byte
};

// The address of a dotted-decimal IPv4 text, most significant byte first:
// exactly four parts of decimal digits, each 0 to 255, leading zeros read
// as decimal ("010" is ten). None for any other text.
inline std::optional<std::uint32_t> DottedDecimal(std::string_view text) {
    std::uint32_t address = 0;
    int parts = 0;
    std::size_t i = 0;
    for (;;) {
        unsigned value = 0;
        std::size_t digits = 0;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
            value = value * 10 + static_cast<unsigned>(text[i] - '0');
            if (value > 255) return std::nullopt;
        }
        if (digits == 0) return std::nullopt;
        address = (address << 8) | value;
        if (++parts == 4) return i == text.size() ? std::optional<std::uint32_t>(address) : std::nullopt;
        if (i == text.size() || text[i] != '.') return std::nullopt;
        ++i;
    }
}

class TcpClient {
public:
    virtual ~TcpClient() = default;

    // Drops any earlier connection and starts connecting to a dotted-decimal
    // IPv4 host (DottedDecimal); the state is then Connecting, or Error at
    // once for any other text. Names are never looked up.
    virtual void connect(const std::string& host, std::uint16_t port) = 0;
    // One of SocketState.
    virtual int state() const = 0;
    // Queues the bytes behind any still unsent; the connection takes them as
    // it can, and is then watched until the peer has acknowledged them all.
    // Fails (status Failed) unless connected.
    virtual void send(const std::string& bytes) = 0;
    virtual SendStatus sendStatus() const = 0;
    // Bytes the connection has taken since the connect.
    virtual std::size_t bytesSent() const = 0;
    // Closes the connection; harmless when closed already. A send not yet
    // acknowledged counts as failed, and bytes not yet sent are dropped.
    virtual void close() = 0;

    // Lets the connect and the send move on, and watches a written send;
    // never blocks. No event tells that the peer acknowledged the last
    // bytes: a written send wakes its event loop only when the connection
    // fails or hangs up, so the caller calls progress() once more before it
    // reads the outcome.
    virtual void progress() = 0;
    // What progress() waits for now; nothing when the socket cannot say (it
    // is then to be polled often).
    virtual std::optional<IoWait> ioWait() const { return std::nullopt; }
};

// A datagram with its sender.
struct Datagram {
    std::string bytes;
    std::string host;  // the sender's address, as text
    std::uint16_t port = 0;
};

class DatagramSocket {
public:
    virtual ~DatagramSocket() = default;

    // The destination of send(); only datagrams from exactly this address
    // and port are received from then on. A dotted quad is read as
    // DottedDecimal, an IPv6 address as written, any other text as a name
    // to look up. False when the host is no usable address, among them the
    // other numeric forms of IPv4 ("127.1", "0x7F.0.0.1").
    virtual bool setRemote(const std::string& host, std::uint16_t port) = 0;
    // Sends one datagram to the destination; false when it was not sent.
    virtual bool send(const std::string& bytes) = 0;
    // The oldest datagram received and not yet read.
    virtual std::optional<Datagram> read() = 0;
    // Datagrams received and not yet read.
    virtual std::size_t waiting() const = 0;
    virtual void close() = 0;

    // Takes in what has arrived, drops datagrams from anyone but the
    // destination, and raises onDataArrival once per datagram kept; never
    // blocks.
    virtual void progress() = 0;
    // What progress() waits for now; nothing when the socket cannot say (it
    // is then to be polled often).
    virtual std::optional<IoWait> ioWait() const { return std::nullopt; }

    // Called with the size of the datagram that has just arrived.
    std::function<void(std::size_t bytes)> onDataArrival;
};

// Makes the sockets of one backend.
class SocketFactory {
public:
    virtual ~SocketFactory() = default;
    virtual std::unique_ptr<TcpClient> tcpClient() = 0;
    virtual std::unique_ptr<DatagramSocket> datagramSocket() = 0;
};

}  // namespace platform
