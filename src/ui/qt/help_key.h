#pragma once

#include "ui/help_topics.h"

class QWidget;

namespace taloven {

class Ui;

// F1 in window opens the help file of the working directory (the program's
// current directory) at the topic's page.
void AddHelpKey(QWidget* window, Ui& ui, HelpTopic topic);

}  // namespace taloven
