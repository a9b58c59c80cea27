#pragma once

#include <string>

#include "ui/help_topics.h"

namespace taloven {

class Ui;

// Opens a file of the working directory (help, catalogue) with the desktop's
// program for it. A missing file or an opener that cannot start is told to
// the user: on this desktop nobody else would say anything. True when opened.
bool OpenDocument(Ui& ui, const std::string& path);

// Opens the working directory's help file at the topic's page, telling the
// user as OpenDocument does when it cannot.
bool OpenHelp(Ui& ui, const std::string& workingDirectory, HelpTopic topic);

}  // namespace taloven
