#pragma once

class QCoreApplication;

namespace taloven {

// The program speaks Brazilian Portuguese whatever the machine's language:
// dates, month and day names, and Qt's own buttons and dialogs ("Sim",
// "Salvar como", "Nome do arquivo:"). False when Qt's Portuguese texts are
// not installed; the locale is set all the same.
bool UseBrazilianPortuguese(QCoreApplication& application);

// Called before the application is made: Qt's file lists date their files
// by the time locale the environment names when the program starts. Only the
// time locale changes (numbers keep theirs), and not over a LC_ALL the user
// set.
void UseBrazilianDatesFromTheStart();

}  // namespace taloven
