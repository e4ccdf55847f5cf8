// A name standing for a USB serial adapter as /dev/serial/by-id gives one: a link to the device
// node that goes when the adapter is pulled and comes back, perhaps to another node, when it is
// plugged in again.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <stdexcept>
#include <string>

class AdapterLink {
  public:
    explicit AdapterLink(std::string path) : path_(std::move(path)) {}
    ~AdapterLink() { Pull(); }
    AdapterLink(const AdapterLink&) = delete;
    AdapterLink& operator=(const AdapterLink&) = delete;

    const std::string& Path() const { return path_; }

    // Points the name at the device; an earlier link is replaced in one step.
    void PlugIn(const std::string& device) const {
        const std::string fresh = path_ + ".new";
        ::unlink(fresh.c_str());
        if (::symlink(device.c_str(), fresh.c_str()) != 0 ||
            std::rename(fresh.c_str(), path_.c_str()) != 0) {
            throw std::runtime_error("cannot link " + path_ + " to " + device);
        }
    }
    void Pull() const { ::unlink(path_.c_str()); }

  private:
    std::string path_;
};
