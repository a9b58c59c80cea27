#include "ui/qt/help_key.h"

#include <QDir>
#include <QShortcut>
#include <QWidget>

#include "resources/qt/qt_text.h"
#include "ui/open_document.h"

namespace taloven {

void AddHelpKey(QWidget* window, Ui& ui, HelpTopic topic) {
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), window);
  help->setObjectName(QStringLiteral("helpKey"));
  QObject::connect(help, &QShortcut::activated, window,
                   [&ui, topic] { OpenHelp(ui, FromQt(QDir::currentPath()), topic); });
}

}  // namespace taloven
