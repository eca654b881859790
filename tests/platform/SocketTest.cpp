// The TCP client and datagram socket seams: the in-memory backend as the
// unit tests script it, the POSIX backend against sockets of the test's own
// on loopback, and both driven by the forms layer's event pump.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/memory/MemorySockets.h"
#include "platform/posix/PosixSockets.h"
#include "support/Loopback.h"
#include "support/UiWorld.h"

using platform::SendStatus;
namespace State = platform::SocketState;
using Peer = platform::MemoryNetwork::TcpPeer;

namespace {

// A script step: what the test does, then the client's state and send status.
enum class Do { Connect, Progress, Send, Close };
struct Step {
    Do action;
    int state;
    SendStatus status;
};

struct TcpCase {
    const char* name;
    Peer::Answer answer;
    std::size_t takePerPass;
    std::optional<std::size_t> breakAfter;
    std::vector<Step> steps;
    std::string received;
};

const std::string Job = "0123456789";

TEST(MemoryTcpClient, ScriptedPeers) {
    const std::size_t all = static_cast<std::size_t>(-1);
    const TcpCase cases[] = {
        {"accepted, whole job at once",
         Peer::Answer::Accept,
         all,
         {},
         {{Do::Connect, State::Connecting, SendStatus::None},
          {Do::Progress, State::Connected, SendStatus::None},
          {Do::Send, State::Connected, SendStatus::Sent},
          {Do::Close, State::Closed, SendStatus::Sent},
          {Do::Close, State::Closed, SendStatus::Sent}},
         Job},
        {"refused",
         Peer::Answer::Refuse,
         all,
         {},
         {{Do::Connect, State::Connecting, SendStatus::None},
          {Do::Progress, State::Error, SendStatus::None},
          {Do::Send, State::Error, SendStatus::Failed},
          {Do::Close, State::Closed, SendStatus::Failed}},
         ""},
        {"silent peer never connects",
         Peer::Answer::Silent,
         all,
         {},
         {{Do::Connect, State::Connecting, SendStatus::None},
          {Do::Progress, State::Connecting, SendStatus::None},
          {Do::Send, State::Connecting, SendStatus::Failed}},
         ""},
        {"partial writes finish later",
         Peer::Answer::Accept,
         4,
         {},
         {{Do::Connect, State::Connecting, SendStatus::None},
          {Do::Progress, State::Connected, SendStatus::None},
          {Do::Send, State::Connected, SendStatus::Sending},
          {Do::Progress, State::Connected, SendStatus::Sending},
          {Do::Progress, State::Connected, SendStatus::Sent}},
         Job},
        {"close before the end fails the send",
         Peer::Answer::Accept,
         4,
         {},
         {{Do::Connect, State::Connecting, SendStatus::None},
          {Do::Progress, State::Connected, SendStatus::None},
          {Do::Send, State::Connected, SendStatus::Sending},
          {Do::Close, State::Closed, SendStatus::Failed}},
         "0123"},
        {"connection breaks mid-job",
         Peer::Answer::Accept,
         4,
         6,
         {{Do::Connect, State::Connecting, SendStatus::None},
          {Do::Progress, State::Connected, SendStatus::None},
          {Do::Send, State::Connected, SendStatus::Sending},
          {Do::Progress, State::Error, SendStatus::Failed},
          {Do::Close, State::Closed, SendStatus::Failed}},
         "012345"},
        {"a job of exactly the break size arrives",
         Peer::Answer::Accept,
         all,
         10,
         {{Do::Connect, State::Connecting, SendStatus::None},
          {Do::Progress, State::Connected, SendStatus::None},
          {Do::Send, State::Connected, SendStatus::Sent}},
         Job},
    };
    for (const auto& c : cases) {
        platform::MemoryNetwork net;
        Peer& peer = net.tcpPeer("127.1.1.1", 9100);
        peer.answer = c.answer;
        peer.takePerPass = c.takePerPass;
        peer.breakAfter = c.breakAfter;
        auto client = net.tcpClient();
        std::size_t i = 0;
        for (const auto& s : c.steps) {
            switch (s.action) {
                case Do::Connect:
                    client->connect("127.1.1.1", 9100);
                    break;
                case Do::Progress:
                    client->progress();
                    break;
                case Do::Send:
                    client->send(Job);
                    break;
                case Do::Close:
                    client->close();
                    break;
            }
            EXPECT_EQ(client->state(), s.state) << c.name << ", step " << i;
            EXPECT_EQ(client->sendStatus(), s.status) << c.name << ", step " << i;
            ++i;
        }
        EXPECT_EQ(peer.received, c.received) << c.name;
        EXPECT_EQ(client->bytesSent(), c.received.size()) << c.name;
    }
}

TEST(MemoryTcpClient, NoPeerOrNoHostIsAnError) {
    platform::MemoryNetwork net;
    auto client = net.tcpClient();
    client->connect("", 9100);
    EXPECT_EQ(client->state(), State::Error);
    client->connect("127.9.9.9", 9100);
    client->progress();
    EXPECT_EQ(client->state(), State::Error);
    EXPECT_EQ(net.calls(),
              (std::vector<std::string>{"tcp connect :9100", "tcp close :9100", "tcp connect 127.9.9.9:9100"}));
}

// A listening socket of the test on loopback, on a random address unless given one.
struct Listener : testsupport::LoopbackSocket {
    explicit Listener(std::string at = testsupport::randomLoopback()) : LoopbackSocket(SOCK_STREAM, std::move(at)) {
        ::listen(fd(), 4);
    }
    int accept() {
        pollfd p{fd(), POLLIN, 0};
        return ::poll(&p, 1, 5000) > 0 ? ::accept(fd(), nullptr, nullptr) : -1;
    }
};

// Reads what has arrived on a connection until it closes.
std::string drain(int fd) {
    std::string all;
    char buf[65536];
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) break;
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) break;
        all.append(buf, static_cast<std::size_t>(n));
    }
    return all;
}

