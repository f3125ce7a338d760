#pragma once

#include <QString>

class QTranslator;

// The program's own texts in one language for everything said from now on.
namespace ProgramLanguage {

// Loads the table into `translator` and installs it once (installing twice
// would stack the same table); returns "RU" or "EN" for the configuration.
QString install(QTranslator &translator, bool russian);

}  // namespace ProgramLanguage
