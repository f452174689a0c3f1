#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/imaging/gif_builder.h"
#include "tests/imaging/png_builder.h"
#include "layout/cached_image.h"
#include "layout/image_obj.h"
#include "layout/placeholder_images.h"
#include "platform/message_loop.h"
#include "platform/test_canvas.h"
#include "tag_reader_support.h"

namespace tessival::layout::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ThreeFrameGif() {
  std::vector<imaging::test::GifFrameSpec> frames;
  for (int i = 0; i < 3; ++i) {
    imaging::test::GifFrameSpec frame = imaging::test::Solid(0, 0, 4, 4, static_cast<std::uint8_t>(i));
    frame.delay = 10;
    frames.push_back(frame);
  }
  return imaging::test::MakeGif(4, 4, {0xFF0000, 0x00FF00, 0x0000FF}, frames);
}

// A document read with images shown, its pictures coming from the host.
class ImageDocumentTest : public TagReaderTest {
 protected:
  // Every SRC is a 200 x 100 bitmap.
  void HostGivesBitmaps() {
    Host = [](TSectionList& doc) {
      doc.Images.OnBitmapRequest = [](const std::string&, std::unique_ptr<platform::TBitmap>& bitmap,
                                      int&) {
        bitmap = std::make_unique<platform::TBitmap>(200, 100, platform::PixelFormat::pf24bit);
      };
    };
  }
  // Every SRC is the stream; counts the requests.
  void HostGivesStream(platform::TStream* stream) {
    Host = [this, stream](TSectionList& doc) {
      doc.Images.OnImageRequest = [this, stream](const std::string&, platform::TStream*& answer) {
        ++Requests;
        answer = stream;
      };
    };
  }
  void ReadWithImages(std::string_view html, bool showImages = true) {
    MakeDocument();
    Doc->ShowImages = showImages;
    if (Host) Host(*Doc);
    // No body margins: the line is the whole width.
    ParseDocument("<body marginwidth=0 marginheight=0>" + std::string(html), *Doc);
  }
  std::vector<TImageObj*> Images() const {
    std::vector<TImageObj*> found;
    for (const TSection* section : TextSections())
      for (const auto& object : section->Objects())
        if (auto* image = dynamic_cast<TImageObj*>(object.get())) found.push_back(image);
    return found;
  }
  void Paint(int width = 400) {
    platform::TestCanvas canvas(width, 600);
    Doc->Paint(canvas, platform::Rect{0, 0, width, 600}, 0);
  }
  std::unique_ptr<html::TUrlTarget> LinkAt(int x, int y) {
    platform::TestCanvas canvas(400, 600);
    std::string title;
    TFormControlObj* control = nullptr;
    std::unique_ptr<html::TUrlTarget> target;
    Doc->FindLink(canvas, x, title, control, target, y);
    return target;
  }

  std::function<void(TSectionList&)> Host;
  int Requests = 0;
};

TEST_F(ImageDocumentTest, SizeFollowsTheGivenSidesAndThePicturesShape) {
  HostGivesBitmaps();
  ReadWithImages(
      R"(<img src=a height=50><img src=b width=50><img src=c><img src=d width=10 height=20>)");
  LayOut();
  const auto images = Images();
  ASSERT_EQ(images.size(), 4u);
  const std::pair<int, int> expected[] = {{100, 50}, {50, 25}, {200, 100}, {10, 20}};
  for (std::size_t i = 0; i < images.size(); ++i) {
    EXPECT_EQ(images[i]->ObjWidth, expected[i].first) << i;
    EXPECT_EQ(images[i]->ObjHeight, expected[i].second) << i;
    EXPECT_EQ(images[i]->State(), TImageState::kPicture);
  }
}

TEST_F(ImageDocumentTest, PercentWidthIsAShareOfTheLineAtEveryLayout) {
  HostGivesBitmaps();
  ReadWithImages(R"(<img src=a width="50%">)");
  LayOut(400);
  TImageObj& image = *Images().at(0);
  EXPECT_EQ(image.ObjWidth, 200);
  EXPECT_EQ(image.ObjHeight, 100);
  LayOut(600);
  EXPECT_EQ(image.ObjWidth, 300);
  EXPECT_EQ(image.ObjHeight, 150);
}

