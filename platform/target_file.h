#pragma once

// Writing a file the user named, as one step: the bytes go to a scratch file beside
// the target, which is renamed into place when complete. No fsync before the rename
// (as cp): a crash may lose the new content, never leave a half-written target.

#include "platform/byte_span.h"

#include <cstdint>
#include <span>
#include <string>

namespace tessarin {

// Whether an existing target may be replaced.
enum class ReplaceMode { replace, keepExisting };

// Makes bytes the whole content of target, through a scratch file beside it renamed into
// place in one step: only a regular file (or nothing) is replaced; a symbolic link is
// followed and stays a link; keepExisting fails, atomically, when target exists.
// Throws FileError naming target; nothing is left behind on failure.
void writeTargetFile(const std::string& target, ByteSpan bytes, ReplaceMode mode);
// The same with the pieces one after the other as the content.
void writeTargetFile(const std::string& target, std::span<const ByteSpan> pieces, ReplaceMode mode);

// A file's name and its content, for writeTargetFiles.
struct TargetBytes {
    std::string target;
    ByteSpan bytes;
};

// writeTargetFile for each of files, as near one step as two renames come: every scratch
// file is written, and every target checked, before the first is renamed into place; a
// failure before that leaves all the targets as they were.
void writeTargetFiles(std::span<const TargetBytes> files, ReplaceMode mode);

// The same with source's content (ReplaceMode::replace); a failure to read throws
// FileError naming source.
void copyFile(const std::string& source, const std::string& target);

// Throws FileError naming target when target exists and is one of inputs by device and
// inode, whatever the names: replacing an input with its own picture would lose the input.
// Empty inputs and inputs that cannot be found are skipped.
void refuseInputAsTarget(const std::string& target, std::span<const std::string> inputs);

// Unlinks the scratch files of the writes in progress. Async-signal-safe: for the handler
// of a terminating signal, which must end the process right after.
void removeScratchFilesInProgress() noexcept;

} // namespace tessarin
