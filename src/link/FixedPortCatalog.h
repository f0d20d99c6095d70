#pragma once

#include "link/PortCatalog.h"

namespace zmt::link {

// A catalog with a list handed in: the tests' machines and the demo's simulated interfaces.
class FixedPortCatalog : public PortCatalog {
  public:
    FixedPortCatalog() = default;
    explicit FixedPortCatalog(std::vector<PortEntry> entries) : entries_(std::move(entries)) {}

    std::vector<PortEntry> list() override { return entries_; }
    void setEntries(std::vector<PortEntry> entries) { entries_ = std::move(entries); }

  private:
    std::vector<PortEntry> entries_;
};

}  // namespace zmt::link
