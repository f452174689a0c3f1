#pragma once
// The one crossing between engine text (Windows-1252 bytes, CR LF line breaks) and QString.
#include <QString>
#include <string>

namespace tessival::platform {

QString ToQString(const std::string& cp1252);
// Characters outside the code page become '?'.
std::string FromQString(const QString& text);

// Multi-line text: engine lines end in CR LF, Qt's in LF (or a paragraph separator).
QString LinesToQString(const std::string& cp1252_crlf);
std::string LinesFromQString(const QString& text);

}  // namespace tessival::platform
