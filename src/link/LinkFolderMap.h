#pragma once

#include "link/ComPortMap.h"

namespace zmt::link {

// The comN links in a folder (the program's working folder by default).
class LinkFolderMap : public ComPortMap {
  public:
    explicit LinkFolderMap(QString folder = QStringLiteral(".")) : folder_(std::move(folder)) {}

    ComTarget target(int number, const std::vector<PortEntry>& catalog) const override;
    QString standardDevice(int number) const override;
    std::vector<BindProblem> bind(const std::vector<BindRequest>& requests) override;

  private:
    QString folder_;
};

}  // namespace zmt::link
