#include "archive/station.h"

#include <pwd.h>
#include <unistd.h>

#include <QSysInfo>
#include <vector>

namespace archive {

QString HostName() {
    return QSysInfo::machineHostName();
}

QString AccountName(uid_t uid) {
    std::vector<char> buffer(16384);
    struct passwd entry = {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return QString::fromLocal8Bit(found->pw_name);
    }
    return QString::number(uid);
}

QString CurrentAccount() {
    return AccountName(::geteuid());
}

}  // namespace archive
