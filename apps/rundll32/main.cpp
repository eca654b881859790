// rundll32: the printer-setup entry point "printui.dll,PrintUIEntry" over
// CUPS (the server CUPS_SERVER names, else the local one).
//
//   rundll32 printui.dll,PrintUIEntry [/q] /if /b QUEUE /r PORT /m DRIVER [/f FILE]
//   rundll32 printui.dll,PrintUIEntry [/q] /dl /n QUEUE
//
// /if adds QUEUE as an enabled raw queue accepting jobs, printing to the
// device URI that "ports.map" gives PORT (NAME TAB URI a line, as the port
// lister writes it): the map in the current directory is asked first, then
// the one in the program folder. Only the driver "Generic / Text Only" is
// installed; /f is accepted and ignored. /dl deletes QUEUE; deleting a
// queue that does not exist succeeds. /q keeps error messages off stderr.
// The server is waited for until the deadline the environment names
// (QUILL_SERVER_DEADLINE), else for the spooler's own time limit.
// Exit code 0 on success, 1 on failure, 2 for a command line not understood,
// 3 when the server did not answer in time or could not be reached.

#include <cctype>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/Process.h"
#include "platform/ServerDeadline.h"
#include "platform/cups/CupsSpooler.h"

namespace {

const char* const Entry = "printui.dll,PrintUIEntry";
const char* const TextDriver = "Generic / Text Only";

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

struct Request {
    bool quiet = false;
    bool install = false;
    bool remove = false;
    std::string base, port, driver, name;
};

std::optional<Request> parse(const std::vector<std::string>& args) {
    if (args.empty() || lower(args[0]) != lower(Entry)) return std::nullopt;
    Request r;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string option = lower(args[i]);
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        std::string ignored;
        bool ok = true;
        if (option == "/q")
            r.quiet = true;
        else if (option == "/if")
            r.install = true;
        else if (option == "/dl")
            r.remove = true;
        else if (option == "/b")
            ok = value(r.base);
        else if (option == "/r")
            ok = value(r.port);
        else if (option == "/m")
            ok = value(r.driver);
        else if (option == "/n")
            ok = value(r.name);
        else if (option == "/f")
            ok = value(ignored);
        else
            ok = false;
        if (!ok) return std::nullopt;
    }
    if (r.install == r.remove) return std::nullopt;
    return r;
}

// The device URI of the port in the first map that names it.
std::optional<std::string> deviceUri(const std::string& port) {
    for (const std::string& map : {std::string("ports.map"), platform::programFolder() + "/ports.map"}) {
        std::ifstream in(map, std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            auto tab = line.find('\t');
            if (tab != std::string::npos && line.compare(0, tab, port) == 0 && tab + 1 < line.size())
                return line.substr(tab + 1);
        }
    }
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const auto request = parse(std::vector<std::string>(argv + 1, argv + argc));
    if (!request) {
        std::fputs(
            "usage: rundll32 printui.dll,PrintUIEntry [/q] /if /b QUEUE /r PORT /m DRIVER [/f FILE]\n"
            "       rundll32 printui.dll,PrintUIEntry [/q] /dl /n QUEUE\n",
            stderr);
        return 2;
    }
    auto fail = [&](const std::string& message, int code = 1) {
        if (!request->quiet) std::fprintf(stderr, "rundll32: %s\n", message.c_str());
        return code;
    };
    auto failed = [&](const std::string& what, const platform::SpoolResult& r) {
        return fail("cannot " + what + " (error " + std::to_string(r.error) + ")",
                    r.serverSilent() ? platform::ServerSilentExit : 1);
    };
    platform::CupsSpooler spooler(platform::serverTimeLeft().value_or(platform::CupsSpooler::DefaultTimeLimit));
    if (request->remove) {
        if (request->name.empty()) return fail("no queue named (/n)");
        platform::SpoolResult r = spooler.deleteQueue(request->name);
        return r.ok() ? 0 : failed("delete " + request->name, r);
    }
    if (request->base.empty()) return fail("no queue named (/b)");
    if (request->driver != TextDriver) return fail("driver not available: " + request->driver);
    const auto uri = deviceUri(request->port);
    if (!uri) return fail("unknown port: " + request->port);
    platform::QueueSpec spec;
    spec.name = request->base;
    spec.deviceUri = *uri;
    spec.info = TextDriver;
    platform::SpoolResult r = spooler.addQueue(spec);
    return r.ok() ? 0 : failed("add " + request->base, r);
}
