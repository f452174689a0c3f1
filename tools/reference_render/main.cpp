// Renders the reference scene to a PNG file.
//   reference_render OUT.png              with the Qt canvas (real fonts)
//   reference_render --test-canvas OUT.png with the deterministic test canvas
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

#include "platform/qt/qt_bitmap.h"
#include "platform/qt/qt_canvas.h"
#include "platform/test_canvas.h"
#include "tools/reference_render/reference_scene.h"

using namespace tessival;

int main(int argc, char** argv) {
  const bool test_canvas = argc == 3 && std::strcmp(argv[1], "--test-canvas") == 0;
  if (argc != 2 && !test_canvas) {
    std::fprintf(stderr, "usage: reference_render [--test-canvas] OUT.png\n");
    return 2;
  }
  const char* out = argv[argc - 1];
  QGuiApplication app(argc, argv);
  platform::TBitmap target(tools::ReferenceSceneWidth, tools::ReferenceSceneHeight,
                           platform::PixelFormat::pf32bit);
  if (test_canvas) {
    platform::TestCanvas canvas(target);
    tools::DrawReferenceScene(canvas);
  } else {
    platform::QtCanvas canvas(target);
    tools::DrawReferenceScene(canvas);
  }
  if (!platform::ToQImage(target).save(QString::fromLocal8Bit(out), "PNG")) {
    std::fprintf(stderr, "reference_render: cannot write %s\n", out);
    return 1;
  }
  return 0;
}
