// One running copy per user session: a lock file named after the main window's title.
#pragma once

#include <QLockFile>
#include <QString>

namespace platform {

class SingleInstance {
  public:
    // The lock lives in the user's runtime folder (the temporary folder when there is none).
    explicit SingleInstance(const QString& title);
    // Tests put the lock into a folder of their own.
    SingleInstance(const QString& title, const QString& folder);

    // True when this copy now holds the lock (or already held it); false while another running
    // copy holds it. A lock left behind by a copy that died no longer blocks.
    bool TryAcquire();

    QString LockPath() const { return lock_.fileName(); }

  private:
    QLockFile lock_;
};

}  // namespace platform
