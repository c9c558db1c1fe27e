#pragma once

#include <cstdint>
#include <string>

namespace tessarin {

// Size of a regular file; 0 for anything that is not one or cannot be opened.
[[nodiscard]] std::uint64_t probeFileSize(const std::string& fileName) noexcept;

// Makes a new, empty file with a unique name from prefix in the temporary
// directory ($TMPDIR, else /tmp) and returns its full name. Throws FileError
// when the directory is missing or not writable.
[[nodiscard]] std::string makeTempFile(const std::string& prefix);

// The same in the given directory: the scratch file beside a target that is
// renamed into place when complete.
[[nodiscard]] std::string makeTempFileIn(const std::string& directory, const std::string& prefix);

// Copies source over target, replacing it. The copy goes to a scratch file beside
// the target first, so a failed copy leaves an existing target intact. Throws
// FileError naming the file that failed.
void copyFile(const std::string& source, const std::string& target);

// A new, empty scratch file ".<target name>.XXXXXX" beside target, for writing a
// file that is renamed into place only when complete. Throws FileError.
[[nodiscard]] std::string makeScratchFileBeside(const std::string& target);

// Gives scratch the permissions of the existing target (or of any new file) and
// renames it onto target. Throws FileError.
void placeScratchFile(const std::string& scratch, const std::string& target);

// The directory part of a path ("." when it has none) and its last component.
[[nodiscard]] std::string directoryOf(const std::string& path);
[[nodiscard]] std::string baseNameOf(const std::string& path);

// Renames source onto target, replacing it (same file system). Throws FileError.
void renameFile(const std::string& source, const std::string& target);

// Removes the file; false when it could not be removed.
bool deleteFile(const std::string& fileName) noexcept;

} // namespace tessarin
