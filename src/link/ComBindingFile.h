#pragma once

#include <optional>
#include <string>

namespace zmt::link {

// On Windows a COM number is bound by the file comN-binding.txt in the working folder, whose
// first line names the Windows port it opens ("COM7"). The Windows port names, COM10 and
// above included.

// True for "COM1" .. "COM256" as the system spells them.
bool IsWindowsPortName(const std::string& name);
// The port that the binding file `path` (UTF-8) names; empty when it is missing or names none.
std::optional<std::string> BoundPortName(const std::string& path);

}  // namespace zmt::link