// Passes of the pump until the condition holds; each pass lets the kernel
// move the loopback data (real time passes only while the socket waits).
template <class F>
bool pumpUntil(ui::VirtualPump& pump, F done, int passes = 100000) {
    for (int i = 0; i < passes && !done(); ++i) {
        pump.doEvents();
        if (!done()) ::poll(nullptr, 0, 0);
    }
    return done();
}

TEST(PosixTcpClient, ConnectsAndSendsABigJobThroughThePump) {
    testsupport::UiWorld w;
    Listener server;
    platform::PosixSockets sockets;
    auto client = sockets.tcpClient();
    auto io = w.app.addIoSource([&] { client->progress(); });
    client->connect(server.address(), server.port());
    ASSERT_TRUE(pumpUntil(w.pump, [&] { return client->state() == State::Connected; }));
    int peer = server.accept();
    ASSERT_GE(peer, 0);
    // Far more than the socket buffers hold: the rest goes out on later passes.
    std::string job(8 * 1024 * 1024, 'x');
    for (std::size_t i = 0; i < job.size(); i += 4093) job[i] = static_cast<char>('a' + i % 26);
    client->send(job);
    EXPECT_EQ(client->sendStatus(), SendStatus::Sending);
    std::string received;
    char buf[65536];
    ASSERT_TRUE(pumpUntil(w.pump, [&] {
        ssize_t n = ::recv(peer, buf, sizeof buf, MSG_DONTWAIT);
        if (n > 0) received.append(buf, static_cast<std::size_t>(n));
        return client->sendStatus() == SendStatus::Sent;
    }));
    client->close();
    client->close();
    EXPECT_EQ(client->state(), State::Closed);
    received += drain(peer);
    EXPECT_TRUE(received == job);
    EXPECT_EQ(client->bytesSent(), job.size());
    ::close(peer);
}

