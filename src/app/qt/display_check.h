#pragma once

#include <functional>
#include <string>

namespace taloven {

// Qt aborts the program when it finds no display to open its windows on.
// Empty when the program can show windows: a display is named in the
// environment (X11 or Wayland), or a Qt platform was chosen by hand;
// otherwise the message that says so and how to run without a screen.
std::string MissingDisplayMessage(const std::function<std::string(const char*)>& environment,
                                  bool platformArgument);

}  // namespace taloven
