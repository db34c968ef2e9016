#pragma once
// Writing a whole file so that a failure is never taken for success: every
// write, the flush and the close are checked. A regular file is replaced
// atomically (written beside it, then renamed), so a failed write leaves the
// previous file as it was; anything else (a device, a pipe) is written in place.
#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// nullopt when the file holds exactly bytes; otherwise why it could not be
// written (the system's reason, in English).
std::optional<std::string> WriteWholeFile(const std::string& path, std::string_view bytes);

} // namespace kestrel
