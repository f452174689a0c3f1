// Pictures in a shown viewer, judged by what the panel shows: pictures and placeholders,
// animation on the viewer's timer, pictures delivered late, pressed frames of ACTIVE
// images and the tiled page background.
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "tests/imaging/gif_builder.h"
#include "viewer_fixture.h"

namespace tessival::viewer::testing {
namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;

using Bytes = std::vector<std::uint8_t>;

// Frames of one colour each: red, green, blue.
Bytes SolidGif(int frames, int size = 30) {
  std::vector<imaging::test::GifFrameSpec> frame_list;
  for (int i = 0; i < frames; ++i) {
    imaging::test::GifFrameSpec frame = imaging::test::Solid(0, 0, size, size,
                                                             static_cast<std::uint8_t>(i));
    frame.delay = 5;
    frame_list.push_back(frame);
  }
  return imaging::test::MakeGif(size, size, {0xFF0000, 0x00FF00, 0x0000FF, 0x000000}, frame_list);
}

class ViewerImagesTest : public ViewerTest {
 protected:
  // Every SRC is answered with `bytes`, or with "still coming" when empty.
  void Serve(const Bytes& bytes) {
    stream_ = std::make_unique<platform::TMemoryStream>();
    stream_->Write(bytes.data(), bytes.size());
    viewer.OnImageRequest = [this, deferred = bytes.empty()](const std::string& src,
                                                             platform::TStream*& answer) {
      requested.push_back(src);
      if (deferred) {
        answer = &layout::DeferredImageStream();
        return;
      }
      stream_->SetPosition(0);
      answer = stream_.get();
    };
  }

  QImage Shown() {
    PaintNow();
    return Panel().grab().toImage().convertToFormat(QImage::Format_RGB32);
  }

  static int Count(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
    return count;
  }

  // The middle of the pixels of `colour`, or (-1, -1).
  static QPoint Centre(const QImage& image, QRgb colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) == colour) box = box.united(QRect(x, y, 1, 1));
    return box.isNull() ? QPoint(-1, -1) : box.center();
  }

  std::vector<std::string> requested;

 private:
  std::unique_ptr<platform::TMemoryStream> stream_;
};

TEST_F(ViewerImagesTest, APlaceholderStandsInWhileImagesAreOffAndThePictureOnceOn) {
  Serve(SolidGif(1));
  viewer.SetViewImages(false);
  viewer.LoadFromString("<p>Before <img src=red.gif> after");
  EXPECT_EQ(Count(Shown(), kRed), 0);
  EXPECT_TRUE(requested.empty());
  viewer.SetViewImages(true);
  EXPECT_EQ(Count(Shown(), kRed), 30 * 30);
}

TEST_F(ViewerImagesTest, TurningImagesOffAfterALoadBringsThePlaceholdersBackAndOnAgainThePictures) {
  Serve(SolidGif(1, 200));
  viewer.LoadFromString("<p>Before <img src=big.gif alt=\"A big red square\"> after<p>End");
  EXPECT_EQ(Count(Shown(), kRed), 200 * 200);
  const int height_with_picture = viewer.DocHeight();

  viewer.SetViewImages(false);
  const QImage off = Shown();
  EXPECT_EQ(Count(off, kRed), 0);
  EXPECT_GT(Count(off, 0xFF808080), 20);                     // the placeholder's sunken frame
  EXPECT_LT(viewer.DocHeight(), height_with_picture - 150);  // laid out at the placeholder's size

  viewer.SetViewImages(true);
  EXPECT_EQ(Count(Shown(), kRed), 200 * 200);
  EXPECT_EQ(viewer.DocHeight(), height_with_picture);
  EXPECT_EQ(requested.size(), 1u);  // found again in the cache, not asked for twice
}

TEST_F(ViewerImagesTest, AGivenSizeOutlivesTurningImagesOffAndOn) {
  Serve(SolidGif(1, 30));
  viewer.LoadFromString("<img src=red.gif width=60 height=40>");
  EXPECT_EQ(Count(Shown(), kRed), 60 * 40);
  const int height = viewer.DocHeight();
  viewer.SetViewImages(false);
  EXPECT_EQ(Count(Shown(), kRed), 0);
  EXPECT_EQ(viewer.DocHeight(), height);
  viewer.SetViewImages(true);
  EXPECT_EQ(Count(Shown(), kRed), 60 * 40);
}

TEST_F(ViewerImagesTest, AnAnimationStopsWhenImagesGoOffAndRunsAgainWhenTheyComeBack) {
  Serve(SolidGif(3));
  viewer.LoadFromString("<img src=anim.gif>");
  EXPECT_TRUE(viewer.AnimationTimerActive());
  viewer.SetViewImages(false);
  EXPECT_FALSE(viewer.AnimationTimerActive());
  EXPECT_FALSE(viewer.Document().HasAnimations());
  viewer.AnimationTick();  // a tick already queued finds nothing to move
  viewer.SetViewImages(true);
  EXPECT_TRUE(viewer.AnimationTimerActive());
  EXPECT_GT(Count(Shown(), kRed), 0);
}

