#include "output_file.h"

#include <cstring>

#include "call_outcome.h"
#include "kovo_mfd.h"

namespace kovo {

bool OutputFile::Failing(const taloven::Status& status) {
  if (status.ok()) return false;
  if (!broken_) LastOutcome().writeError = status.message();
  broken_ = true;
  return true;
}

bool OutputFile::Open() {
  if (broken_) return false;
  if (!writer_) writer_.emplace(path_);
  return !Failing(writer_->status());
}

bool OutputFile::Write(std::string_view bytes) {
  if (!Open()) return false;
  writer_->Write(bytes);
  return !Failing(writer_->status());
}

void OutputFile::Fail(int systemError) {
  if (!broken_ && systemError != 0) LastOutcome().writeError = std::strerror(systemError);
  broken_ = true;
}

int OutputFile::Finish() {
  if (!Open()) return failed_;
  return Failing(writer_->Commit()) ? failed_ : KOVO_OK;
}

}  // namespace kovo
