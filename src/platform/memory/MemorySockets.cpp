#include "platform/memory/MemorySockets.h"

#include <algorithm>
#include <deque>

namespace platform {

namespace {
std::string endpoint(const std::string& host, std::uint16_t port) { return host + ":" + std::to_string(port); }

// A dotted quad in its plain form ("127.001.0.010" is 127.1.0.10).
std::optional<std::string> plainQuad(const std::string& host) {
    const auto v4 = DottedDecimal(host);
    if (!v4) return std::nullopt;
    return std::to_string(*v4 >> 24) + "." + std::to_string((*v4 >> 16) & 0xFF) + "." +
           std::to_string((*v4 >> 8) & 0xFF) + "." + std::to_string(*v4 & 0xFF);
}
}  // namespace

class MemoryDatagramSocket;

struct MemoryNetwork::State {
    std::map<std::pair<std::string, std::uint16_t>, TcpPeer> peers;
    std::vector<SentDatagram> sent;
    std::vector<std::string> calls;
    std::function<void(const SentDatagram&)> responder;
    bool sendFails = false;
    std::vector<MemoryDatagramSocket*> sockets;

    TcpPeer* find(const std::string& host, std::uint16_t port) {
        auto it = peers.find({host, port});
        return it == peers.end() ? nullptr : &it->second;
    }
};

namespace {

class MemoryTcpClient : public TcpClient {
public:
    explicit MemoryTcpClient(std::shared_ptr<MemoryNetwork::State> net) : net_(std::move(net)) {}

    void connect(const std::string& host, std::uint16_t port) override {
        close();
        const auto quad = plainQuad(host);
        host_ = quad.value_or(host);
        port_ = port;
        status_ = SendStatus::None;
        sent_ = 0;
        net_->calls.push_back("tcp connect " + endpoint(host, port));
        state_ = quad ? SocketState::Connecting : SocketState::Error;
    }

    int state() const override { return state_; }

    void send(const std::string& bytes) override {
        net_->calls.push_back("tcp send " + endpoint(host_, port_) + " " + std::to_string(bytes.size()));
        if (state_ != SocketState::Connected) {
            status_ = SendStatus::Failed;
            return;
        }
        out_ += bytes;
        status_ = SendStatus::Sending;
        transfer();
    }

    SendStatus sendStatus() const override { return status_; }
    std::size_t bytesSent() const override { return sent_; }

    void close() override {
        if (state_ == SocketState::Closed) return;
        net_->calls.push_back("tcp close " + endpoint(host_, port_));
        if (state_ == SocketState::Connected)
            if (auto* peer = net_->find(host_, port_)) {
                peer->closes++;
                peer->connected = false;
            }
        if (status_ == SendStatus::Sending || status_ == SendStatus::Written) status_ = SendStatus::Failed;
        out_.clear();
        state_ = SocketState::Closed;
    }

    void progress() override {
        if (state_ == SocketState::Connecting) {
            auto* peer = net_->find(host_, port_);
            if (!peer || peer->answer == MemoryNetwork::TcpPeer::Answer::Refuse) {
                state_ = SocketState::Error;
                return;
            }
            if (peer->answer == MemoryNetwork::TcpPeer::Answer::Silent) return;
            peer->connects++;
            peer->connected = true;
            state_ = SocketState::Connected;
            return;
        }
        if (state_ != SocketState::Connected) return;
        if (auto* peer = net_->find(host_, port_); peer && peer->hangsUp) {
            peer->connected = false;
            out_.clear();
            state_ = SocketState::Error;
            if (status_ == SendStatus::Sending || status_ == SendStatus::Written) status_ = SendStatus::Failed;
            return;
        }
        if (status_ == SendStatus::Sending) transfer();
        // An acknowledgement that came after the bytes were taken.
        if (status_ == SendStatus::Written)
            if (auto* peer = net_->find(host_, port_); peer && peer->acknowledges) status_ = SendStatus::Sent;
    }

private:
    void transfer() {
        auto* peer = net_->find(host_, port_);
        if (!peer) return;
        std::size_t take = std::min(out_.size(), peer->takePerPass);
        if (peer->breakAfter)
            take = std::min(take, *peer->breakAfter > peer->received.size() ? *peer->breakAfter - peer->received.size()
                                                                            : std::size_t{0});
        peer->received += out_.substr(0, take);
        out_.erase(0, take);
        sent_ += take;
        if (!out_.empty() && peer->breakAfter && peer->received.size() >= *peer->breakAfter) {
            peer->connected = false;
            out_.clear();
            state_ = SocketState::Error;
            status_ = SendStatus::Failed;
            return;
        }
        if (out_.empty()) status_ = peer->acknowledges ? SendStatus::Sent : SendStatus::Written;
    }