TEST_F(ViewerImagesTest, APictureStillComingWhenImagesGoOffIsAskedForAgainWhenTheyComeBack) {
  Serve({});
  viewer.LoadFromString("<p>Wait <img src=late.gif> here");
  ASSERT_EQ(requested.size(), 1u);
  const Bytes gif = SolidGif(1);
  platform::TMemoryStream data;
  data.Write(gif.data(), gif.size());

  viewer.SetViewImages(false);
  viewer.InsertImage("late.gif", data);  // arrives while images are off: not shown
  EXPECT_EQ(Count(Shown(), kRed), 0);

  viewer.SetViewImages(true);
  EXPECT_EQ(requested.size(), 2u);
  data.SetPosition(0);
  viewer.InsertImage("late.gif", data);
  EXPECT_EQ(Count(Shown(), kRed), 30 * 30);
}

TEST_F(ViewerImagesTest, TheHostIsAskedForTheNameTheViewerExpands) {
  Serve(SolidGif(1));
  viewer.LoadFromFile(DataFile("picture_page.html"));
  ASSERT_EQ(requested.size(), 1u);
  EXPECT_EQ(requested.front(), DataFile("pic.gif"));
  EXPECT_EQ(Count(Shown(), kRed), 30 * 30);
}

TEST_F(ViewerImagesTest, AnAnimationRunsOnTheViewersTimerUntilTheDocumentIsCleared) {
  Serve(SolidGif(3));
  viewer.LoadFromString("<img src=anim.gif>");
  EXPECT_GT(Count(Shown(), kRed), 0);
  EXPECT_TRUE(viewer.AnimationTimerActive());
  bool moved = false;
  for (int i = 0; i < 40 && !moved; ++i) {
    QTest::qWait(25);
    const QImage now = Shown();
    moved = Count(now, kGreen) > 0 || Count(now, kBlue) > 0;
  }
  EXPECT_TRUE(moved);
  viewer.Clear();
  EXPECT_FALSE(viewer.AnimationTimerActive());
}

TEST_F(ViewerImagesTest, AnAnimationDoesNotRunWhileImagesAreOff) {
  Serve(SolidGif(3));
  viewer.SetViewImages(false);
  viewer.LoadFromString("<img src=anim.gif>");
  EXPECT_FALSE(viewer.AnimationTimerActive());
}

TEST_F(ViewerImagesTest, ADeferredPictureAppearsOnceTheHostInsertsIt) {
  Serve({});
  viewer.LoadFromString("<p>Wait <img src=late.gif> here");
  EXPECT_EQ(Count(Shown(), kRed), 0);

  const Bytes gif = SolidGif(1);
  platform::TMemoryStream data;
  data.Write(gif.data(), gif.size());
  viewer.InsertImage("late.gif", data);
  EXPECT_EQ(Count(Shown(), kRed), 30 * 30);  // laid out again at the picture's size
}

TEST_F(ViewerImagesTest, TheMouseButtonOverAnActiveImageShowsThePressedFrame) {
  Serve(SolidGif(3));
  viewer.LoadFromString("<img src=button.gif active>");
  const QPoint centre = Centre(Shown(), kRed);
  ASSERT_NE(centre, QPoint(-1, -1));
  Move(centre);
  EXPECT_GT(Count(Shown(), kGreen), 0);  // hover frame
  Press(centre);
  EXPECT_GT(Count(Shown(), kBlue), 0);  // pressed frame
  Release(centre);
  const QImage released = Shown();
  EXPECT_GT(Count(released, kGreen), 0);
  EXPECT_EQ(Count(released, kBlue), 0);
}

TEST_F(ViewerImagesTest, TheDocumentsBackgroundPictureIsTiledBehindThePage) {
  Serve(SolidGif(1, 8));
  viewer.LoadFromString("<body background=tile.gif><p>Text");
  const QImage shown = Shown();
  EXPECT_EQ(shown.pixel(0, shown.height() - 1), kRed);
  EXPECT_EQ(shown.pixel(shown.width() - 1, shown.height() - 1), kRed);

  viewer.SetViewImages(false);
  EXPECT_NE(Shown().pixel(0, shown.height() - 1), kRed);
}

TEST_F(ViewerImagesTest, WithoutAHostThePictureIsReadFromBesideThePage) {
  viewer.LoadFromFile(DataFile("sun_page.html"));
  const QImage shown = Shown();
  EXPECT_GT(Count(shown, qRgb(250, 200, 40)), 100);  // the sun's disc
}

TEST_F(ViewerImagesTest, APictureNamingADeviceOrAPipeIsNotReadAndShowsTheErrorPlaceholder) {
  // Read as files, the device would never end and the pipe never open.
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string pipe = dir.filePath("pipe.gif").toStdString();
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  viewer.LoadFromString("<p><img src=\"/dev/zero\" width=40 height=40><img src=\"" + pipe +
                        "\" width=40 height=40>");
  EXPECT_GT(Count(Shown(), 0xFF808080), 2 * 2 * 38);  // both placeholders' frames
}

}  // namespace
}  // namespace tessival::viewer::testing
