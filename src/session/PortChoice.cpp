#include "session/PortChoice.h"

#include "editor/ComNames.h"
#include "link/SystemDevice.h"

#include <QRegularExpression>

namespace zmt {

std::optional<int> ComNumberOf(const QString& port) {
    static const QRegularExpression comName(QStringLiteral("^COM([1-4])$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const auto match = comName.match(port);
    if (!match.hasMatch()) return std::nullopt;
    return match.captured(1).toInt();
}

std::optional<PortChoice> ResolvePort(const QString& port, const link::PlatformDeviceFactory& com) {
    if (const auto number = ComNumberOf(port)) return PortChoice{com, *number, ComName(*number)};
    if (!port.contains(u'/')) return std::nullopt;
    const std::string path = port.toStdString();
    return PortChoice{[path] { return link::MakeSystemDeviceAt(path); }, 1, port};
}

QString UnknownPortLine(const QString& port) {
    return QStringLiteral("PORT must be COM1..COM4 or a device path: ") + port;
}

}  // namespace zmt