TEST_F(ImageDocumentTest, PicturesInLinksGetABorderUnlessBorderIsZero) {
  HostGivesBitmaps();
  ReadWithImages(R"(<a href=x.htm><img src=a><img src=b border=0></a><img src=c>)");
  LayOut();
  const auto images = Images();
  ASSERT_EQ(images.size(), 3u);
  EXPECT_TRUE(images[0]->HasLinkBorder);
  EXPECT_EQ(images[0]->TotalWidth, 202);
  EXPECT_EQ(images[0]->TotalHeight, 102);
  EXPECT_FALSE(images[1]->HasLinkBorder);
  EXPECT_EQ(images[1]->TotalWidth, 200);
  EXPECT_FALSE(images[2]->HasLinkBorder);
  // The border is painted in the link colour: the picture's own pixels start inside it.
  Paint();
  auto link = LinkAt(images[0]->DrawX + 5, images[0]->DrawY + 5);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->Url(), "x.htm");
}

TEST_F(ImageDocumentTest, AnAnimatedGifUsedTwiceIsDecodedOnceAndAnimatesTwice) {
  const Bytes gif = ThreeFrameGif();
  platform::TMemoryStream stream;
  stream.Write(gif.data(), gif.size());
  HostGivesStream(&stream);
  ReadWithImages(R"(<img src=anim.gif> <img src=ANIM.GIF>)");
  LayOut();
  const auto images = Images();
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(Requests, 1);
  EXPECT_EQ(Doc->Images.Decodes, 1);
  EXPECT_TRUE(Doc->GetDocumentImage("anim.gif", 0).FromCache);
  ASSERT_NE(images[0]->Animation(), nullptr);
  ASSERT_NE(images[1]->Animation(), nullptr);
  EXPECT_NE(images[0]->Animation(), images[1]->Animation());
  EXPECT_EQ(Doc->AnimationList.size(), 2u);
  images[0]->Animation()->SetCurrentFrame(3);
  EXPECT_EQ(images[1]->Animation()->CurrentFrame(), 1);
}

TEST_F(ImageDocumentTest, TheAnimationTimerMovesAnimatedPicturesOnAndAsksForARepaint) {
  const Bytes gif = ThreeFrameGif();
  platform::TMemoryStream stream;
  stream.Write(gif.data(), gif.size());
  HostGivesStream(&stream);
  ReadWithImages(R"(<img src=anim.gif>)");
  int repaints = 0;
  Doc->OnInvalidate = [&] { ++repaints; };
  LayOut();
  const TImageObj& image = *Images().at(0);
  // The timer runs on this thread's message loop; waiting sleeps until it is due.
  for (int ticks = 0; ticks < 100 && image.Animation()->CurrentFrame() == 1; ++ticks)
    platform::MessageLoop::ForThisThread().RunOnce();
  EXPECT_GT(image.Animation()->CurrentFrame(), 1);
  EXPECT_GT(repaints, 0);
  Doc->Clear();  // the timer goes with the document's pictures
}

TEST_F(ImageDocumentTest, AnActiveThreeFrameGifShowsFrameThreeWhilePressed) {
  const Bytes gif = ThreeFrameGif();
  platform::TMemoryStream stream;
  stream.Write(gif.data(), gif.size());
  HostGivesStream(&stream);
  ReadWithImages(R"(<img src=anim.gif width=40 height=40 active>)");
  LayOut();
  Paint();
  TImageObj& image = *Images().at(0);
  EXPECT_TRUE(Doc->AnimationList.empty());  // stopped: it changes only under the mouse
  EXPECT_FALSE(image.Animation()->Animate());
  LinkAt(image.DrawX + 10, image.DrawY + 10);
  EXPECT_EQ(Doc->ActiveImage, &image);
  EXPECT_EQ(image.Animation()->CurrentFrame(), 2);
  Doc->SetActiveImageState(true);
  EXPECT_EQ(image.Animation()->CurrentFrame(), 3);
  Doc->SetActiveImageState(false);
  EXPECT_EQ(image.Animation()->CurrentFrame(), 2);
  Doc->ClearHover();
  EXPECT_EQ(image.Animation()->CurrentFrame(), 1);
}

