#pragma once
// The program's own texts in the edition's language: our translation (tomtura_<language>.qm
// beside the board file) and Qt's, so that the standard buttons and file dialogs match it.
#include <QString>

namespace tomtura {

// Installs the translators for `language` ("sv", ...), replacing those of an earlier call.
// English is the language of the source texts: "en" (or an empty language) installs none.
// A missing file leaves its texts untranslated.
void InstallTranslations(const QString& language, const QString& dataDirectory);

}  // namespace tomtura
