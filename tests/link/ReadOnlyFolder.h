#pragma once

// A folder that refuses new files for the calling thread, for root as well: the folder
// loses its write permission, and the thread drops the capabilities that would let root
// write anyway (capabilities belong to a thread, so the rest of the test program keeps them).

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QFile>
#include <QString>

namespace zmt::link::test {

class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(const QString& folder) : folder_(QFile::encodeName(folder)) {
        ::chmod(folder_.constData(), 0555);
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        header_.pid = 0;
        if (::syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            reduced[capability / 32].effective &= ~(1u << (capability % 32));
        dropped_ = ::syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~ReadOnlyFolder() {
        if (dropped_) ::syscall(SYS_capset, &header_, saved_);
        ::chmod(folder_.constData(), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

  private:
    QByteArray folder_;
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool dropped_ = false;
};

}  // namespace zmt::link::test
