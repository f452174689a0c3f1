// tessival-render as a program: its pictures against the checked-in references, its
// answers to missing files, odd input and documents taller than a picture may be.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct RunResult {
  int ExitCode = -1;
  std::string Output;  // standard output and standard error together
};

RunResult RunRender(const std::string& arguments) {
  const std::string command = std::string(TESSIVAL_RENDER_TOOL) + " " + arguments + " 2>&1";
  RunResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.Output.append(buffer, got);
  const int status = pclose(pipe);
  result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

class RenderToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dir = fs::temp_directory_path() / ("render_tool_test_" + std::to_string(getpid()));
    fs::create_directories(Dir);
  }
  void TearDown() override { fs::remove_all(Dir); }

  std::string Write(const std::string& name, const std::string& bytes) {
    const fs::path path = Dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  std::string Out(const std::string& name) const { return (Dir / name).string(); }

  fs::path Dir;
};

std::string Source(const std::string& relative) {
  return std::string(TESSIVAL_SOURCE_DIR) + "/" + relative;
}

// Pixels whose colour differs by more than a little, as a share of all pixels.
double DifferingShare(const QImage& a, const QImage& b) {
  long differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      if (std::abs(qRed(p) - qRed(q)) > 48 || std::abs(qGreen(p) - qGreen(q)) > 48 ||
          std::abs(qBlue(p) - qBlue(q)) > 48)
        ++differing;
    }
  }
  return static_cast<double>(differing) / (static_cast<double>(a.width()) * a.height());
}

TEST_F(RenderToolTest, PicturesMatchTheReferences) {
  struct Case {
    const char* page;
    int width;
  };
  for (const Case& c : {Case{"german_text", 800}, Case{"german_text", 400}, Case{"fonts_and_links", 500},
                        Case{"blocks_page", 640}, Case{"blocks_page", 400}, Case{"search_results", 800},
                        Case{"search_results", 500}, Case{"tables_page", 500}}) {
    SCOPED_TRACE(std::string(c.page) + " at " + std::to_string(c.width));
    const std::string out = Out("page.png");
    const RunResult run = RunRender(Source("tests/layout/pages/") + c.page + ".html -o " + out +
                                    " --width " + std::to_string(c.width) + " --height 200");
    ASSERT_EQ(run.ExitCode, 0) << run.Output;
    const QImage made(QString::fromStdString(out));
    const QImage reference(QString::fromStdString(Source("tests/tools/data/render/") + c.page + "_" +
                                                  std::to_string(c.width) + ".png"));
    ASSERT_FALSE(reference.isNull());
    ASSERT_EQ(made.size(), reference.size());
    EXPECT_LT(DifferingShare(made, reference), 0.005);
  }
}

TEST_F(RenderToolTest, PicturesAreShownWithImagesAndPlaceholdersWithout) {
  for (const std::string option : {"", " --images"}) {
    SCOPED_TRACE(option);
    const std::string out = Out("images.png");
    const RunResult run = RunRender(Source("tests/layout/pages/images.html") + " -o " + out +
                                    " --width 640 --height 200" + option);
    ASSERT_EQ(run.ExitCode, 0) << run.Output;
    const QImage made(QString::fromStdString(out));
    const QImage reference(QString::fromStdString(Source("tests/tools/data/render/images_640") +
                                                  (option.empty() ? "" : "_shown") + ".png"));
    ASSERT_FALSE(reference.isNull());
    ASSERT_EQ(made.size(), reference.size());
    EXPECT_LT(DifferingShare(made, reference), 0.005);
  }
}

TEST_F(RenderToolTest, TheBackgroundIsTheViewersAndThePictureAtLeastTheAskedSize) {
  const std::string out = Out("empty.png");
  const RunResult run = RunRender(Write("empty.html", "") + " -o " + out + " --width 120 --height 90");
  ASSERT_EQ(run.ExitCode, 0) << run.Output;
  const QImage made(QString::fromStdString(out));
  EXPECT_EQ(made.size(), QSize(120, 90));
  EXPECT_EQ(made.pixel(60, 45) & 0xFFFFFF, 0xFFFEE6u);
}

