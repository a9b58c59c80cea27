#pragma once

#include <string>
#include <string_view>

#include "base/status.h"

namespace taloven {

// Replaces the file at path with bytes, or leaves it as it was: the bytes go
// to a temporary file beside it, which is then renamed over it. A file
// written again keeps its permissions. A failure says the system's reason.
Status WriteFileAtomically(const std::string& path, const std::string& bytes);

// The same for an output written as it is made, so that it never has to be
// held whole: the temporary file beside the target takes the bytes, and only
// Commit() puts it in the target's place. Destroyed without a commit (a
// failure, a cancel) it removes the temporary file and the target stays as
// it was.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(const std::string& path);
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Whether the temporary file was made and every write so far succeeded;
  // else the system's reason.
  const Status& status() const { return status_; }
  // Another writer (SQLite) may fill the file by this name instead.
  const std::string& TemporaryPath() const { return temporary_; }
  // Buffered; false once anything failed.
  bool Write(std::string_view bytes);
  // Writes what is buffered, syncs and renames over the target.
  Status Commit();

 private:
  bool Flush();
  void Fail(int code);

  std::string path_, temporary_;
  int fd_ = -1;
  Status status_;
  std::string buffer_;
};

// The user's message for a file not written: "não foi possível gravar PATH
// (reason)", the path as the file system gives it (UTF-8) and the message in
// Windows-1252.
std::string CannotWrite(const std::string& path, const std::string& reason);

}  // namespace taloven
