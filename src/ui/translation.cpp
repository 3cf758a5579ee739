#include "ui/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>
#include <vector>

namespace tomtura {
namespace {

// The standard buttons of message boxes and file dialogs, which Qt names in the context of its
// platform theme, and a caption of the file dialog: Qt's translations lack them for some
// languages (Swedish among them), so ours carry them too.
[[maybe_unused]] constexpr const char* kQtTexts[] = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"),    QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes"),  QT_TRANSLATE_NOOP("QPlatformTheme", "&No"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Open"),  QT_TRANSLATE_NOOP("QPlatformTheme", "Save"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Close"), QT_TRANSLATE_NOOP("QFileDialog", "Look in:"),
};

// The translators in use; the application only borrows them, so they live here until replaced.
std::vector<std::unique_ptr<QTranslator>>& Installed() {
  static std::vector<std::unique_ptr<QTranslator>> translators;
  return translators;
}

void Install(const QString& file, const QString& directory) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(file, directory)) return;
  QCoreApplication::installTranslator(translator.get());
  Installed().push_back(std::move(translator));
}

}  // namespace

void InstallTranslations(const QString& language, const QString& dataDirectory) {
  for (const std::unique_ptr<QTranslator>& translator : Installed()) {
    QCoreApplication::removeTranslator(translator.get());
  }
  Installed().clear();
  if (language.isEmpty() || language == QLatin1String("en")) return;

  // Qt's own texts: the whole set where it is installed as one file, else the base module's.
  const QString qtDirectory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  const QString qtAll = QStringLiteral("qt_") + language;
  if (QDir(qtDirectory).exists(qtAll + QStringLiteral(".qm"))) Install(qtAll, qtDirectory);
  Install(QStringLiteral("qtbase_") + language, qtDirectory);
  // Installed last, so ours are asked first.
  Install(QStringLiteral("tomtura_") + language, dataDirectory);
}

}  // namespace tomtura
