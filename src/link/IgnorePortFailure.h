#pragma once

#include <exception>
#include <utility>

namespace zmt::link {

// Runs one port step where a failure is expected and changes nothing: the port is gone or
// was never there, and what follows (an empty exchange, a closed port) shows it anyway.
template <typename Step>
void IgnorePortFailure(Step&& step) noexcept {
    try {
        std::forward<Step>(step)();
    } catch (const std::exception&) {
    }
}

}  // namespace zmt::link
