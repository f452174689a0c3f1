#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "layout/panel_obj.h"
#include "tag_reader_support.h"

namespace tessival::layout::testing {
namespace {

// Panels the host would fill, kept so the test can look at them after the document.
class RecordingFactory final : public platform::PanelWindowFactory {
 public:
  std::unique_ptr<platform::PanelWindow> CreatePanel() override {
    auto panel = std::make_unique<platform::MemoryPanelWindow>();
    Made.push_back(panel.get());
    return panel;
  }
  std::vector<platform::MemoryPanelWindow*> Made;
};

class PanelTest : public TagReaderTest {
 protected:
  // The document's panels call back into this fixture as they go.
  void TearDown() override { Doc.reset(); }
  void ReadPanels(std::string_view html) {
    MakeDocument();
    Doc->PanelHost.Factory = &Factory;
    Doc->PanelHost.OnPanelCreate = [this](const std::string& name, const std::string& type,
                                          const std::string& src, platform::PanelWindow& panel) {
      Created.push_back(name + "|" + type + "|" + src);
      EXPECT_EQ(panel.Left(), -4000);  // parked until it is placed
    };
    Doc->PanelHost.OnPanelDestroy = [this](platform::PanelWindow&) { ++Destroyed; };
    ParseDocument("<body marginwidth=0 marginheight=0>" + std::string(html), *Doc);
  }
  void Paint(int yOffset) {
    platform::TestCanvas canvas(400, 100);
    Doc->SetYOffset(yOffset);
    Doc->Paint(canvas, platform::Rect{0, 0, 400, 100}, 0);
  }

  RecordingFactory Factory;
  std::vector<std::string> Created;
  int Destroyed = 0;
};

TEST_F(PanelTest, APanelIsCreatedForTheHostSizedByTheLineAndPlacedWhenPainted) {
  ReadPanels(R"(text <panel name=board type=chart src=data.txt width="50%" ratio=0.5> more)");
  ASSERT_EQ(Created, std::vector<std::string>{"board|chart|data.txt"});
  ASSERT_EQ(Factory.Made.size(), 1u);
  platform::MemoryPanelWindow& window = *Factory.Made[0];
  EXPECT_EQ(window.Name(), "board");
  LayOut(400);
  EXPECT_EQ(window.Width(), 200);
  EXPECT_EQ(window.Height(), 100);
  Paint(0);
  EXPECT_TRUE(window.Visible());
  EXPECT_EQ(window.Left(), 5 * 8 + 3);  // after "text " and the panel's own space
  EXPECT_EQ(window.Top(), 0);
  LayOut(200);
  EXPECT_EQ(window.Width(), 100);
  EXPECT_EQ(window.Height(), 50);
}

TEST_F(PanelTest, APanelThatScrolledOutIsHidden) {
  ReadPanels(R"(<panel width=40 height=30><p>a<p>b<p>c<p>d<p>e<p>f<p>g<p>h<p>i)");
  LayOut();
  Paint(0);
  platform::MemoryPanelWindow& window = *Factory.Made.at(0);
  EXPECT_TRUE(window.Visible());
  Paint(300);
  EXPECT_FALSE(window.Visible());
}

TEST_F(PanelTest, RatioThatIsNoNumberIsIgnoredAndTheHostHearsOfTheEnd) {
  ReadPanels(R"(<panel width=40 height=30 ratio=abc><panel width=40 ratio=2>)");
  LayOut();
  ASSERT_EQ(Factory.Made.size(), 2u);
  EXPECT_EQ(Factory.Made[0]->Height(), 30);
  EXPECT_EQ(Factory.Made[1]->Height(), 80);
  EXPECT_EQ(Doc->PanelList.size(), 2u);
  Doc->Clear();
  EXPECT_EQ(Destroyed, 2);
  EXPECT_TRUE(Doc->PanelList.empty());
}

TEST_F(PanelTest, PrintingWithoutTheHostDrawsABoxWithTheAltText) {
  ReadPanels(R"(<panel width=120 height=60 alt="Tafel">)");
  LayOut();
  Doc->Printing = true;
  platform::TestCanvas canvas(400, 100);
  Doc->Paint(canvas, platform::Rect{0, 0, 400, 100}, 0);
  std::string calls;
  for (const std::string& op : canvas.Ops()) calls += op + "\n";
  EXPECT_NE(calls.find("Rectangle"), std::string::npos) << calls;
  EXPECT_NE(calls.find("Tafel"), std::string::npos) << calls;
}

}  // namespace
}  // namespace tessival::layout::testing
