// Going back and forward through a stand-alone viewer's history: each page comes back at
// the place it was left, with what had been typed into its forms.
#include <filesystem>
#include <fstream>

#include "viewer/fv_load_error.h"
#include "viewer_fixture.h"

namespace tessival::viewer::testing {
namespace {

class ViewerBackForwardTest : public ViewerTest {
 protected:
  void SetUp() override {
    // One directory per test: the tests may run side by side in separate processes.
    dir_ = std::filesystem::temp_directory_path() /
           ("tessival_back_forward_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(dir_);
    std::string form = "<form><input name=q><input type=checkbox name=c></form>";
    for (int i = 0; i < 100; ++i) form += "<p>Absatz " + std::to_string(i) + "</p>";
    Write("form.html", form);
    Write("other.html", "<title>Andere</title><p>Kurz</p>");
    viewer.SetHistoryMaxCount(10);
    viewer.LoadFromFile(Path("form.html"));
    PaintNow();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).lexically_normal().string(); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(dir_ / name) << text;
  }

  std::filesystem::path dir_;
};

TEST_F(ViewerBackForwardTest, BackAndForwardRestoreThePlaceAndTheFormContents) {
  viewer.SetFormData({{"q=Hallo", "c=on"}});
  viewer.SetVScrollBarPosition(200);
  const int left_at = viewer.VScrollBarPosition();
  viewer.LoadFromFile(Path("other.html"));
  ASSERT_EQ(viewer.History().size(), 2U);
  ASSERT_EQ(viewer.HistoryCursor(), 0);

  int changes = 0;
  viewer.OnHistoryChange = [&] { ++changes; };
  viewer.SetHistoryCursor(1);  // back
  EXPECT_EQ(viewer.DocumentFile(), Path("form.html"));
  EXPECT_EQ(viewer.HistoryCursor(), 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(viewer.VScrollBarPosition(), left_at);
  EXPECT_EQ(viewer.FormData(), (layout::TFormData{{"q=Hallo", "c=on"}}));

  // Changed again, then forward and back: the page shows what it was left with this time.
  viewer.SetFormData({{"q=Welt"}});
  viewer.SetHistoryCursor(0);  // forward
  EXPECT_EQ(viewer.DocumentTitle(), "Andere");
  EXPECT_EQ(viewer.HistoryCursor(), 0);
  viewer.SetHistoryCursor(1);
  EXPECT_EQ(viewer.FormData(), (layout::TFormData{{"q=Welt"}}));
  ASSERT_EQ(viewer.History().size(), 2U) << "stepping records nothing new";

  viewer.SetHistoryCursor(1);
  viewer.SetHistoryCursor(2);
  viewer.SetHistoryCursor(-1);
  EXPECT_EQ(changes, 3) << "the current entry or none at all: ignored";
}

TEST_F(ViewerBackForwardTest, AnEntryWhoseFileIsGoneLeavesPageAndHistoryAsTheyWere) {
  viewer.LoadFromFile(Path("other.html"));
  viewer.SetHistoryCursor(1);
  std::filesystem::remove(dir_ / "other.html");
  EXPECT_THROW(viewer.SetHistoryCursor(0), EfvLoadError);
  EXPECT_EQ(viewer.HistoryCursor(), 1);
  EXPECT_EQ(viewer.DocumentFile(), Path("form.html"));
}

}  // namespace
}  // namespace tessival::viewer::testing
