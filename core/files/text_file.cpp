#include "core/files/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

#include "core/files/error.h"
#include "core/files/paths.h"

namespace tolvane {
namespace {

[[noreturn]] void ThrowCreateError(const std::string& path, int error_number) {
    throw Error("Cannot create file \"" + AbsolutePath(path) + "\". " +
                SystemErrorText(error_number));
}

[[noreturn]] void ThrowWriteError() {
    throw Error("Stream write error");
}

// Closes a descriptor when the scope ends.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports the close's own failure (a late write error, on some systems).
    bool Close() {
        if (fd_ < 0) {
            return true;
        }
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

  private:
    int fd_;
};

// The file a write to `path` must replace: `path` itself, or the final target of the
// symbolic links it names, so that the rename replaces the file and keeps the link.
std::string ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int depth = 0; depth < 40; ++depth) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return current;
        }
        std::vector<char> buffer(static_cast<std::size_t>(PATH_MAX) + 1);
        const ssize_t length = ::readlink(current.c_str(), buffer.data(), buffer.size() - 1);
        if (length < 0) {
            return current;
        }
        std::string target(buffer.data(), static_cast<std::size_t>(length));
        current = (!target.empty() && target[0] == '/') ? target : TrimToFolder(current) + target;
    }
    return current;
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Writes all of `text`; false when the write stopped short.
bool WriteAll(int fd, std::string_view text) {
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

// Makes sure the existing target may be written by us, as a plain open for writing would.
void CheckTargetWritable(const std::string& shown_path, const std::string& target) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno != ENOENT) {
            ThrowCreateError(shown_path, errno);
        }
        return;
    }
    ::close(fd);
}

void WriteInPlace(const std::string& shown_path, const std::string& target, std::string_view text) {
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (!file.valid()) {
        ThrowCreateError(shown_path, errno);
    }
    if (!WriteAll(file.get(), text) || !file.Close()) {
        ThrowWriteError();
    }
}

}  // namespace

std::string SystemErrorText(int error_number) {
    std::string text = std::strerror(error_number);
    while (!text.empty()) {
        const unsigned char last = static_cast<unsigned char>(text.back());
        if (last == ' ' || last == '.' || last < 0x20 || last == 0x7f) {
            text.pop_back();
        } else {
            break;
        }
    }
    return text;
}

[[noreturn]] void ThrowOpenError(const std::string& path, int error_number) {
    throw Error("Cannot open file \"" + AbsolutePath(path) + "\". " +
                SystemErrorText(error_number));
}

FileReader::FileReader(const std::string& path) : path_(path) {
    // Opened without waiting: a named pipe that nobody writes to would otherwise block the
    // open, and with it the program, for good. Reads wait again, and such a pipe reads as empty.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        ThrowOpenError(path, errno);
    }
    const int flags = ::fcntl(fd_, F_GETFL);
    struct stat info {};
    const bool usable =
        flags >= 0 && ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) == 0 && ::fstat(fd_, &info) == 0;
    const int error_number = !usable ? errno : S_ISDIR(info.st_mode) ? EISDIR : 0;
    if (error_number != 0) {
        ::close(fd_);
        ThrowOpenError(path, error_number);
    }
    known_size_ = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
}

FileReader::~FileReader() {
    ::close(fd_);
}

bool FileReader::ReadMore(std::string& bytes, std::size_t count) {
    const std::size_t filled = bytes.size();
    bytes.resize(filled + count);
    std::size_t got_total = 0;
    while (got_total < count) {
        const ssize_t got = ::read(fd_, bytes.data() + filled + got_total, count - got_total);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            bytes.resize(filled);
            ThrowOpenError(path_, errno);
        }
        if (got == 0) {
            bytes.resize(filled + got_total);
            return false;
        }
        got_total += static_cast<std::size_t>(got);
    }
    return true;
}

std::string ReadFileBytes(const std::string& path) {
    FileReader file(path);
    std::string bytes;
    // One read of the known size, with one byte to spare so that the read which meets the end
    // needs no larger buffer; files whose size the system does not know (pipes, /proc) are read
    // on until their end.
    std::size_t step = file.KnownSize() > 0 ? file.KnownSize() + 1 : 65536;
    while (file.ReadMore(bytes, step)) {
        step = bytes.size();
    }
    return bytes;
}

std::string ReadText(const std::string& path) {
    std::string text = ReadFileBytes(path);
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) {
        text.resize(nul);
    }
    return text;
}

LineList ReadLines(const std::string& path) {
    return LineList::Split(ReadFileBytes(path));
}

void WriteText(const std::string& path, std::string_view text) {
    const std::string target = ResolveLinks(path);
    struct stat link {};
    if (::lstat(target.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        // A loop of links (or one too long to follow): the rename would replace a link with
        // a file, so refuse as opening it would.
        ThrowCreateError(path, ELOOP);
    }
    struct stat former {};
    const bool target_exists = ::stat(target.c_str(), &former) == 0;
    if (target_exists && S_ISDIR(former.st_mode)) {
        ThrowCreateError(path, EISDIR);
    }
    if (target_exists) {
        CheckTargetWritable(path, target);
        if (!S_ISREG(former.st_mode)) {
            // A device or a pipe is written in place: there is no content to keep, and a
            // rename would replace the device itself.
            WriteInPlace(path, target, text);
            return;
        }
    }

    const std::string folder = TrimToFolder(target);
    std::string temp_name = folder + ".tolvane-XXXXXX";
    FileDescriptor temp(::mkstemp(temp_name.data()));
    if (!temp.valid()) {
        ThrowCreateError(path, errno);
    }
    // From here on a failure removes the temporary file and leaves the target alone.
    auto abandon = [&temp, &temp_name]() {
        temp.Close();
        ::unlink(temp_name.c_str());
    };

    const mode_t mode = target_exists ? (former.st_mode & 07777) : (0666 & ~CurrentUmask());
    ::fchmod(temp.get(), mode);
    if (target_exists && (former.st_uid != ::geteuid() || former.st_gid != ::getegid())) {
        // Keep the owner of a file we were allowed to replace, where the system lets us.
        if (::fchown(temp.get(), former.st_uid, former.st_gid) != 0) {
            ::fchmod(temp.get(), mode & 0777);
        }
    }

    if (!WriteAll(temp.get(), text) || ::fsync(temp.get()) != 0 || !temp.Close()) {
        abandon();
        ThrowWriteError();
    }
    if (::rename(temp_name.c_str(), target.c_str()) != 0) {
        const int error_number = errno;
        ::unlink(temp_name.c_str());
        ThrowCreateError(path, error_number);
    }
    // Make the rename itself durable; a failure here loses nothing already written.
    FileDescriptor directory(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid()) {
        ::fsync(directory.get());
    }
}

void WriteLines(const std::string& path, const LineList& lines) {
    WriteText(path, lines.Joined("\r\n"));
}

}  // namespace tolvane
