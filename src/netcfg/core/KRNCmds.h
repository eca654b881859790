#pragma once
// The configuration job: the command block framed for the network card, and
// its delivery over the output chosen on the port page.

#include <string>

namespace netcfg {

class QuillonModule;

// The job text around a command block whose lines end with CR LF.
std::string NicSetupJob(const std::string& commands);

enum class SendResult {
    Sent,
    // The job did not go out: a character the code page cannot hold, a
    // client that is not connected, a file that cannot be written or is no
    // regular file, a document the spooler did not take.
    Failed,
    // The print server did not answer; its box has said so.
    ServerSilent,
};

// Frames the command block and hands it, as 8-bit text, to the chosen
// output: the progress page's TCP client, the named file (the job and one
// more CR LF, in a new or replaced regular file), or the current print queue
// as one raw document.
SendResult SendConfigJob(QuillonModule& m, const std::string& commands);

}  // namespace netcfg
