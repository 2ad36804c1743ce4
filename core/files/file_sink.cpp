#include "core/files/file_sink.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "core/files/error.h"

namespace tolvane {
namespace {

// Written pieces are handed to the disk (sync_file_range) in runs of this size.
constexpr std::size_t kWritebackBytes = 8 * kWriteChunkBytes;

}  // namespace

// Writes one piece at a time on a thread of its own; the caller waits only when it hands on a
// piece before the one before is written. Every few pieces it also asks the system to start
// putting them on the disk, so that the fsync at the end of a write finds little left to do.
class BackgroundWriter {
  public:
    explicit BackgroundWriter(int fd) : fd_(fd), thread_([this] { Run(); }) {}
    BackgroundWriter(const BackgroundWriter&) = delete;
    BackgroundWriter& operator=(const BackgroundWriter&) = delete;
    // Lets the piece in hand be written, then ends the thread.
    ~BackgroundWriter() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }

    // Waits until the piece before is written, then starts on `piece`, whose bytes must stay
    // as they are until the next Write or Finish returns.
    void Write(std::string_view piece) {
        std::unique_lock<std::mutex> lock(mutex_);
        WaitUntilIdle(lock);
        piece_ = piece;
        busy_ = true;
        lock.unlock();
        changed_.notify_all();
    }

    // Waits until every piece is written.
    void Finish() {
        std::unique_lock<std::mutex> lock(mutex_);
        WaitUntilIdle(lock);
    }

  private:
    void WaitUntilIdle(std::unique_lock<std::mutex>& lock) {
        changed_.wait(lock, [this] { return !busy_; });
        if (failed_) {
            ThrowWriteError();
        }
    }

    void Run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return busy_ || stopping_; });
            if (!busy_) {
                return;
            }
            const std::string_view piece = piece_;
            lock.unlock();
            const bool written = WriteAll(fd_, piece);
            if (written) {
                StartWriteback(piece.size());
            }
            lock.lock();
            failed_ = failed_ || !written;
            busy_ = false;
            changed_.notify_all();
        }
    }

    // A hint only: where the system cannot (a pipe, a device), nothing is lost.
    void StartWriteback(std::size_t bytes) {
        written_ += bytes;
        if (written_ - writeback_from_ >= kWritebackBytes) {
            ::sync_file_range(fd_, static_cast<off_t>(writeback_from_),
                              static_cast<off_t>(written_ - writeback_from_),
                              SYNC_FILE_RANGE_WRITE);
            writeback_from_ = written_;
        }
    }

    const int fd_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::string_view piece_;  // the piece being written while busy_
    bool busy_ = false;
    bool stopping_ = false;
    bool failed_ = false;
    // Only the thread uses these.
    std::size_t written_ = 0;
    std::size_t writeback_from_ = 0;
    // Last, so that it starts when everything it uses exists.
    std::thread thread_;
};

FileSink::FileSink(int fd) : fd_(fd) {
    buffers_[0] = std::make_unique_for_overwrite<char[]>(kWriteChunkBytes);
    SetBuffer(Current(), Current() + kWriteChunkBytes);
}

FileSink::~FileSink() = default;

void FileSink::Finish() {
    const std::string_view rest(Current(), Gathered());
    if (writer_) {
        writer_->Write(rest);
        writer_->Finish();
    } else if (!WriteAll(fd_, rest)) {
        ThrowWriteError();
    }
    SetBuffer(Current(), Current() + kWriteChunkBytes);
}

void FileSink::Overflow(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t taken = std::min(bytes.size(), BufferRoom());
        std::memcpy(BufferNext(), bytes.data(), taken);
        bytes.remove_prefix(taken);
        SetBuffer(BufferNext() + taken, Current() + kWriteChunkBytes);
        if (BufferRoom() == 0) {
            HandOver();
        }
    }
}

void FileSink::HandOver() {
    if (!writer_) {
        buffers_[1] = std::make_unique_for_overwrite<char[]>(kWriteChunkBytes);
        writer_ = std::make_unique<BackgroundWriter>(fd_);
    }
    // Write returns once the other buffer's piece is written, so it is free to fill again.
    writer_->Write(std::string_view(Current(), kWriteChunkBytes));
    current_ = 1 - current_;
    SetBuffer(Current(), Current() + kWriteChunkBytes);
}

void ThrowWriteError() {
    throw Error("Stream write error");
}

bool WriteAll(int fd, std::string_view bytes) {
    const char* data = bytes.data();
    std::size_t left = bytes.size();
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

}  // namespace tolvane
