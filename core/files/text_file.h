#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "core/files/byte_block.h"
#include "core/files/byte_sink.h"
#include "core/files/file_sink.h"
#include "core/files/line_list.h"

namespace tolvane {

// Whole-file text I/O. Every text is bytes, read and written without any conversion.
//
// Errors (all `tolvane::Error`, messages naming the file's absolute path):
//   a file that cannot be opened for reading:  Cannot open file "<path>". <reason>
//   a file that cannot be created or replaced: Cannot create file "<path>". <reason>
//   a write that stops short (disk full):     Stream write error
// <reason> is the operating system's description of the failure, without trailing blanks,
// control characters and periods.
//
// Linux has no share modes: files are opened without locks, and other programs may read or
// write them meanwhile.

// The operating system's text for `error_number`, trimmed as the messages above want it.
std::string SystemErrorText(int error_number);

// Raises the "Cannot open file" error for `path` and the operating system's `error_number`.
[[noreturn]] void ThrowOpenError(const std::string& path, int error_number);

// A file opened for reading in steps, for readers that need only its beginning. Opening and
// reading fail with "Cannot open file" (a folder too, as EISDIR).
class FileReader {
  public:
    explicit FileReader(const std::string& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // The file's size as the system knew it at the open; 0 when it does not know (a pipe).
    std::size_t KnownSize() const { return known_size_; }
    // Appends up to `count` further bytes to `bytes`; false once the end of the file is met.
    bool ReadMore(std::string& bytes, std::size_t count);

  private:
    std::string path_;
    int fd_ = -1;
    std::size_t known_size_ = 0;
};

// All bytes of the file at `path`, read into one block.
ByteBlock ReadFileBytes(const std::string& path);

// The file's text: its bytes up to the first NUL byte.
std::string ReadText(const std::string& path);

// The file read as a list of lines (LineList::Split's rules).
LineList ReadLines(const std::string& path);

// The same lines, for a list that is only read: a regular file is mapped read-only rather than
// read (other files are read). The list then shows the file as it is while the list lives, so
// the file must not be cut short meanwhile; opening fails as ReadLines does.
LineList MapLines(const std::string& path);

// Replaces the file at `path` with exactly the bytes `produce` appends to the sink it is given,
// passed on to the file in pieces of kWriteChunkBytes as they come (FileSink), so the whole
// text never has to be in memory. They go to a temporary file in the target's folder that has no
// name while it is written (where the file system allows; else a hidden name), is flushed to disk,
// and only then named and renamed over the target: a failed write, an error raised by
// `produce` (passed on unchanged) and a killed program all leave the former file exactly as
// it was and no temporary file behind. An existing target keeps its permission bits and
// owner; a symbolic link is followed and the file it points to replaced; a device or a pipe is
// written in place. So is an existing file that we may write in a folder that refuses us a new
// file (no rights to it: a shared web folder, say); a failed write leaves that file cut short.
void WriteStreamed(const std::string& path, const std::function<void(ByteSink&)>& produce);

// Replaces the file at `path` with exactly `text`, as WriteStreamed.
void WriteText(const std::string& path, std::string_view text);

// Writes every line followed by CR LF (an empty list gives an empty file), as WriteText.
void WriteLines(const std::string& path, const LineList& lines);

}  // namespace tolvane
