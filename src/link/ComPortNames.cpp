#include "link/ComPortNames.h"

#include <sys/stat.h>

namespace zmt::link {

std::string ComLinkName(int number) {
    return "com" + std::to_string(number);
}

std::string StandardComDevice(int number) {
    return "/dev/ttyS" + std::to_string(number - 1);
}

std::string ComPortPathIn(const std::string& folder, int number) {
    const std::string local =
        folder.empty() || folder == "." ? ComLinkName(number) : folder + "/" + ComLinkName(number);
    struct stat info {};
    if (::lstat(local.c_str(), &info) == 0) return local;
    return StandardComDevice(number);
}

std::string ComPortPath(int number) {
    return ComPortPathIn(".", number);
}

}  // namespace zmt::link