TEST_F(ImageDocumentTest, APictureStillComingIsDelayedUntilItsDataArrives) {
  HostGivesStream(&DeferredImageStream());
  ReadWithImages(R"(<img src=later.png> and <img src=later.png width=30 height=20>)");
  LayOut();
  const auto images = Images();
  ASSERT_EQ(images.size(), 2u);
  EXPECT_EQ(images[0]->State(), TImageState::kDelayed);
  EXPECT_EQ(images[1]->State(), TImageState::kDelayed);
  EXPECT_EQ(Requests, 1);  // the second waits on the first's request
  EXPECT_EQ(Doc->Images.Cache().Count(), 0);

  const Bytes png = imaging::test::MakePng(imaging::test::Pattern(8, 6, 8, 2), false, 0);
  platform::TMemoryStream data;
  data.Write(png.data(), png.size());
  EXPECT_TRUE(Doc->InsertImage("later.png", data));
  EXPECT_EQ(images[0]->State(), TImageState::kPicture);
  EXPECT_EQ(images[1]->State(), TImageState::kPicture);
  LayOut();
  EXPECT_EQ(images[0]->ObjWidth, 8);
  EXPECT_EQ(images[1]->ObjWidth, 30);
  EXPECT_FALSE(Doc->InsertImage("later.png", data));  // nobody waits any more
}

TEST_F(ImageDocumentTest, WithImagesOffEveryImageIsTheDelayedPlaceholder) {
  HostGivesBitmaps();
  ReadWithImages(R"(<img src=a><img src=b alt="Ein Bild"><img src=c width=40 height=30 alt="x">)",
                 false);
  LayOut();
  const auto images = Images();
  ASSERT_EQ(images.size(), 3u);
  for (const TImageObj* image : images) EXPECT_EQ(image->State(), TImageState::kNotLoaded);
  EXPECT_EQ(images[0]->ObjWidth, PlaceholderSize);
  EXPECT_EQ(images[0]->ObjHeight, PlaceholderSize);
  // Room for the icon and the ALT text in 8-point Arial (11 pixels: 6 per character here).
  EXPECT_GE(images[1]->ObjWidth, 24 + 2 + 8 * 5);
  EXPECT_EQ(images[1]->ObjHeight, 24);
  EXPECT_EQ(images[2]->ObjWidth, 40);
  EXPECT_EQ(images[2]->ObjHeight, 30);
  EXPECT_EQ(Doc->Images.Cache().Count(), 0);  // nothing was asked for
}

TEST_F(ImageDocumentTest, AMissingPictureShowsTheErrorPlaceholder) {
  ReadWithImages(R"(<img src="/nowhere/at/all.png" alt="weg">)");
  LayOut();
  const TImageObj& image = *Images().at(0);
  EXPECT_EQ(image.State(), TImageState::kError);
  EXPECT_EQ(image.TransparentMode, 1);
  Paint();  // draws the icon through its mask and the ALT text
}

TEST_F(ImageDocumentTest, ALeftFloatMovesTheLinesBesideItUntilItEnds) {
  HostGivesBitmaps();
  ReadWithImages(R"(<img src=a width=100 height=40 align=left> )"
                 R"(aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll mmmm nnnn oooo pppp)");
  LayOut(300);
  const auto sections = TextSections();
  ASSERT_EQ(sections.size(), 1u);
  const auto& lines = sections[0]->Lines();
  ASSERT_GE(lines.size(), 3u);
  // The float takes 100 + 3 + 3 pixels; the text starts right of it.
  EXPECT_EQ(lines[0].TextOffset, 106);
  EXPECT_EQ(lines.back().TextOffset, 0);  // below the picture (40 high; lines are 16)
  EXPECT_EQ(Images()[0]->FloatX, 3);
  // The space after the float is gone: the first line starts with the text.
  EXPECT_EQ(sections[0]->Text()[lines[0].Start + 1], 'a');
  Paint(300);
}

