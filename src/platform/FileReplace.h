#pragma once
// Replacing a file's whole contents so that it is never left half written:
// the bytes go to a new file in the same folder, which is then renamed over
// the old one.

#include <string>

namespace platform {

// What becomes of an existing regular file whose folder does not let the
// user make the new file beside it (a shared folder).
enum class ClosedFolder {
    Refuse,        // it is left alone
    WriteInPlace,  // it is written over and cut to the new length, keeping its
                   // owner, mode and links; the room for the new contents is
                   // taken first, so a full disk or a size limit leaves it
                   // whole; a write failing part-way after it (a device
                   // error) leaves it half written
};

// Writes `bytes` as the whole new contents of `path`. A new file is readable
// and writable by its owner only; an existing one keeps its permission bits
// (and its owner and group where the user may keep them); a symbolic link is
// followed, so the file it names is replaced. Only a regular file is
// replaced: a folder, a device or a pipe is never opened. An existing file
// that the user may not write is left alone, as is every other older file
// when the write fails part-way. False when nothing was replaced.
bool ReplaceFile(const std::string& path, const std::string& bytes, ClosedFolder closed = ClosedFolder::Refuse);

}  // namespace platform
