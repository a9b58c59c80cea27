#include "app/qt/portuguese_locale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace taloven {
namespace {

// Qt's Portuguese texts lack the few words the file dialogs' type column
// shows ("Folder"); these fill that gap and leave every other text to Qt's.
class FileTypeWords : public QTranslator {
 public:
  using QTranslator::QTranslator;
  bool isEmpty() const override { return false; }
  QString translate(const char* context, const char* sourceText, const char*, int) const override {
    if (qstrcmp(context, "QAbstractFileIconProvider") != 0) return QString();
    static const struct {
      const char* english;
      const char* portuguese;
    } kWords[] = {{"Folder", "Pasta"},   {"File", "Arquivo"},         {"%1 File", "Arquivo %1"},
                  {"Drive", "Unidade"},  {"Unknown", "Desconhecido"}, {"Alias", "Atalho"},
                  {"Shortcut", "Atalho"}};
    for (const auto& word : kWords)
      if (qstrcmp(sourceText, word.english) == 0) return QString::fromUtf8(word.portuguese);
    return QString();
  }
};

}  // namespace

bool UseBrazilianPortuguese(QCoreApplication& application) {
  const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  QLocale::setDefault(brazil);
  // Owned by the application, so that they live as long as the texts do.
  QCoreApplication::installTranslator(new FileTypeWords(&application));
  auto* translator = new QTranslator(&application);
  if (!translator->load(brazil, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  return QCoreApplication::installTranslator(translator);
}

void UseBrazilianDatesFromTheStart() {
  if (qEnvironmentVariableIsEmpty("LC_ALL")) qputenv("LC_TIME", "pt_BR.UTF-8");
}

}  // namespace taloven
