#pragma once
// Writing a whole file so that a failure is never taken for success and
// nothing is half-written or left behind. One rule for every output:
// - a regular file is replaced whole: the new bytes go to an unnamed file in
//   the same folder, which is then renamed over the old one; the old file's
//   mode and owner and group are kept (a file whose owner cannot be kept is
//   written in place instead, as an editor does);
// - a name that is a symbolic link writes the file the link points to, and
//   makes it when the link dangles;
// - a read-only file and a folder are refused;
// - anything else (a device, a pipe) is written in place.
#include "failure.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// nullopt when the file holds exactly bytes; otherwise why it could not be
// written: the system's reason, or a read-only file.
std::optional<Failure> WriteWholeFile(const std::string& path, std::string_view bytes);

// A file's bytes a piece at a time, for files too large to hold at once:
// each call gives the next piece, an empty one after the last.
using ByteSource = std::function<std::string_view()>;
std::optional<Failure> WriteWholeFile(const std::string& path, const ByteSource& source);

// The system's reasons a user meets most, in Japanese; others as the system says.
std::string SystemReasonInJapanese(int error);

// Why nothing could be written in a folder: missing, not a folder, no
// permission, a read-only file system (a temporary file is made and removed).
std::optional<std::string> FolderWriteProblem(const std::string& folder);

// Why a file could not be written there, found without writing it: a
// missing or unwritable folder, a folder or read-only file under the name, a
// name too long. nullopt when a write may go ahead.
std::optional<std::string> OutputTargetProblem(const std::string& path);

// The file a write to path reaches: links followed (also a dangling one's
// target), the folder made absolute and real. Two names of one file give
// the same text.
std::string ResolvedOutputPath(std::string path);

// Interrupts (SIGINT, SIGTERM, SIGHUP) remove a temporary file being
// written before the program ends; SIGXFSZ is ignored, so a file-size
// limit fails the write with a reason instead of killing the program.
void ProtectOutputsFromSignals();

} // namespace kestrel
