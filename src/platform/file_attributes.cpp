#include "platform/file_attributes.h"

#include <QFile>
#include <filesystem>
#include <system_error>

namespace platform {
namespace {

bool Change(const QString& path, std::filesystem::perms bits, std::filesystem::perm_options how) {
    std::error_code error;
    std::filesystem::permissions(QFile::encodeName(path).toStdString(), bits, how, error);
    return !error;
}

}  // namespace

bool SetFileAttributesNormal(const QString& path) {
    return Change(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
}

bool SetFileAttributesReadOnlySystem(const QString& path) {
    using std::filesystem::perms;
    return Change(path, perms::owner_write | perms::group_write | perms::others_write,
                  std::filesystem::perm_options::remove);
}

}  // namespace platform
