// Text measuring is the layout's hottest call: every chunk of every line is measured
// while lines are broken. Compares the canvas (GetTextExtentPoint32 and
// GetTextExtentExPoint on the Qt canvas) with calling QFontMetrics directly on the same
// text, once with the text already a QString (the bare call) and once with the conversion
// from the engine's bytes that any caller of Qt would need.
#include <benchmark/benchmark.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <string>
#include <vector>

#include "platform/qt/qt_canvas.h"

using namespace tessival::platform;

namespace {

const LogFont kFont{"Times New Roman", 16, 0, 0, 0};

// Pieces as a text section measures them: words, and runs up to a line.
std::vector<std::string> Pieces(bool lines) {
  const std::string text =
      "Die Stra\xdf"
      "enbahn f\xe4hrt \xfc"
      "ber die Br\xfc"
      "cke, w\xe4hrend der Regen auf das "
      "Kopfsteinpflaster f\xe4llt und die Leute unter ihren Schirmen nach Hause eilen. Im "
      "Caf\xe9 am Eck wird der letzte Kuchen verkauft, und der Wirt z\xe4hlt die Kasse.";
  std::vector<std::string> out;
  if (lines) {
    for (std::size_t i = 0; i + 60 <= text.size(); i += 17) out.push_back(text.substr(i, 60));
    return out;
  }
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == ' ') {
      out.push_back(text.substr(start, i - start + (i < text.size())));
      start = i + 1;
    }
  }
  return out;
}

QString ToQString(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void CanvasExtent(benchmark::State& state) {
  TBitmap target(1, 1, PixelFormat::pf32bit);
  QtCanvas canvas(target);
  canvas.SelectFont(kFont);
  const auto pieces = Pieces(state.range(0) != 0);
  for (auto _ : state) {
    for (const std::string& piece : pieces) benchmark::DoNotOptimize(canvas.GetTextExtentPoint32(piece));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pieces.size()));
}

void CanvasExtentEx(benchmark::State& state) {
  TBitmap target(1, 1, PixelFormat::pf32bit);
  QtCanvas canvas(target);
  canvas.SelectFont(kFont);
  const auto pieces = Pieces(state.range(0) != 0);
  std::vector<int> partial(256);
  for (auto _ : state) {
    for (const std::string& piece : pieces) {
      benchmark::DoNotOptimize(canvas.GetTextExtentExPoint(piece, 200, partial));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pieces.size()));
}

void BareQFontMetrics(benchmark::State& state) {
  const QFontMetrics metrics(QtCanvas::QFontFor(kFont));
  std::vector<QString> pieces;
  for (const std::string& piece : Pieces(state.range(0) != 0)) pieces.push_back(ToQString(piece));
  for (auto _ : state) {
    for (const QString& piece : pieces) benchmark::DoNotOptimize(metrics.horizontalAdvance(piece));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pieces.size()));
}

void QFontMetricsWithConversion(benchmark::State& state) {
  const QFontMetrics metrics(QtCanvas::QFontFor(kFont));
  const auto pieces = Pieces(state.range(0) != 0);
  for (auto _ : state) {
    for (const std::string& piece : pieces) {
      benchmark::DoNotOptimize(metrics.horizontalAdvance(ToQString(piece)));
    }
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pieces.size()));
}

}  // namespace

// Argument 0: single words; 1: 60-character runs.
BENCHMARK(CanvasExtent)->Arg(0)->Arg(1);
BENCHMARK(CanvasExtentEx)->Arg(0)->Arg(1);
BENCHMARK(BareQFontMetrics)->Arg(0)->Arg(1);
BENCHMARK(QFontMetricsWithConversion)->Arg(0)->Arg(1);

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
