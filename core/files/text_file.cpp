#include "core/files/text_file.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "core/files/error.h"
#include "core/files/file_sink.h"
#include "core/files/paths.h"

namespace tolvane {

void ThrowOpenError(const std::string& path, int error_number) {
    throw Error("Cannot open file \"" + AbsolutePath(path) + "\". " +
                SystemErrorText(error_number));
}

namespace {

[[noreturn]] void ThrowCreateError(const std::string& path, int error_number) {
    throw Error("Cannot create file \"" + AbsolutePath(path) + "\". " +
                SystemErrorText(error_number));
}

// Closes a descriptor when the scope ends.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            Close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Hands the descriptor over to the caller, who closes it.
    int Release() { return std::exchange(fd_, -1); }
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

// Hands the produced bytes to `fd` and writes the last piece.
void Produce(int fd, const std::function<void(ByteSink&)>& produce) {
    FileSink sink(fd);
    produce(sink);
    sink.Finish();
}

// Opens `path` for reading it whole and fills `info`; raises the open error.
FileDescriptor OpenForReading(const std::string& path, struct stat& info) {
    // Opened without waiting: a named pipe that nobody writes to would otherwise block the
    // open, and with it the program, for good. Reads wait again, and such a pipe reads as empty.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.valid()) {
        ThrowOpenError(path, errno);
    }
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ThrowOpenError(path, errno);
    }
    if (::fstat(file.get(), &info) != 0) {
        ThrowOpenError(path, errno);
    }
    if (S_ISDIR(info.st_mode)) {
        ThrowOpenError(path, EISDIR);
    }
    return file;
}

// Reads into `into` until `count` bytes have come or the file has ended; returns how many came.
// A failed read raises the open error.
std::size_t ReadUpTo(const std::string& path, int fd, char* into, std::size_t count) {
    std::size_t got_total = 0;
    while (got_total < count) {
        const ssize_t got = ::read(fd, into + got_total, count - got_total);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ThrowOpenError(path, errno);
        }
        if (got == 0) {
            break;
        }
        got_total += static_cast<std::size_t>(got);
    }
    return got_total;
}

