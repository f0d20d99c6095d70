#include "link/ComBindingFile.h"
#include "link/ComPortNames.h"

#include <cctype>
#include <filesystem>
#include <fstream>

namespace zmt::link {

bool IsWindowsPortName(const std::string& name) {
    if (name.size() < 4 || name.size() > 6 || name.compare(0, 3, "COM") != 0 || name[3] == '0')
        return false;
    for (std::size_t i = 3; i < name.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
    return std::stoi(name.substr(3)) <= 256;
}

std::optional<std::string> BoundPortName(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file = std::filesystem::u8path(path);
    if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
    std::ifstream in(file);
    std::string line;
    if (!std::getline(in, line)) return std::nullopt;
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
    if (!IsWindowsPortName(line)) return std::nullopt;
    return line;
}

// Not "comN" itself: Windows reserves COM1..COM9 (with any extension) in every folder as the
// ports' device names, so a file of that name cannot be made or read.
std::string ComLinkName(int number) {
    return "com" + std::to_string(number) + "-binding.txt";
}

// The port's own name; the device adds the prefix that reaches COM10 and above.
std::string StandardComDevice(int number) {
    return "COM" + std::to_string(number);
}

std::string ComPortPathIn(const std::string& folder, int number) {
    const std::string local =
        folder.empty() || folder == "." ? ComLinkName(number) : folder + "/" + ComLinkName(number);
    return BoundPortName(local).value_or(StandardComDevice(number));
}

std::string ComPortPath(int number) {
    return ComPortPathIn(".", number);
}

}  // namespace zmt::link
