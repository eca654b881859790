// The progress page's TCP delivery over a real loopback connection to a
// printer of the test's own: the job counts as delivered only once the peer
// has acknowledged every byte.

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/ProgressDlg.h"
#include "platform/posix/PosixSockets.h"
#include "support/Loopback.h"
#include "support/QuillonWorld.h"

namespace {

enum class Peer { ReadsAndCloses, ShutsDownUnread, ResetsUnread };

// A printer on a free port of a random loopback address, served from the
// program's event pump.
struct LoopbackPrinter {
    testsupport::LoopbackSocket listener{SOCK_STREAM | SOCK_NONBLOCK};
    int conn = -1;
    bool done = false;
    std::string received;
    Peer peer;

    explicit LoopbackPrinter(Peer p) : peer(p) {}
    ~LoopbackPrinter() {
        if (conn >= 0) ::close(conn);
    }

    void poll() {
        if (done) return;
        if (conn < 0) {
            conn = ::accept4(listener.fd(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (conn < 0) return;
            if (peer == Peer::ShutsDownUnread) {
                ::shutdown(conn, SHUT_RDWR);
                done = true;
            } else if (peer == Peer::ResetsUnread) {
                linger reset{1, 0};
                ::setsockopt(conn, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
                ::close(conn);
                conn = -1;
                done = true;
            }
            if (done) return;
        }
        char buf[4096];
        ssize_t n;
        while ((n = ::read(conn, buf, sizeof buf)) > 0) received.append(buf, static_cast<std::size_t>(n));
        if (received.ends_with("VMD_END\r\n")) {
            ::close(conn);
            conn = -1;
            done = true;
        }
    }
};

TEST(ProgressTcp, OnlyAJobThePrinterAcknowledgedIsASuccess) {
    const struct {
        const char* name;
        Peer behaviour;
        bool success;
    } cases[] = {
        {"reads the job, then closes", Peer::ReadsAndCloses, true},
        {"shuts down without reading", Peer::ShutsDownUnread, false},
        {"resets without reading", Peer::ResetsUnread, false},
    };
    for (const auto& [name, behaviour, success] : cases) {
        SCOPED_TRACE(name);
        testsupport::QuillonWorld w;
        platform::PosixSockets sockets;
        w.os.socketFactory = &sockets;
        w.processes.program("rundll32", [](const std::string&) {});
        // The kernel may finish a loopback exchange on another CPU: each poll
        // of the status wait lets a moment of real time pass for it.
        w.clock.onSleep = [](std::uint32_t) { ::usleep(100); };
        LoopbackPrinter printer(behaviour);
        ASSERT_EQ(::listen(printer.listener.fd(), 1), 0);
        auto io = w.app.addIoSource([&] { printer.poll(); });
        w.q.PrinterPort = printer.listener.port();
        auto& port = w.q.PortSelectForm();
        port.PortTCP.setValue(true);
        port.IPAddr.setText(printer.listener.address());
        w.q.FinishDialogForm().show();
        w.q.FinishDialogForm().hide();
        w.q.ProgressDlgForm().show();
        w.pump.run();
        EXPECT_EQ(w.q.SetupSent, success);
        EXPECT_EQ(w.q.FinishDialogForm.loaded() && w.q.FinishDialogForm().isVisible(), !success);
        if (success) {
            EXPECT_TRUE(printer.received.starts_with("!VMD_SETUP\r\nNIC_SETUP\r\n"));
        }
    }
}

}  // namespace