TEST(PosixTcpClient, RefusedAndBrokenConnectionsFail) {
    testsupport::UiWorld w;
    platform::PosixSockets sockets;
    auto client = sockets.tcpClient();
    auto io = w.app.addIoSource([&] { client->progress(); });
    testsupport::RefusingPort refusing;
    client->connect(refusing.address(), refusing.port());
    EXPECT_TRUE(pumpUntil(w.pump, [&] { return client->state() == State::Error; }));
    client->send("late");
    EXPECT_EQ(client->sendStatus(), SendStatus::Failed);
    client->connect("not an address!", 9100);
    EXPECT_EQ(client->state(), State::Error);

    Listener server;
    client->connect(server.address(), server.port());
    ASSERT_TRUE(pumpUntil(w.pump, [&] { return client->state() == State::Connected; }));
    int peer = server.accept();
    linger reset{1, 0};
    ::setsockopt(peer, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(peer);  // the peer resets the connection
    client->send(std::string(8 * 1024 * 1024, 'y'));
    EXPECT_TRUE(pumpUntil(w.pump, [&] { return client->sendStatus() == SendStatus::Failed; }));
    EXPECT_EQ(client->state(), State::Error);
}

TEST(PosixTcpClient, StaysConnectingWhileTheListenerDropsItsRequest) {
    testsupport::UiWorld w;
    const std::string address = testsupport::randomLoopback();
    Listener server(address);
    ::listen(server.fd(), 0);  // one waiting connection fills the queue
    platform::PosixSockets sockets;
    auto first = sockets.tcpClient(), second = sockets.tcpClient();
    auto io = w.app.addIoSource([&] { first->progress(); });
    first->connect(address, server.port());
    ASSERT_TRUE(pumpUntil(w.pump, [&] { return first->state() == State::Connected; }));
    // Real time, briefly, until the kernel has queued it on the listener.
    pollfd p{server.fd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 5000), 1);
    second->connect(address, server.port());  // its SYN is dropped
    second->progress();
    EXPECT_EQ(second->state(), State::Connecting);
}

TEST(IoSources, PolledOnEveryPassUntilTheSubscriptionEnds) {
    testsupport::UiWorld w;
    int polls = 0;
    auto io = w.app.addIoSource([&] { ++polls; });
    w.pump.doEvents();
    w.app.doEvents();
    EXPECT_EQ(polls, 2);
    EXPECT_EQ(w.app.ioSources(), 1u);
    auto moved = std::move(io);
    w.pump.doEvents();
    EXPECT_EQ(polls, 3);
    moved.reset();
    w.pump.doEvents();
    EXPECT_EQ(polls, 3);
    EXPECT_EQ(w.app.ioSources(), 0u);
    // A source may end itself while it is polled.
    ui::IoSubscription self;
    self = w.app.addIoSource([&] {
        ++polls;
        self.reset();
    });
    w.pump.doEvents();
    w.pump.doEvents();
    EXPECT_EQ(polls, 4);
}

struct Arrival {
    std::string host;
    std::uint16_t port;
    std::string bytes;
};

TEST(MemoryDatagramSocket, KeepsOnlyDatagramsFromTheDestination) {
    testsupport::UiWorld w;
    platform::MemoryNetwork net;
    net.setResponder([&](const platform::MemoryNetwork::SentDatagram& d) {
        net.deliver(d.host, 9999, "foreign port");
        net.deliver("127.0.0.2", d.port, "foreign address");
        net.deliver(d.host, d.port, "reply to " + d.bytes);
    });
    auto socket = net.datagramSocket();
    std::vector<std::size_t> sizes;
    socket->onDataArrival = [&](std::size_t n) { sizes.push_back(n); };
    auto io = w.app.addIoSource([&] { socket->progress(); });
    EXPECT_FALSE(socket->send("early"));  // no destination yet
    ASSERT_TRUE(socket->setRemote("127.0.0.1", 161));
    ASSERT_TRUE(socket->send("ping"));
    EXPECT_TRUE(sizes.empty());  // arrivals come only through the pump
    w.pump.doEvents();
    EXPECT_EQ(sizes, std::vector<std::size_t>{13});
    auto d = socket->read();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->bytes, "reply to ping");
    EXPECT_EQ(d->host, "127.0.0.1");
    EXPECT_EQ(d->port, 161);
    EXPECT_FALSE(socket->read());
    net.setSendFails(true);
    EXPECT_FALSE(socket->send("lost"));
    EXPECT_EQ(net.sent().size(), 1u);
    EXPECT_FALSE(socket->setRemote("", 161));
}

