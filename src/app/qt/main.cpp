#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/qt/display_check.h"
#include "app/qt/main_window.h"
#include "app/qt/portuguese_locale.h"
#include "app/qt/qt_ui.h"
#include "app/user_folder.h"
#include "base/version.h"
#include "link/clock.h"
#include "resources/qt/qt_text.h"
#include "ui/app_settings.h"
#include "usb/default_port_factory.h"

int main(int argc, char** argv) {
  bool platformArgument = false, textOnly = false;
  for (int i = 1; i < argc; ++i) {
    platformArgument = platformArgument || std::strcmp(argv[i], "-platform") == 0;
    for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"})
      textOnly = textOnly || std::strcmp(argv[i], option) == 0;
  }
  // The help and the version are printed, not shown: no screen needed.
  if (textOnly && !platformArgument) qputenv("QT_QPA_PLATFORM", "offscreen");
  const std::string missing = taloven::MissingDisplayMessage(
      [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
      },
      platformArgument);
  if (!missing.empty()) {
    std::fputs(missing.c_str(), stderr);
    return 1;
  }
  taloven::UseBrazilianDatesFromTheStart();
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Taloven"));
  QApplication::setApplicationVersion(QString::fromLatin1(taloven::ProgramVersion()));
  if (!taloven::UseBrazilianPortuguese(app)) {
    qWarning("Textos do Qt em português não encontrados (pacote qt6-translations-l10n).");
  }

  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(
      "Teste, diagnóstico e programação de impressoras fiscais.\n"
      "Os arquivos de dados (comandos.xml, help/) são lidos do diretório atual."));
  parser.addHelpOption();
  parser.addVersionOption();
  QCommandLineOption port(QStringLiteral("port"),
                          QString::fromUtf8("Porta da impressora: COM1: a COM8:, USB, FILE, o "
                                            "caminho de um dispositivo serial, tcp://HOST:PORTA "
                                            "ou rfc2217://HOST:PORTA."),
                          QStringLiteral("NAME"));
  parser.addOption(port);
  QCommandLineOption userFolder(
      QStringLiteral("user-folder"),
      QString::fromUtf8("Trabalha na pasta Taloven do usuário (~/Taloven), criada na primeira vez "
                        "com o catálogo de exemplo, a ajuda e a pasta usb."));
  parser.addOption(userFolder);
  parser.process(app);

  if (parser.isSet(userFolder)) {
    if (const taloven::Status entered = taloven::EnterUserFolder(); !entered.ok()) {
      QMessageBox::critical(nullptr, QStringLiteral("Taloven"), taloven::ToQt(entered.message()));
      return 1;
    }
  }

  taloven::AppSettings settings;
  if (parser.isSet(port)) settings.portName = taloven::FromQt(parser.value(port));

  taloven::QtUi ui;
  taloven::DefaultPortFactory ports;
  taloven::MainWindow window(settings, ui, ports, taloven::RealClock());
  ui.SetParent(&window);
  window.Start();
  return app.exec();
}
