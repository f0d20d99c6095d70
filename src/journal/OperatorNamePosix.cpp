#include "journal/OperationJournal.h"

#include <pwd.h>
#include <unistd.h>

namespace zmt::journal {

QString OperatorName() {
    if (const passwd* user = ::getpwuid(::geteuid())) return QString::fromLocal8Bit(user->pw_name);
    return qEnvironmentVariable("USER");
}

}  // namespace zmt::journal