TEST_F(RenderToolTest, AMissingFileIsReportedWithExitCodeOne) {
  const RunResult run = RunRender(Out("nowhere.html") + " -o " + Out("x.png"));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Output.find("Can't locate file: " + Out("nowhere.html")), std::string::npos);
  EXPECT_FALSE(fs::exists(Out("x.png")));
}

TEST_F(RenderToolTest, AnyBytesGiveAPicture) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 151 + 7) % 256));
  bytes += "<p><b><a href=x><!-- open";
  const RunResult run = RunRender(Write("noise.html", bytes) + " -o " + Out("noise.png"));
  EXPECT_EQ(run.ExitCode, 0) << run.Output;
  EXPECT_FALSE(QImage(QString::fromStdString(Out("noise.png"))).isNull());
}

TEST_F(RenderToolTest, ATallDocumentIsCutAtTheLargestPictureAndSaysSo) {
  std::string page;
  for (int i = 0; i < 2500; ++i) page += "Zeile<br>";
  const RunResult run = RunRender(Write("tall.html", page) + " -o " + Out("tall.png") + " --width 60");
  ASSERT_EQ(run.ExitCode, 0) << run.Output;
  EXPECT_NE(run.Output.find("cut at 60 x 32767"), std::string::npos) << run.Output;
  const QImage made(QString::fromStdString(Out("tall.png")));
  EXPECT_EQ(made.size(), QSize(60, 32767));
}

TEST_F(RenderToolTest, DumpPrintsTheLaidOutSections) {
  const RunResult run = RunRender(Write("d.html", "<h1>Titel</h1><p>Absatz") + " -o " + Out("d.png") +
                                  " --dump");
  ASSERT_EQ(run.ExitCode, 0) << run.Output;
  EXPECT_NE(run.Output.find("Block h1"), std::string::npos) << run.Output;
  EXPECT_NE(run.Output.find("\"Absatz\""), std::string::npos) << run.Output;
}

TEST_F(RenderToolTest, ThePagesCharacterSetIsDetectedOrNamed) {
  const std::string page = Write("u.html",
                                 "<p>Gr\xC3\xBC\xC3\x9F"
                                 "e \xE2\x82\xAC");
  const RunResult detected = RunRender(page + " -o " + Out("u.png") + " --dump");
  ASSERT_EQ(detected.ExitCode, 0) << detected.Output;
  // The dump writes bytes above 127 as escapes.
  EXPECT_NE(detected.Output.find(R"("Gr\xFC\xDFe \x80")"), std::string::npos) << detected.Output;
  const RunResult named = RunRender(page + " -o " + Out("u.png") + " --dump --charset Windows-1252");
  ASSERT_EQ(named.ExitCode, 0) << named.Output;
  EXPECT_NE(named.Output.find(R"("Gr\xC3\xBC\xC3\x9Fe \xE2\x82\xAC")"), std::string::npos)
      << named.Output;
  const RunResult unknown = RunRender(page + " -o " + Out("u.png") + " --charset klingon");
  EXPECT_EQ(unknown.ExitCode, 2);
  EXPECT_NE(unknown.Output.find("unknown character set klingon"), std::string::npos) << unknown.Output;
}

TEST_F(RenderToolTest, HelpAndBadCommandLines) {
  const RunResult help = RunRender("--help");
  EXPECT_EQ(help.ExitCode, 0);
  EXPECT_NE(help.Output.find("usage: tessival-render"), std::string::npos);
  EXPECT_EQ(RunRender("a.html").ExitCode, 2);
  EXPECT_EQ(RunRender("a.html -o b.png --width 0").ExitCode, 2);
}

}  // namespace
