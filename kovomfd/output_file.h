#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/atomic_file.h"

namespace kovo {

// An output file written as it is made, through a temporary file beside it
// that replaces it only when complete (a failed or abandoned call leaves any
// earlier file as it was). The temporary file is made at the first write, so
// that a call that finds nothing to write never touches the folder.
class OutputFile {
 public:
  // failed: the call's result when the file cannot be written.
  OutputFile(const char* path, int failed) : path_(path ? path : ""), failed_(failed) {}

  // false (the reason noted for KovoErroDeGravacao) once anything failed.
  bool Write(std::string_view bytes);
  // Makes the temporary file for another writer to fill by its name.
  bool Open();
  const std::string& TemporaryPath() const { return writer_->TemporaryPath(); }
  // Notes a failure found by another writer (its errno, 0 when unknown).
  void Fail(int systemError);
  // KOVO_OK once the file is in place, else the failed result.
  int Finish();

 private:
  bool Failing(const taloven::Status& status);

  std::string path_;
  int failed_;
  bool broken_ = false;
  std::optional<taloven::AtomicFileWriter> writer_;
};

}  // namespace kovo
