#include "platform/qt/qt_screen_fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <tuple>

#include "platform/screen_fonts.h"

namespace tessival::platform {

namespace {

int MeasureEm(const std::string& name, int pixel_size, bool bold, bool italic) {
  QFont font(QString::fromLatin1(name.c_str()));
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  font.setItalic(italic);
  const QFontMetrics metrics(font);
  // Cell height minus internal leading is the em: the pixel size the font was asked for
  // unless the font could not honour it.
  return std::min(metrics.height(), font.pixelSize());
}

ScreenFontMetrics MeasureWithQt(const ScreenFontRequest& request) {
  // Every element of a page asks for its parent's font, and a page uses a handful of
  // fonts: each is measured once (asking the font system costs far more than the lookup).
  using Key = std::tuple<std::string, int, bool, bool>;
  static std::mutex lock;
  static auto* const measured = new std::map<Key, int>;  // kept to the end, like the fonts
  const int pixel_size = std::max(1, request.size_pt * ScreenPixelsPerInch() / 72);
  Key key{request.name, pixel_size, request.bold, request.italic};
  const std::lock_guard<std::mutex> hold(lock);
  auto found = measured->find(key);
  if (found == measured->end()) {
    found = measured
                ->emplace(std::move(key),
                          MeasureEm(request.name, pixel_size, request.bold, request.italic))
                .first;
  }
  return {found->second, request.charset};
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
