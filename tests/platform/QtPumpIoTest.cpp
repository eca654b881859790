// The Qt event pump lets I/O sources move on, in doEvents and while its
// event loop runs: a source that says what it waits for is polled when its
// descriptor is ready, and a wait sleeps until then.

#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QTimer>
#include <algorithm>
#include <string>

#include "foundation/SocketWatch.h"
#include "platform/posix/PosixSockets.h"
#include "support/Loopback.h"
#include "ui/Clocks.h"
#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/qt/GuiWorld.h"

namespace {

struct RealTimeWorld : guitest::PumpWorld<ui::SystemClock> {
    // Waits as the pages do, on the pump alone, until done() or 5 s have
    // passed; each pass ends at an event or after `passMs`.
    template <class Done>
    bool waitFor(Done done, std::uint32_t passMs = 5000) {
        const std::uint32_t start = clock.milliseconds();
        while (!done() && clock.milliseconds() - start < 5000)
            app.idle(1, std::min(passMs, 5000 - (clock.milliseconds() - start)));
        return done();
    }
};

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
    testsupport::LoopbackSocket rx(SOCK_DGRAM | SOCK_NONBLOCK), tx(SOCK_DGRAM, rx.address());
    int polls = 0;
    bool received = false;
    auto io = world.app.addIoSource(
        [&] {
            ++polls;
            char byte;
            while (::recv(rx.fd(), &byte, 1, MSG_DONTWAIT) >= 0) received = true;
        },
        [&] {
            return ui::IoWait{rx.fd(), true, false};
        });
    QTimer::singleShot(
        20, [&] { ::sendto(tx.fd(), "x", 1, 0, reinterpret_cast<const sockaddr*>(&rx.where()), sizeof rx.where()); });
    EXPECT_TRUE(world.waitFor([&] { return received; }));
    EXPECT_EQ(polls, 1);
}

// Real time passes while the loopback connection takes the job.
TEST(QtPumpIo, ATcpClientConnectsAndSendsOnItsNotifier) {
    RealTimeWorld world;
    testsupport::LoopbackSocket listener(SOCK_STREAM | SOCK_NONBLOCK);
    ASSERT_EQ(::listen(listener.fd(), 1), 0);
    platform::PosixSockets sockets;
    std::unique_ptr<platform::TcpClient> client = sockets.tcpClient();
    auto io = foundation::watchSocket(world.app, client);
    client->connect(listener.address(), listener.port());
    ASSERT_TRUE(world.waitFor([&] { return client->state() == platform::SocketState::Connected; }));
    const int peer = ::accept(listener.fd(), nullptr, nullptr);
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
    EXPECT_TRUE(world.waitFor([&] { return received == job.size(); }));
    // No event tells of the last acknowledgement: the client is asked.
    EXPECT_TRUE(world.waitFor(
        [&] {
            client->progress();
            return client->sendStatus() == platform::SendStatus::Sent;
        },
        10));
    client->close();
    ::close(peer);
}

// Real time passes: 100 ms while the peer holds the bytes and sends some of
// its own, then its reset.
TEST(QtPumpIo, AWrittenSendSleepsUntilTheConnectionBreaks) {
    RealTimeWorld world;
    testsupport::LoopbackSocket listener(SOCK_STREAM | SOCK_NONBLOCK);
    testsupport::holdUnread(listener.fd());
    ASSERT_EQ(::listen(listener.fd(), 1), 0);
    platform::PosixSockets sockets;
    std::unique_ptr<platform::TcpClient> client = sockets.tcpClient();
    auto io = foundation::watchSocket(world.app, client);
    client->connect(listener.address(), listener.port());
    ASSERT_TRUE(world.waitFor([&] { return client->state() == platform::SocketState::Connected; }));
    const int peer = ::accept(listener.fd(), nullptr, nullptr);
    ASSERT_GE(peer, 0);
    client->send(std::string(4000, 'h'));
    ASSERT_EQ(client->sendStatus(), platform::SendStatus::Written);
    // What the printer sends back, which nobody reads, wakes nothing.
    ASSERT_EQ(::send(peer, "status", 6, 0), 6);

    const std::uint32_t start = world.clock.milliseconds();
    int passes = 0;
    for (std::uint32_t waited = 0; waited < 100; waited = world.clock.milliseconds() - start, ++passes)
        world.app.idle(1, 100 - waited);
    EXPECT_LE(passes, 3);  // a loop that polls the send wakes every few milliseconds
    client->progress();
    EXPECT_EQ(client->sendStatus(), platform::SendStatus::Written);

    linger reset{1, 0};
    ::setsockopt(peer, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(peer);
    EXPECT_TRUE(world.waitFor([&] { return client->sendStatus() == platform::SendStatus::Failed; }));
    EXPECT_LT(world.clock.milliseconds() - start, 1000u);
}

}  // namespace