// Reads the open file to its end into memory that is never zero-filled: the read itself is the
// first write to every byte.
ByteBlock ReadToEnd(const std::string& path, int fd, const struct stat& info) {
    // One read of the known size, with one byte to spare so that the read which meets the end
    // needs no larger buffer; files whose size the system does not know (pipes, /proc) are read
    // on until their end.
    std::size_t capacity = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : 65536;
    std::unique_ptr<char[]> bytes = std::make_unique_for_overwrite<char[]>(capacity);
    std::size_t filled = 0;
    for (;;) {
        if (filled == capacity) {
            std::unique_ptr<char[]> larger = std::make_unique_for_overwrite<char[]>(capacity * 2);
            std::memcpy(larger.get(), bytes.get(), filled);
            bytes = std::move(larger);
            capacity *= 2;
        }
        const std::size_t wanted = capacity - filled;
        const std::size_t got = ReadUpTo(path, fd, bytes.get() + filled, wanted);
        filled += got;
        if (got < wanted) {
            break;
        }
    }
    return ByteBlock(std::move(bytes), filled);
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

// Empties the existing target and writes it anew. A regular file is flushed to disk before the
// write counts as done, so that a failure the disk reports late is still a write error.
void WriteInPlace(const std::string& shown_path, const std::string& target, bool regular,
                  const std::function<void(ByteSink&)>& produce) {
    FileDescriptor file(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (!file.valid()) {
        ThrowCreateError(shown_path, errno);
    }
    Produce(file.get(), produce);
    if ((regular && ::fsync(file.get()) != 0) || !file.Close()) {
        ThrowWriteError();
    }
}

// ".tolvane-" and six random letters and digits, as mkstemp chooses them.
std::string HiddenTemporaryName() {
    static constexpr std::string_view kSymbols =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
        // Without the system's random bytes a name may repeat; the caller tries another then.
        bits = static_cast<std::uint64_t>(
                   std::chrono::steady_clock::now().time_since_epoch().count()) ^
               (static_cast<std::uint64_t>(::getpid()) << 40);
    }
    std::string name = ".tolvane-";
    for (int i = 0; i < 6; ++i) {
        name.push_back(kSymbols[bits % kSymbols.size()]);
        bits /= kSymbols.size();
    }
    return name;
}

// The file a replacing write fills before it takes the target's place. Where the file system
// allows, it has no name until it is complete (O_TMPFILE): the system frees a file without a
// name with its last descriptor, so even a killed program leaves nothing behind. Elsewhere it is
// a hidden file beside the target, removed again on every failure the program lives to see.
class TemporaryFile {
  public:
    // When the folder refuses a new file, the file is not open and OpenError() tells why.
    explicit TemporaryFile(const std::string& folder) : folder_(folder.empty() ? "./" : folder) {
        if (!OpenUnnamed()) {
            OpenNamed();
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        file_.Close();
        if (!placed_ && !name_.empty()) {
            ::unlink(name_.c_str());
        }
    }

    int get() const { return file_.get(); }
    // The system's error number for a file that could not be made, else 0.
    int OpenError() const { return open_error_; }

    // Puts the complete, synced file in the target's place. A file without a name gets one only
    // now: the target's own when there is none yet (nothing can be left behind then), else a
    // hidden one right before the rename, so that a crash between the two leaves it for the
    // shortest time there is.
    void Replace(const std::string& shown_path, const std::string& target) {
        if (name_.empty()) {
            if (Link(target)) {
                Placed();
                return;
            }
            if (errno != EEXIST) {
                ThrowCreateError(shown_path, errno);
            }
            Name(shown_path);
        }
        if (::rename(name_.c_str(), target.c_str()) != 0) {
            ThrowCreateError(shown_path, errno);
        }
        Placed();
    }

  private:
    // True when the file is open, or when the folder refused it (OpenError tells why; a named
    // file would be refused alike). False when the file system has no files without a name, or
    // when nothing could give this one a name later (no /proc); the hidden named file is used then.
    bool OpenUnnamed() {
        file_ = FileDescriptor(::open(folder_.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
        if (!file_.valid()) {
            if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) {
                return false;
            }
            open_error_ = errno;
            return true;
        }
        struct stat link {};
        if (::lstat(ProcessPath().c_str(), &link) != 0) {
            file_.Close();
            return false;
        }
        return true;
    }

    void OpenNamed() {
        std::string name = folder_ + ".tolvane-XXXXXX";
        file_ = FileDescriptor(::mkstemp(name.data()));
        if (!file_.valid()) {
            open_error_ = errno;
            return;
        }
        name_ = std::move(name);
    }

    // Links the unnamed file under a fresh hidden name. A name in use is tried again.
    void Name(const std::string& shown_path) {
        for (int attempt = 0;; ++attempt) {
            std::string name = folder_ + HiddenTemporaryName();
            if (Link(name)) {
                name_ = std::move(name);
                return;
            }
            if (errno != EEXIST || attempt == 100) {
                ThrowCreateError(shown_path, errno);
            }
        }
    }

    // Gives the unnamed file the name `path` (which must be free): straight from its
    // descriptor where the system permits that, else through its entry under /proc.
    bool Link(const std::string& path) const {
        return ::linkat(file_.get(), "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0 ||
               (errno == ENOENT && ::linkat(AT_FDCWD, ProcessPath().c_str(), AT_FDCWD, path.c_str(),
                                            AT_SYMLINK_FOLLOW) == 0);
    }

    void Placed() {
        placed_ = true;
        // The bytes are on disk already (fsync): the close has nothing left to report.
        file_.Close();
    }

    // The file's entry under /proc, through which it can be linked to a name.
    std::string ProcessPath() const { return "/proc/self/fd/" + std::to_string(file_.get()); }

    std::string folder_;
    FileDescriptor file_{-1};
    std::string name_;  // the file's name once it has one
    int open_error_ = 0;
    bool placed_ = false;
};

// Whether a failure to make a new file in a folder is only for lack of the rights to it.
bool IsMissingRight(int error_number) {
    return error_number == EACCES || error_number == EPERM;
}

// Gives the new file the former target's permission bits (or the default ones for a new file)
// and, where the system lets us, the former owner of a file we were allowed to replace.
void TakeOverModeAndOwner(int fd, bool target_exists, const struct stat& former) {
    const mode_t mode = target_exists ? (former.st_mode & 07777) : (0666 & ~CurrentUmask());
    ::fchmod(fd, mode);
    if (target_exists && (former.st_uid != ::geteuid() || former.st_gid != ::getegid())) {
        if (::fchown(fd, former.st_uid, former.st_gid) != 0) {
            ::fchmod(fd, mode & 0777);
        }
    }
}

// Makes a rename in `folder` durable; a failure here loses nothing already written.
void SyncFolder(const std::string& folder) {
    FileDescriptor directory(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid()) {
        ::fsync(directory.get());
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

FileReader::FileReader(const std::string& path) : path_(path) {
    struct stat info {};
    fd_ = OpenForReading(path, info).Release();
    known_size_ = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
}

FileReader::~FileReader() {
    ::close(fd_);
}

bool FileReader::ReadMore(std::string& bytes, std::size_t count) {
    const std::size_t filled = bytes.size();
    bytes.resize(filled + count);
    std::size_t got = 0;
    try {
        got = ReadUpTo(path_, fd_, bytes.data() + filled, count);
    } catch (const Error&) {
        bytes.resize(filled);
        throw;
    }
    bytes.resize(filled + got);
    return got == count;
}

ByteBlock ReadFileBytes(const std::string& path) {
    struct stat info {};
    const FileDescriptor file = OpenForReading(path, info);
    return ReadToEnd(path, file.get(), info);
}

std::string ReadText(const std::string& path) {
    const ByteBlock bytes = ReadFileBytes(path);
    const std::string_view text = bytes.View();
    return std::string(text.substr(0, text.find('\0')));
}

LineList ReadLines(const std::string& path) {
    return LineList::Split(ReadFileBytes(path));
}

LineList MapLines(const std::string& path) {
    struct stat info {};
    const FileDescriptor file = OpenForReading(path, info);
    if (S_ISREG(info.st_mode)) {
        ByteBlock mapped =
            ByteBlock::MapReadOnly(file.get(), static_cast<std::size_t>(info.st_size));
        if (!mapped.empty()) {
            return LineList::Split(std::move(mapped));
        }
    }
    return LineList::Split(ReadToEnd(path, file.get(), info));
}

void WriteStreamed(const std::string& path, const std::function<void(ByteSink&)>& produce) {
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
            WriteInPlace(path, target, false, produce);
            return;
        }
    }

    const std::string folder = TrimToFolder(target);
    TemporaryFile temp(folder);
    if (temp.OpenError() != 0) {
        if (target_exists && IsMissingRight(temp.OpenError())) {
            // A file we may write in a folder we may not (a shared web folder): it can only be
            // written where it is, as QSaveFile's direct-write fallback does.
            WriteInPlace(path, target, true, produce);
            return;
        }
        ThrowCreateError(path, temp.OpenError());
    }
    // From here on every failure leaves the target alone: the temporary file goes with it.
    TakeOverModeAndOwner(temp.get(), target_exists, former);
    Produce(temp.get(), produce);
    if (::fsync(temp.get()) != 0) {
        ThrowWriteError();
    }
    temp.Replace(path, target);
    SyncFolder(folder);
}

void WriteText(const std::string& path, std::string_view text) {
    WriteStreamed(path, [text](ByteSink& sink) { sink.Append(text); });
}

void WriteLines(const std::string& path, const LineList& lines) {
    // Line by line into the file: a saved list is never copied whole first.
    WriteStreamed(path, [&lines](ByteSink& sink) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            sink.Append(lines[i]);
            sink.Append("\r\n");
        }
    });
}

}  // namespace tolvane
