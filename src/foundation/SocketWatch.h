#pragma once
// A page's socket as an I/O source of the event pump: the pump lets it move
// on (progress) whenever its descriptor is ready, and on each doEvents.

#include <memory>
#include <optional>

#include "platform/Socket.h"
#include "ui/Application.h"

namespace foundation {

// `socket` is the page's member: it may be empty, or replaced, while the
// subscription lasts, but must outlive it.
template <class Socket>
[[nodiscard]] ui::IoSubscription watchSocket(ui::Application& app, const std::unique_ptr<Socket>& socket) {
    return app.addIoSource(
        [&socket] {
            if (socket) socket->progress();
        },
        [&socket]() -> std::optional<ui::IoWait> {
            if (!socket) return ui::IoWait{};
            const std::optional<platform::IoWait> wait = socket->ioWait();
            if (!wait) return std::nullopt;
            return ui::IoWait{wait->fd, wait->read, wait->write};
        });
}

}  // namespace foundation
