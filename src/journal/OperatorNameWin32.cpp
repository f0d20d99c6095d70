#include "journal/OperationJournal.h"

#include <windows.h>

namespace zmt::journal {

QString OperatorName() {
    wchar_t name[257];
    DWORD length = 257;
    if (::GetUserNameW(name, &length) && length > 0)
        return QString::fromWCharArray(name, int(length) - 1);
    return qEnvironmentVariable("USERNAME");
}

}  // namespace zmt::journal