    std::shared_ptr<MemoryNetwork::State> net_;
    std::string host_;
    std::uint16_t port_ = 0;
    int state_ = SocketState::Closed;
    SendStatus status_ = SendStatus::None;
    std::string out_;
    std::size_t sent_ = 0;
};

}  // namespace

class MemoryDatagramSocket : public DatagramSocket {
public:
    explicit MemoryDatagramSocket(std::shared_ptr<MemoryNetwork::State> net) : net_(std::move(net)) {
        net_->sockets.push_back(this);
    }
    ~MemoryDatagramSocket() override { std::erase(net_->sockets, this); }

    bool setRemote(const std::string& host, std::uint16_t port) override {
        if (host.empty()) {
            remote_.reset();
            return false;
        }
        remote_ = {plainQuad(host).value_or(host), port};
        return true;
    }

    bool send(const std::string& bytes) override {
        if (!remote_) return false;
        net_->calls.push_back("udp send " + endpoint(remote_->first, remote_->second) + " " +
                              std::to_string(bytes.size()));
        if (net_->sendFails) return false;
        open_ = true;
        MemoryNetwork::SentDatagram d{remote_->first, remote_->second, bytes};
        net_->sent.push_back(d);
        if (net_->responder) net_->responder(d);
        return true;
    }

    std::optional<Datagram> read() override {
        if (queue_.empty()) return std::nullopt;
        Datagram d = std::move(queue_.front());
        queue_.pop_front();
        return d;
    }

    std::size_t waiting() const override { return queue_.size(); }

    void close() override {
        open_ = false;
        inbox_.clear();
        queue_.clear();
    }

    void progress() override {
        while (open_ && !inbox_.empty()) {
            Datagram d = std::move(inbox_.front());
            inbox_.pop_front();
            if (!remote_ || d.host != remote_->first || d.port != remote_->second) continue;
            const std::size_t size = d.bytes.size();
            queue_.push_back(std::move(d));
            if (onDataArrival) onDataArrival(size);
        }
    }

    // A datagram on its way; only a socket that has sent receives.
    void arrive(const Datagram& d) {
        if (open_) inbox_.push_back(d);
    }

private:
    std::shared_ptr<MemoryNetwork::State> net_;
    std::optional<std::pair<std::string, std::uint16_t>> remote_;
    bool open_ = false;
    std::deque<Datagram> inbox_;
    std::deque<Datagram> queue_;
};

MemoryNetwork::MemoryNetwork() : state_(std::make_shared<State>()) {}

MemoryNetwork::TcpPeer& MemoryNetwork::tcpPeer(const std::string& host, std::uint16_t port) {
    return state_->peers[{host, port}];
}

const std::vector<MemoryNetwork::SentDatagram>& MemoryNetwork::sent() const { return state_->sent; }

void MemoryNetwork::deliver(const std::string& fromHost, std::uint16_t fromPort, std::string bytes) {
    Datagram d{std::move(bytes), fromHost, fromPort};
    for (auto* s : state_->sockets) s->arrive(d);
}

void MemoryNetwork::setResponder(std::function<void(const SentDatagram&)> responder) {
    state_->responder = std::move(responder);
}

void MemoryNetwork::setSendFails(bool fails) { state_->sendFails = fails; }

const std::vector<std::string>& MemoryNetwork::calls() const { return state_->calls; }

std::unique_ptr<TcpClient> MemoryNetwork::tcpClient() { return std::make_unique<MemoryTcpClient>(state_); }

std::unique_ptr<DatagramSocket> MemoryNetwork::datagramSocket() {
    return std::make_unique<MemoryDatagramSocket>(state_);
}

}  // namespace platform
