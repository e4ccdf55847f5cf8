// Who and where: the names an archive entry records of the PC and the account.
#pragma once

#include <sys/types.h>

#include <QString>

namespace archive {

// This PC's host name.
QString HostName();

// The name of the account `uid`, or its number when it has none.
QString AccountName(uid_t uid);

// The account this program runs under.
QString CurrentAccount();

}  // namespace archive
