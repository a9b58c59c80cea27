#pragma once

#include <string>

namespace taloven {

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class MessageIcon { None, Information, Exclamation, Error, Question };
enum class MessageAnswer { Ok, Cancel, Yes, No, Retry };

// Questions and messages: what the logic tells the user, and the yes-or-no
// answers it needs.
class MessageUi {
 public:
  virtual ~MessageUi() = default;

  // Message box; the answer is the button pressed. An empty caption shows
  // none.
  virtual MessageAnswer Message(const std::string& text, const std::string& caption,
                                MessageButtons buttons, MessageIcon icon) = 0;

  // The results window with its message and dump texts (modal).
  virtual void ShowResults(const std::string& message, const std::string& dump) = 0;

  // The daily log could not take an exchange's record; the text names the
  // file and the system's reason. The exchange's own result stands.
  virtual void LogWriteFailed(const std::string& text) = 0;
};

}  // namespace taloven
