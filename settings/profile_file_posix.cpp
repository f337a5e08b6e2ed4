// The native settings file: the Windows profile-file rules on a POSIX file,
// read whole for every call and rewritten in place for every write, so it
// behaves like the Windows build without keeping a copy of the file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "settings/profile_file.h"
#include "settings/profile_text.h"

namespace {

enum class ReadResult { ok, missing, failed };

ReadResult read_whole_file(const std::string& path, std::string& text)
{
    text.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? ReadResult::missing : ReadResult::failed;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return ReadResult::failed;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return ReadResult::failed;
        }
        if (n == 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return ReadResult::ok;
}

bool write_whole_file(const std::string& path, const std::string& text)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0;
}

class PosixProfileFile final : public ProfileFile {
 public:
    // The path may come in Windows form (start folder + "\config.ini").
    explicit PosixProfileFile(std::string path) : path_(std::move(path)), native_path_(path_)
    {
        std::replace(native_path_.begin(), native_path_.end(), '\\', '/');
    }

    const std::string& path() const override { return path_; }

    std::string read_string(std::string_view section, std::string_view key,
                            std::string_view default_value) const override
    {
        std::string text;
        std::optional<std::string> raw;
        if (read_whole_file(native_path_, text) == ReadResult::ok) raw = profile_find_value(text, section, key);
        if (raw) return profile_value_as_read(*raw);
        return profile_value_as_read(profile_default_trimmed(default_value));
    }

    bool try_write_string(std::string_view section, std::string_view key, std::string_view value) override
    {
        std::string text;
        const ReadResult read = read_whole_file(native_path_, text);
        if (read == ReadResult::failed) return false;
        std::string changed = profile_with_value(text, section, key, value);
        if (read == ReadResult::ok && changed == text) return true;  // nothing to write
        return write_whole_file(native_path_, changed);
    }

    bool try_remove_key(std::string_view section, std::string_view key) override
    {
        std::string text;
        const ReadResult read = read_whole_file(native_path_, text);
        if (read == ReadResult::missing) return true;
        if (read == ReadResult::failed) return false;
        const std::string changed = profile_without_key(text, section, key);
        return changed == text || write_whole_file(native_path_, changed);
    }

 private:
    std::string path_;
    std::string native_path_;
};

}  // namespace

std::unique_ptr<ProfileFile> open_profile_file(std::string path)
{
    return std::make_unique<PosixProfileFile>(std::move(path));
}
