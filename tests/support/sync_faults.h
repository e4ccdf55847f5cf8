// A disk sync that fails, in a test: the test executable's fsync and fdatasync (defined in
// sync_faults.cpp, linked into it) hand every call to the system's, except while a
// TFailingSync of the calling thread is armed for that call. Other threads (the background
// syncs of the journal) sync as always.
#pragma once

#include <cerrno>

enum class TSyncCall { Fsync, Fdatasync };

class TFailingSync {
  public:
    explicit TFailingSync(TSyncCall call, int error = EIO);
    ~TFailingSync();
    TFailingSync(const TFailingSync&) = delete;
    TFailingSync& operator=(const TFailingSync&) = delete;

    // The calls that failed since it was armed.
    int Failed() const;

  private:
    TSyncCall call_;
};
