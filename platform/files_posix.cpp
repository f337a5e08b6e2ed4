// File services on POSIX; Windows-form paths have their backslashes read as
// separators, as the native settings file does.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/files.h"

namespace {

std::string native_path(const std::string& path)
{
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

}  // namespace

bool file_exists(const std::string& path)
{
    struct stat info {};
    return ::stat(native_path(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

int rename_file(const std::string& from, const std::string& to)
{
    return ::rename(native_path(from).c_str(), native_path(to).c_str()) == 0 ? 0 : errno;
}

std::string program_file(const std::string& name)
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? name : (exe.parent_path() / name).string();
}

std::string file_error_text(int code)
{
    return std::strerror(code);
}

struct FileWriter::Impl {
    int fd = -1;
};

FileWriter::FileWriter() : impl_(std::make_unique<Impl>()) {}
FileWriter::~FileWriter()
{
    close();
}

int FileWriter::open(const std::string& path, bool append)
{
    close();
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
    impl_->fd = ::open(native_path(path).c_str(), flags, 0644);
    return impl_->fd < 0 ? errno : 0;
}

int FileWriter::write(const void* data, std::size_t n)
{
    if (impl_->fd < 0) return EBADF;
    const char* p = static_cast<const char*>(data);
    while (n > 0) {
        const ssize_t put = ::write(impl_->fd, p, n);
        if (put < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        p += put;
        n -= static_cast<std::size_t>(put);
    }
    return 0;
}

int FileWriter::flush()
{
    if (impl_->fd < 0) return EBADF;
    return ::fsync(impl_->fd) == 0 ? 0 : errno;
}

int FileWriter::close()
{
    if (impl_->fd < 0) return 0;
    const int result = ::close(impl_->fd) == 0 ? 0 : errno;
    impl_->fd = -1;
    return result;
}

bool FileWriter::is_open() const
{
    return impl_->fd >= 0;
}

struct FileReader::Impl {
    int fd = -1;
};

FileReader::FileReader() : impl_(std::make_unique<Impl>()) {}
FileReader::~FileReader()
{
    close();
}

int FileReader::open(const std::string& path)
{
    close();
    const std::string native = native_path(path);
    struct stat info {};
    if (::stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return EISDIR;
    // POSIX has no share modes; the file is read as it stands.
    impl_->fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    return impl_->fd < 0 ? errno : 0;
}

std::int64_t FileReader::size() const
{
    struct stat info {};
    if (impl_->fd < 0 || ::fstat(impl_->fd, &info) != 0) return -1;
    return static_cast<std::int64_t>(info.st_size);
}

int FileReader::read(void* data, std::size_t n, std::size_t* got)
{
    *got = 0;
    if (impl_->fd < 0) return EBADF;
    for (;;) {
        const ssize_t r = ::read(impl_->fd, data, n);
        if (r >= 0) {
            *got = static_cast<std::size_t>(r);
            return 0;
        }
        if (errno != EINTR) return errno;
    }
}

void FileReader::close()
{
    if (impl_->fd >= 0) ::close(impl_->fd);
    impl_->fd = -1;
}

bool FileReader::is_open() const
{
    return impl_->fd >= 0;
}
