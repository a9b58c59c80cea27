#pragma once

#include <string>

namespace taloven {

class Ui;

// "Arquivo criado com sucesso" with the path and the question whether to
// open it; on Yes the desktop opens it (a failure to start the opener is
// told). Only for a file that is there: OfferToOpenIfCreated checks.
void OfferToOpen(Ui& ui, const std::string& path);

// After a library call that should have written path: the offer when the
// call did not fail and the file exists, else the user is told the file
// was not created.
void OfferToOpenIfCreated(Ui& ui, const std::string& path, bool callFailed);

}  // namespace taloven
