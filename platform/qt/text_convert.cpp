#include "platform/qt/text_convert.h"

#include <QList>

#include "platform/code_page_1252.h"

namespace tessival::platform {

QString ToQString(const std::string& cp1252) {
  QString out;
  out.reserve(static_cast<qsizetype>(cp1252.size()));
  for (const char c : cp1252) {
    out += QChar(static_cast<char16_t>(Cp1252ToUnicode(static_cast<std::uint8_t>(c))));
  }
  return out;
}

std::string FromQString(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (const char32_t cp : text.toUcs4()) {
    out += static_cast<char>(UnicodeToCp1252(cp).value_or('?'));
  }
  return out;
}

QString LinesToQString(const std::string& cp1252_crlf) {
  QString text = ToQString(cp1252_crlf);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

std::string LinesFromQString(const QString& text) {
  QString normalised = text;
  normalised.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  normalised.replace(QChar::LineSeparator, QLatin1Char('\n'));
  normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  normalised.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return FromQString(normalised);
}

}  // namespace tessival::platform
