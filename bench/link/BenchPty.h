#pragma once

// What the link benchmarks share: a pseudo-terminal pair with com1 linked to its slave in
// a temporary working directory, a steady clock, medians.

#include "Median.h"

#include <fcntl.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace zmt::link::bench {

class BenchPty {
  public:
    BenchPty() : previous_(std::filesystem::current_path()) {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ::grantpt(master_);
        ::unlockpt(master_);
        char name[128] = {};
        ::ptsname_r(master_, name, sizeof name);
        slave_ = name;
        char pattern[] = "/tmp/zmt-link-bench-XXXXXX";
        directory_ = ::mkdtemp(pattern);
        std::filesystem::current_path(directory_);
        std::filesystem::create_symlink(slave_, "com1");
    }
    ~BenchPty() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
        hangUp();
    }
    int master() const { return master_; }
    // The far end goes away, as an adapter pulled out of its socket.
    void hangUp() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }
    const std::string& slavePath() const { return slave_; }

  private:
    std::filesystem::path previous_, directory_;
    int master_ = -1;
    std::string slave_;
};

inline double NowMicroseconds() {
    using namespace std::chrono;
    return duration<double, std::micro>(steady_clock::now().time_since_epoch()).count();
}

inline double ProcessCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

using zmt::bench::Median;

inline void PrintRounds(const char* what, const std::vector<double>& rounds, const char* unit) {
    std::printf("%s:", what);
    for (double r : rounds) std::printf(" %.1f", r);
    std::printf("  -> median %.1f %s\n", Median(rounds), unit);
}

}  // namespace zmt::link::bench
