#include "platform/FileOpSteps.h"

#include <fcntl.h>
#include <gio/gio.h>
#include <stdio.h>

#include <cerrno>

#include "platform/ShellFileOperation.h"

namespace platform::fileop {
namespace {

namespace fs = std::filesystem;

bool IsDir(const fs::path& p) {
  std::error_code ec;
  return fs::symlink_status(p, ec).type() == fs::file_type::directory;
}

bool Exists(const fs::path& p) {
  std::error_code ec;
  return fs::symlink_status(p, ec).type() != fs::file_type::not_found && !ec;
}

}  // namespace

int ErrorFromErrno(int error) {
  switch (error) {
    case 0: return 0;
    case ENOENT: return kFileOpFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY: return kFileOpAccessDenied;
    case EEXIST:
    case ENOTEMPTY: return kFileOpAlreadyExists;
    case ENOSPC:
    case EDQUOT: return kFileOpDiskFull;
    case ENAMETOOLONG: return kFileOpNameTooLong;
    case ENOTDIR: return kFileOpNotAFolder;
    case EINVAL: return kFileOpInvalidParameter;
    default: return kFileOpGeneralFailure;
  }
}

int ErrorFrom(const std::error_code& ec) {
  if (!ec) return 0;
  if (ec.category() == std::generic_category() || ec.category() == std::system_category()) {
    return ErrorFromErrno(ec.value());
  }
  return kFileOpGeneralFailure;
}

int TrashItem(const fs::path& item) {
  GFile* file = g_file_new_for_path(item.c_str());
  GError* error = nullptr;
  const gboolean ok = g_file_trash(file, nullptr, &error);
  g_object_unref(file);
  if (ok) return 0;
  int code = kFileOpGeneralFailure;
  if (error && error->domain == G_IO_ERROR) {
    switch (error->code) {
      case G_IO_ERROR_NOT_FOUND: code = kFileOpFileNotFound; break;
      case G_IO_ERROR_PERMISSION_DENIED: code = kFileOpAccessDenied; break;
      case G_IO_ERROR_NOT_SUPPORTED: code = kFileOpNotSupported; break;
      case G_IO_ERROR_NO_SPACE: code = kFileOpDiskFull; break;
      default: break;
    }
  }
  if (error) g_error_free(error);
  return code;
}

int RemoveItem(const fs::path& item) {
  std::error_code ec;
  fs::remove_all(item, ec);
  return ErrorFrom(ec);
}

int RenameNoReplace(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return ErrorFromErrno(errno);
  // File systems without the flag: a check first, with a small window for a race.
  if (Exists(to)) return kFileOpAlreadyExists;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : ErrorFromErrno(errno);
}

int CopyItem(const fs::path& source, const fs::path& target, bool merge) {
  std::error_code ec;
  const auto status = fs::symlink_status(source, ec);
  if (ec) return ErrorFrom(ec);
  const bool targetExists = Exists(target);
  if (targetExists && !merge) return kFileOpAlreadyExists;
  if (status.type() == fs::file_type::directory) {
    if (targetExists && !IsDir(target)) return kFileOpAlreadyExists;
    if (!targetExists) {
      fs::create_directory(target, source, ec);  // takes the source's permissions
      if (ec) return ErrorFrom(ec);
    }
    for (fs::directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
      if (const int code = CopyItem(it->path(), target / it->path().filename(), merge)) {
        return code;
      }
    }
    return ErrorFrom(ec);
  }
  if (targetExists && IsDir(target)) return kFileOpAlreadyExists;
  if (status.type() == fs::file_type::symlink) {
    if (targetExists) fs::remove(target, ec);
    if (!ec) fs::copy_symlink(source, target, ec);
    return ErrorFrom(ec);
  }
  fs::copy_file(source, target, fs::copy_options::overwrite_existing, ec);
  if (!ec) fs::last_write_time(target, fs::last_write_time(source, ec), ec);
  return ErrorFrom(ec);
}

int MoveItem(const fs::path& source, const fs::path& target, bool merge) {
  const bool targetExists = Exists(target);
  if (targetExists && !merge) return kFileOpAlreadyExists;
  if (targetExists && IsDir(source) != IsDir(target)) return kFileOpAlreadyExists;
  if (targetExists && IsDir(source)) {
    // Folder onto folder: the contents go in one by one, then the emptied source goes.
    std::error_code ec;
    for (fs::directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
      if (const int code = MoveItem(it->path(), target / it->path().filename(), true)) {
        return code;
      }
    }
    if (ec) return ErrorFrom(ec);
    fs::remove(source, ec);
    return ErrorFrom(ec);
  }
  // rename() replaces an existing file atomically, which is what "replace" means here.
  if (::rename(source.c_str(), target.c_str()) == 0) return 0;
  if (errno != EXDEV) return ErrorFromErrno(errno);
  if (const int code = CopyItem(source, target, merge)) return code;
  return RemoveItem(source);
}

}  // namespace platform::fileop
