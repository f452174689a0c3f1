#include "platform/qt/qt_screen_fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

#include "platform/screen_fonts.h"

namespace tessival::platform {

namespace {

ScreenFontMetrics MeasureWithQt(const ScreenFontRequest& request) {
  QFont font(QString::fromLatin1(request.name.c_str()));
  font.setPixelSize(std::max(1, request.size_pt * ScreenPixelsPerInch() / 72));
  font.setBold(request.bold);
  font.setItalic(request.italic);
  const QFontMetrics metrics(font);
  // Cell height minus internal leading is the em: the pixel size the font was asked for
  // unless the font could not honour it.
  const int em = std::min(metrics.height(), font.pixelSize());
  return {em, request.charset};
}

}  // namespace

void InstallQtScreenFonts() {
  std::vector<std::string> families;
  for (const QString& family : QFontDatabase::families()) families.push_back(family.toStdString());
  // The classic names resolve through the desktop's font aliases to metric-compatible
  // faces, so they count as installed even though no family carries them literally.
  for (const std::string& alias : InstalledScreenFonts()) families.push_back(alias);
  SetInstalledScreenFonts(std::move(families));
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    SetScreenPixelsPerInch(static_cast<int>(std::lround(screen->logicalDotsPerInch())));
  }
  SetScreenFontMeasurer(&MeasureWithQt);
}

}  // namespace tessival::platform
