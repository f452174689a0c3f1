#pragma once
// The toolkit's own texts (the buttons of message boxes, the context menus of text fields)
// in the user's language, so a German user meets no English "Yes/No" or "Copy".
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace tessival::app {

// Installs the toolkit's translations for `locale` into the running application; null when
// the locale is English or no translation is installed. Keep the result while the
// application runs: destroying it removes the translation again.
std::unique_ptr<QTranslator> InstallToolkitTranslations(const QLocale& locale);

}  // namespace tessival::app
