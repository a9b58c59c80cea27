#pragma once

class QCoreApplication;

namespace taloven {

// The program speaks Brazilian Portuguese whatever the machine's language:
// dates, month and day names, and Qt's own buttons and dialogs ("Sim",
// "Salvar como", "Nome do arquivo:"). False when Qt's Portuguese texts are
// not installed; the locale is set all the same.
bool UseBrazilianPortuguese(QCoreApplication& application);

}  // namespace taloven
