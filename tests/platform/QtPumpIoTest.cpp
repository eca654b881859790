// The Qt event pump lets I/O sources move on, in doEvents and while its
// event loop runs: a source that says what it waits for is polled when its
// descriptor is ready, and a wait sleeps until then.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QTimer>
#include <random>
#include <string>

#include "foundation/SocketWatch.h"
#include "platform/posix/PosixSockets.h"
#include "ui/Clocks.h"
#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/qt/GuiWorld.h"

namespace {

struct RealTimeWorld : guitest::PumpWorld<ui::SystemClock> {
    // Waits as the pages do, on the pump alone, until done() or 5 s have passed.
    template <class Done>
    bool waitFor(Done done) {
        const std::uint32_t start = clock.milliseconds();
        while (!done() && clock.milliseconds() - start < 5000) app.idle(1, 5000 - (clock.milliseconds() - start));
        return done();
    }
};

// A socket bound to a free port of a loopback address picked at random.
int boundSocket(int type, sockaddr_in& where) {
    std::random_device random;
    std::uniform_int_distribution<unsigned> byte(1, 254);
    where = sockaddr_in{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = htonl((127u << 24) | (byte(random) << 16) | (byte(random) << 8) | byte(random));
    const int fd = ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    socklen_t length = sizeof where;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&where), &length) != 0)
        ADD_FAILURE() << "no loopback socket";
    return fd;
}

std::string text(const sockaddr_in& where) {
    char out[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &where.sin_addr, out, sizeof out);
    return out;
}

TEST(QtPumpIo, PollsSourcesInDoEventsAndInTheEventLoop) {
    guitest::GuiWorld world;
    int polls = 0;
    auto io = world.app.addIoSource([&] { ++polls; });
    world.pump.doEvents();
    EXPECT_EQ(polls, 1);

    ui::Form form(world.app, "frmIo", "I/O");
    ui::Label label(form, "lbl", "Waiting");
    form.show();
    // Nothing but the source ends the loop: it unloads the form on its tenth poll.
    auto closer = world.app.addIoSource([&] {
        if (polls >= 10 && form.isLoaded()) form.unload();
    });
    world.pump.run();
    EXPECT_GE(polls, 10);
    EXPECT_FALSE(form.isLoaded());
    guitest::flushDeletes();
}

// Real time passes: the datagram is sent 20 ms into the wait.
TEST(QtPumpIo, ADatagramWakesAWaitWithoutAPollingTick) {
    RealTimeWorld world;
    sockaddr_in where{};
    const int rx = boundSocket(SOCK_DGRAM, where);
    const int tx = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    int polls = 0;
    bool received = false;
    auto io = world.app.addIoSource(
        [&] {
            ++polls;
            char byte;
            while (::recv(rx, &byte, 1, MSG_DONTWAIT) >= 0) received = true;
        },
        [&] {
            return ui::IoWait{rx, true, false};
        });
    QTimer::singleShot(20, [&] { ::sendto(tx, "x", 1, 0, reinterpret_cast<sockaddr*>(&where), sizeof where); });
    EXPECT_TRUE(world.waitFor([&] { return received; }));
    EXPECT_EQ(polls, 1);
    ::close(tx);
    ::close(rx);
}

// Real time passes while the loopback connection takes the job.
TEST(QtPumpIo, ATcpClientConnectsAndSendsOnItsNotifier) {
    RealTimeWorld world;
    sockaddr_in where{};
    const int listener = boundSocket(SOCK_STREAM, where);
    ASSERT_EQ(::listen(listener, 1), 0);
    platform::PosixSockets sockets;
    std::unique_ptr<platform::TcpClient> client = sockets.tcpClient();
    auto io = foundation::watchSocket(world.app, client);
    client->connect(text(where), ntohs(where.sin_port));
    ASSERT_TRUE(world.waitFor([&] { return client->state() == platform::SocketState::Connected; }));
    const int peer = ::accept(listener, nullptr, nullptr);
    ASSERT_GE(peer, 0);
    // More than the socket buffers hold; the peer takes it as it comes.
    std::size_t received = 0;
    auto reader = world.app.addIoSource(
        [&] {
            char buffer[65536];
            ssize_t n;
            while ((n = ::recv(peer, buffer, sizeof buffer, MSG_DONTWAIT)) > 0) received += static_cast<std::size_t>(n);
        },
        [&] {
            return ui::IoWait{peer, true, false};
        });
    const std::string job(8 * 1024 * 1024, 'j');
    client->send(job);
    EXPECT_TRUE(world.waitFor([&] { return client->sendStatus() == platform::SendStatus::Sent; }));
    EXPECT_TRUE(world.waitFor([&] { return received == job.size(); }));
    client->close();
    ::close(peer);
    ::close(listener);
}

}  // namespace