// A UDP socket of the test bound on a loopback address.
struct UdpPeer : testsupport::LoopbackSocket {
    explicit UdpPeer(const std::string& address, std::uint16_t port = 0) : LoopbackSocket(SOCK_DGRAM, address, port) {}
    // Waits for one datagram; returns its text and where it came from.
    std::string receive(sockaddr_in& from) {
        pollfd p{fd(), POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) return "<none>";
        char buf[2048];
        socklen_t len = sizeof from;
        ssize_t n = ::recvfrom(fd(), buf, sizeof buf, 0, reinterpret_cast<sockaddr*>(&from), &len);
        return n < 0 ? "<error>" : std::string(buf, static_cast<std::size_t>(n));
    }
    void sendTo(const sockaddr_in& to, const std::string& text) {
        ::sendto(fd(), text.data(), text.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }
};

TEST(PosixDatagramSocket, ADestinationOfTheOtherFamilyGetsASocketOfItsFamily) {
    const std::string address = testsupport::randomLoopback();
    UdpPeer agent(address);
    platform::PosixSockets sockets;
    auto socket = sockets.datagramSocket();
    sockaddr_in from{};
    ASSERT_TRUE(socket->setRemote(address, agent.port()));
    ASSERT_TRUE(socket->send("IPv4"));
    EXPECT_EQ(agent.receive(from), "IPv4");
    // The same agent, written as an IPv6 address.
    ASSERT_TRUE(socket->setRemote("::ffff:" + address, agent.port()));
    ASSERT_TRUE(socket->send("IPv6"));
    EXPECT_EQ(agent.receive(from), "IPv6");
}

TEST(PosixDatagramSocket, DropsDatagramsFromOtherAddressesAndPorts) {
    testsupport::UiWorld w;
    const std::string address = testsupport::randomLoopback();
    UdpPeer agent(address);
    UdpPeer otherPort(address);
    UdpPeer otherAddress(testsupport::otherLoopback(address), agent.port());
    platform::PosixSockets sockets;
    auto socket = sockets.datagramSocket();
    std::vector<Arrival> arrivals;
    socket->onDataArrival = [&](std::size_t) {
        auto d = socket->read();
        if (d) arrivals.push_back({d->host, d->port, d->bytes});
    };
    auto io = w.app.addIoSource([&] { socket->progress(); });
    ASSERT_TRUE(socket->setRemote(address, agent.port()));
    const std::string request(256, '\0');
    ASSERT_TRUE(socket->send(request));
    sockaddr_in client{};
    EXPECT_EQ(agent.receive(client), request);
    otherPort.sendTo(client, "from another port");
    otherAddress.sendTo(client, "from another address");
    agent.sendTo(client, "reply");
    ASSERT_TRUE(pumpUntil(w.pump, [&] { return !arrivals.empty(); }));
    ASSERT_EQ(arrivals.size(), 1u);
    EXPECT_EQ(arrivals[0].bytes, "reply");
    EXPECT_EQ(arrivals[0].host, address);
    EXPECT_EQ(arrivals[0].port, agent.port());
    EXPECT_FALSE(socket->setRemote("", 161));
    EXPECT_FALSE(socket->send("no destination"));
}

// Each part from 10 to 77 with digits 0 to 7 only, so that read as octal,
// written with a leading zero, it would mean another address.
TEST(PosixSockets, DottedQuadsAreReadAsDecimalAndOtherTextsNeverReachTheTcpClient) {
    std::string plain = "127", padded = "127";
    for (int i = 0; i < 3; ++i) {
        const std::string part = std::to_string(testsupport::randomPart(1, 7) * 10 + testsupport::randomPart(0, 7));
        plain += "." + part;
        padded += ".0" + part;
    }
    SCOPED_TRACE(padded);
    testsupport::UiWorld w;
    platform::PosixSockets sockets;
    Listener server(plain);
    auto client = sockets.tcpClient();
    auto io = w.app.addIoSource([&] { client->progress(); });
    client->connect(padded, server.port());
    EXPECT_TRUE(pumpUntil(w.pump, [&] { return client->state() == State::Connected; }));
    const int peer = server.accept();
    EXPECT_GE(peer, 0);
    ::close(peer);
    // A fifth part or an empty one is no address, not the one before it.
    for (const std::string& text :
         {std::string("localhost"), std::string("127.1"), std::string("0x7f.0.0.1"), std::string("127.0.0.256"),
          std::string("::1"), std::string(" 127.0.0.1"), plain + ".5", std::string("127..0.1")}) {
        client->connect(text, server.port());
        EXPECT_EQ(client->state(), State::Error) << text;
    }

    UdpPeer agent(plain);
    auto socket = sockets.datagramSocket();
    ASSERT_TRUE(socket->setRemote(padded, agent.port()));
    ASSERT_TRUE(socket->send("ping"));
    sockaddr_in from{};
    EXPECT_EQ(agent.receive(from), "ping");
    for (const char* text : {"127.1", "0x7f.0.0.1", "127.0.0.256", "127.0.0.1.5", "127..0.1"})
        EXPECT_FALSE(socket->setRemote(text, agent.port())) << text;
}

}  // namespace
