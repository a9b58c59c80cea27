#include "app/qt/portuguese_locale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace taloven {

bool UseBrazilianPortuguese(QCoreApplication& application) {
  const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  QLocale::setDefault(brazil);
  // Owned by the application, so that it lives as long as the texts do.
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
