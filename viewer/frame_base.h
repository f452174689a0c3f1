#pragma once
// TFrameBase: the panel every piece of a frame set tree is made of, a leaf frame or a
// nested set. It knows its master set and the set that holds it.
#include <QFrame>

namespace tessival::viewer {

class TFrameSet;
class TSubFrameSet;

class TFrameBase : public QFrame {
  Q_OBJECT
 public:
  TFrameBase(TFrameSet* master, TSubFrameSet* parent_set, QWidget* parent);

  TFrameSet* MasterSet() const { return master_; }
  TSubFrameSet* ParentSet() const { return parent_set_; }
  // A fixed piece keeps the boundaries on both its sides from being dragged.
  virtual bool IsFixed() const = 0;
  // Loads the documents of the piece and everything inside it.
  virtual void LoadFiles() = 0;
  // Empties every viewer inside, keeping each one's place on the page and its forms'
  // contents for ReloadFiles.
  virtual void UnloadFiles() = 0;
  // Loads the documents shown again; a viewer keeps its place on the page and, after an
  // unload, what was typed into its forms.
  virtual void ReloadFiles() = 0;
  // Shows a lowered bevel of `width` pixels, or none for 0.
  void SetBevel(int width);

 protected:
  void SetMasterSet(TFrameSet* master) { master_ = master; }

 private:
  TFrameSet* master_;
  TSubFrameSet* parent_set_;
};

}  // namespace tessival::viewer
