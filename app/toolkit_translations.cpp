#include "app/toolkit_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace tessival::app {

std::unique_ptr<QTranslator> InstallToolkitTranslations(const QLocale& locale) {
  if (locale.language() == QLocale::English || locale.language() == QLocale::C) return nullptr;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return nullptr;
  }
  QCoreApplication::installTranslator(translator.get());
  return translator;
}

}  // namespace tessival::app
