// tessival-render: an HTML file laid out and painted as the viewer would, into a PNG file.
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "html/page_file.h"
#include "html/url_helpers.h"
#include "layout/layout_dump.h"
#include "layout/section_list.h"
#include "layout/tiled_picture.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_screen_fonts.h"
#include "reader/tag_reader.h"
#include "tools/render/png_band_writer.h"
#include "tools/render/render_controls.h"
#include "tools/render/render_options.h"

using namespace tessival;

namespace {

// The viewer's defaults in the main window.
constexpr platform::TColor ViewerBackground = 0xE6FEFF;
// The largest picture side; a larger document is cut there.
constexpr int MaxPictureSide = 32767;
// Rows painted at a time.
constexpr int BandHeight = 256;

// Without a display the tool still runs, on Qt's offscreen platform.
void ChooseQtPlatform() {
  if (std::getenv("QT_QPA_PLATFORM")) return;
  if (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY")) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

struct LaidOut {
  int Height = 0;
  int MaxWidth = 0;
};

LaidOut LayOut(layout::TSectionList& doc, const tools::RenderOptions& options) {
  QImage scratch(1, 1, QImage::Format_RGB32);
  platform::QtCanvas canvas(scratch);
  LaidOut result;
  int pos = 0;
  result.Height = doc.Layout(canvas, 0, pos, result.MaxWidth, options.Height, options.Width);
  return result;
}

// The document's background picture, tiled from the document's top-left corner.
void TileBackground(layout::TSectionList& doc, platform::Canvas& canvas, int width, int top, int rows) {
  const platform::TBitmap* mask = nullptr;
  const platform::TBitmap* tile = doc.GetBackgroundBitmap(&mask);
  if (!tile || tile->Empty()) return;
  layout::PaintTiles(canvas, {0, 0, width, rows}, *tile, mask, layout::TTileGrid{0, -top});
}

// Picture names relative to the page are found beside the page's file.
std::string ExpandBesideInput(const std::string& input, const std::string& src) {
  std::string name = html::UrlToFileName(src);
  if (name.empty() || name.front() == '/') return name;
  const std::size_t slash = input.find_last_of('/');
  return slash == std::string::npos ? name : input.substr(0, slash + 1) + name;
}

bool PaintInBands(layout::TSectionList& doc, const tools::RenderedControls& controls,
                  const std::string& path, int width, int height) {
  tools::PngBandWriter writer(path, width, height);
  if (!writer.Ok()) return false;
  const platform::TColor bg = doc.Background;
  const QColor fill(static_cast<int>(bg & 0xFF), static_cast<int>((bg >> 8) & 0xFF),
                    static_cast<int>((bg >> 16) & 0xFF));
  QImage band(width, BandHeight, QImage::Format_RGB32);
  for (int top = 0; top < height; top += BandHeight) {
    const int rows = std::min(BandHeight, height - top);
    band.fill(fill);
    {
      platform::QtCanvas canvas(band);
      TileBackground(doc, canvas, width, top, rows);
      doc.SetYOffset(top);
      doc.Paint(canvas, platform::Rect{0, 0, width, rows}, 0);
    }
    controls.DrawInto(band);
    for (int y = 0; y < rows; ++y) {
      writer.AddRow(reinterpret_cast<const std::uint32_t*>(band.constScanLine(y)));
    }
  }
  return writer.Finish();
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const std::optional<tools::RenderOptions> options = tools::ParseRenderOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "tessival-render: %s\n%s", error.c_str(), tools::RenderUsage);
    return 2;
  }
  if (options->Help) {
    std::fputs(tools::RenderUsage, stdout);
    return 0;
  }
  std::optional<html::PageCharset> forced;
  if (!options->Charset.empty()) {
    forced = html::PageCharsetOfLabel(options->Charset);
    if (!forced) {
      std::fprintf(stderr, "tessival-render: unknown character set %s\n", options->Charset.c_str());
      return 2;
    }
  }
  // The page as the viewer is given it: in the engine's character set.
  std::optional<html::PageText> page = html::LoadPageText(options->Input, forced);
  if (!page) {
    std::fprintf(stderr, "Can't locate file: %s\n", options->Input.c_str());
    return 1;
  }

  ChooseQtPlatform();
  QApplication app(argc, argv);
  platform::InstallQtScreenFonts();

  layout::TSectionList doc;
  const tools::RenderedControls controls(doc);
  doc.SetFonts(html::TStyleDefaults{}, ViewerBackground, false);
  doc.ShowImages = options->Images;
  doc.Images.OnExpandName = [input = options->Input](const std::string& src) {
    return ExpandBesideInput(input, src);
  };
  layout::TReaderSettings settings;
  settings.TextConverted = page->Converted();
  layout::ParseDocument(page->text, doc, settings);
  page.reset();  // the document holds what it shows, as in the viewer
  const LaidOut laid_out = LayOut(doc, *options);
  if (options->Dump) {
    // The canvas measures where inline pictures stand in their lines.
    QImage scratch(1, 1, QImage::Format_RGB32);
    platform::QtCanvas canvas(scratch);
    std::fputs(layout::DumpLayout(doc, &canvas).c_str(), stdout);
  }

  const int wanted_width = std::max(options->Width, laid_out.MaxWidth);
  const int wanted_height = std::max(options->Height, laid_out.Height);
  const int width = std::min(wanted_width, MaxPictureSide);
  const int height = std::min(wanted_height, MaxPictureSide);
  if (width != wanted_width || height != wanted_height) {
    std::fprintf(stderr,
                 "tessival-render: the document is %d x %d pixels; the picture is cut at %d x %d\n",
                 wanted_width, wanted_height, width, height);
  }
  if (!PaintInBands(doc, controls, options->Output, width, height)) {
    std::fprintf(stderr, "tessival-render: cannot write %s\n", options->Output.c_str());
    return 1;
  }
  return 0;
}