TEST_F(ImageDocumentTest, InlinePicturesRaiseTheirLine) {
  HostGivesBitmaps();
  ReadWithImages(R"(x<img src=a width=10 height=50>y)");
  LayOut();
  const auto& line = TextSections().at(0)->Lines().at(0);
  // Bottom-aligned: the picture stands on the baseline (16-pixel font, descent 4).
  EXPECT_EQ(line.SpaceBefore, 50 + 4 - 16);
  EXPECT_EQ(line.LineBottom, 54);
}

TEST_F(ImageDocumentTest, APointBesideAPictureFindsTheCharacterThere) {
  HostGivesBitmaps();
  ReadWithImages(R"(ab<img src=a width=60 height=10>cd)");
  LayOut();
  Paint();
  const TSection& section = *TextSections().at(0);
  platform::TestCanvas canvas(400, 600);
  int y = 0;
  int beforePicture = 0;
  int afterPicture = 0;
  ASSERT_TRUE(Doc->PointOfPosition(&canvas, section.StartPos + 2, y, beforePicture));
  ASSERT_TRUE(Doc->PointOfPosition(&canvas, section.StartPos + 3, y, afterPicture));
  ASSERT_GE(afterPicture - beforePicture, 60);
  const auto positionAt = [&](int x, int& charX) {
    bool inside = false;
    int height = 0;
    int top = 0;
    return Doc->PositionAtPoint(canvas, x, y + 2, inside, height, top, charX);
  };
  int charX = 0;
  // Just past the picture: the position after it, where "c" starts.
  EXPECT_EQ(positionAt(afterPicture + 1, charX), section.StartPos + 3);
  EXPECT_EQ(charX, afterPicture);
  // On the picture's left half: the position before it.
  EXPECT_EQ(positionAt(beforePicture + 10, charX), section.StartPos + 2);
  EXPECT_EQ(charX, beforePicture);
}

TEST_F(ImageDocumentTest, ClientSideMapsResolveThePointOnThePicture) {
  HostGivesBitmaps();
  ReadWithImages(R"(<map name="nav"><area href="left.htm" coords="0,0,100,100">)"
                 R"(<area href="right.htm" coords="100,0,200,100"></map><img src=a usemap="#Nav">)");
  LayOut();
  Paint();
  ASSERT_EQ(Doc->MapList.size(), 1u);
  const TImageObj& image = *Images().at(0);
  auto left = LinkAt(image.DrawX + 10, image.DrawY + 10);
  auto right = LinkAt(image.DrawX + 150, image.DrawY + 10);
  ASSERT_NE(left, nullptr);
  ASSERT_NE(right, nullptr);
  EXPECT_EQ(left->Url(), "left.htm");
  EXPECT_EQ(right->Url(), "right.htm");
}

TEST_F(ImageDocumentTest, ServerSideMapsSendThePoint) {
  HostGivesBitmaps();
  ReadWithImages(R"(<a href="/map"><img src=a ismap></a>)");
  LayOut();
  Paint();
  const TImageObj& image = *Images().at(0);
  auto link = LinkAt(image.DrawX + 1 + 7, image.DrawY + 1 + 9);
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->Url(), "/map?7,9");
}

TEST_F(ImageDocumentTest, AMapWithoutItsEndIsDroppedAndTheTextAfterItKept) {
  ReadWithImages(
      R"(<map name=m><area href=a coords=0,0,5,5><b>fett<i>kursiv<u>unterstrichen</u></i></b>)");
  EXPECT_TRUE(Doc->MapList.empty());
  EXPECT_NE(Outline().find("unterstrichen"), std::string::npos);
}

}  // namespace
}  // namespace tessival::layout::testing
