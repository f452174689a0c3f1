#pragma once
// TfvFrame: one FRAME of a frame set. It holds either one page viewer or, when its
// document is itself a frame set, one nested set, and loads its source into it.
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "html/attribute_list.h"
#include "layout/section_list.h"
#include "viewer/frame_request.h"
#include "viewer/frame_base.h"

namespace tessival::viewer {

class TPageViewer;
class TSubFrameSet;

// A document a frame showed: its source, where the viewer stood and what its forms held
// when the frame moved on, and when it was recorded, counted across all frames, so that
// Back and Forward can tell which frame changed last.
struct FrameHistoryEntry {
  std::string Source;
  layout::PositionObj Position;
  long long Sequence = 0;
};

// Whether a frame-level load reads a page that is already shown again, and whether it
// goes into the frame's history.
enum class FrameReload { kNo, kYes };
enum class FrameRecord { kNo, kYes };

class TfvFrame : public TFrameBase {
  Q_OBJECT
 public:
  TfvFrame(TFrameSet* master, TSubFrameSet* parent_set, QWidget* parent);
  // Takes NAME, SRC (resolved against `directory` or the document's BASE), NORESIZE,
  // SCROLLING and the margins.
  void ApplyAttributes(const html::TAttributeList& attributes, const std::string& directory);

  // Loads the frame's source: nothing when it has none or sits too deep in frames; the
  // error document when it fails.
  void LoadFiles() override;
  // Shows the picture or text file the frame's source names (`kind` of TDocumentKind).
  void LoadShownFile(int kind);
  // Shows the answer's document, already read as `source` and found to be no frame set.
  void LoadPageAnswer(const FrameRequest& answer, const layout::TFrameSetSource& source);
  void UnloadFiles() override;
  void ReloadFiles() override;
  // A link's document shown in this frame: the viewer is reused for a page and the frame
  // rebuilt for a frame set; the page already shown only moves to the anchor, unless
  // `reload` asks to read it again where it stood. Throws EfvLoadError when the document
  // cannot be read.
  void LoadFrameDocument(const std::string& source, const std::string& anchor,
                         FrameReload reload = FrameReload::kNo, FrameRecord record = FrameRecord::kYes);

  // --- the frame's history (kept only while the frame viewer keeps a history), newest first
  const std::vector<FrameHistoryEntry>& History() const { return history_; }
  int HistoryIndex() const { return history_index_; }
  // Shows the entry at `index` again, where its viewer stood and with its forms' contents.
  void GoToHistory(int index);
  // Forgets the entries newer than the one shown.
  void ClearForwardHistory();
  void ClearHistory();
  // The sequence number of the entry `offset` places older than the one shown (-1 newer).
  long long SequenceAt(int offset) const;
  // The page in this frame asked to be replaced after `seconds`, by `url` (its own source
  // when empty). Only with fvMetaRefresh, and only for a document that exists.
  void StartRefresh(int seconds, const std::string& url);
  bool RefreshPending() const { return refresh_timer_.isActive(); }
  const std::string& RefreshUrl() const { return refresh_url_; }
  bool IsFixed() const override { return no_resize_; }
  int CharSet() const { return char_set_; }

  const std::string& FrameName() const { return frame_name_; }
  const std::string& FrameSource() const { return frame_source_; }
  const std::string& FrameInitialSource() const { return frame_initial_source_; }
  const std::string& FrameAnchor() const { return frame_anchor_; }
  void SetSource(const std::string& source, const std::string& anchor);
  bool NoResize() const { return no_resize_; }
  // MARGINWIDTH and MARGINHEIGHT, else the host's margins: where the frame's page starts.
  int MarginWidth() const { return margin_width_; }
  int MarginHeight() const { return margin_height_; }
  bool NoScroll() const { return no_scroll_; }
  TPageViewer* Viewer() const { return viewer_; }
  TSubFrameSet* FrameSet() const { return frame_set_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Runs `load` unless the frame sits too deep in frames; a failure shows the error document.
  void LoadGuarded(const std::function<void()>& load);
  void LoadDocument(const FrameRequest& answer);
  void ShowPage(const FrameRequest& answer, const layout::TFrameSetSource& source);
  void ShowErrorDocument(const std::string& name);
  TPageViewer& EnsureViewer();
  void DropViewer();
  void DropFrameSet();
  void RefreshTick();
  bool Empty() const { return viewer_ == nullptr && frame_set_ == nullptr; }
  // Loads frame_source_ by its kind: a picture or a text file by its own loader, any other
  // document as the host answers for it.
  void LoadSource();
  // The host's answer for the frame's source; without one, the file it names.
  FrameRequest RequestSource() const;
  std::string UnansweredFile() const;
  void ShowFile(const std::string& file, int kind);
  // Records that the frame now shows `source` at `position`; the entry it left gets
  // `old_position` and, when it named another document, `form_data`.
  void RecordHistory(const std::string& source, int position, int old_position,
                     layout::TFormData form_data);
  void RestorePlace(int position, const layout::TFormData& form_data);
  // Throws EfvLoadError when the frame's source names nothing that can be read.
  void CheckReadable() const;
  // A link or refresh moved the frame from `old_source` to its source: its history, or,
  // for the tree's only viewer, the frame viewer's, records the move.
  void RecordMove(bool reused_viewer, const std::string& old_source, const std::string& old_title,
                  int old_position, layout::TFormData form_data);

  std::string frame_name_;
  std::string frame_source_;
  std::string frame_initial_source_;
  std::string frame_anchor_;
  std::string initial_file_;  // the file the frame-set document's SRC names
  bool no_resize_ = false;
  bool no_scroll_ = false;
  int margin_width_ = 10;
  int margin_height_ = 5;
  int char_set_ = 1;
  TPageViewer* viewer_ = nullptr;      // owned through the widget tree
  TSubFrameSet* frame_set_ = nullptr;  // owned through the widget tree
  QTimer refresh_timer_;
  std::string refresh_url_;
  bool unloaded_ = false;
  int saved_position_ = 0;
  layout::TFormData saved_form_data_;
  std::vector<FrameHistoryEntry> history_;
  int history_index_ = 0;
};

}  // namespace tessival::viewer
