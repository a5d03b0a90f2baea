#pragma once
// The requirements a command evaluates with: the file named on the command line, else the window
// program's requirements file beside its GRX1.ini when there is one.
#include "control/Requirements.h"
#include "platform/TextPair.h"

#include <QString>

#include <optional>

namespace grx {

// Reads the setup into `setup`. The error line when the named file is missing, or either file is
// refused (the file's name and why). configFolder: where the window program's GRX1.ini lives;
// empty: as the program finds it. `readFile`, when given, gets the name of the file read (without
// its folder), empty when none was.
std::optional<QString> readCliRequirements(const QString& named, const QString& configFolder, Language language,
                                           ControlSetup& setup, QString* readFile = nullptr);

}  // namespace grx
