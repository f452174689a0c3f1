#include "platform/qt/qt_form_controls.h"

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextLayout>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/text_convert.h"

namespace tessival::platform {

namespace {

QWidget* MakeWidget(FormControlKind kind, QWidget* parent) {
  switch (kind) {
    case FormControlKind::kEdit: return new QLineEdit(parent);
    case FormControlKind::kPassword: {
      auto* edit = new QLineEdit(parent);
      edit->setEchoMode(QLineEdit::Password);
      return edit;
    }
    case FormControlKind::kCheckBox: return new QCheckBox(parent);
    case FormControlKind::kRadioButton: {
      // Groups are the form's business: a page's radio buttons of one name may be far apart.
      auto* radio = new QRadioButton(parent);
      radio->setAutoExclusive(false);
      return radio;
    }
    case FormControlKind::kButton: return new QPushButton(parent);
    case FormControlKind::kComboBox: return new QComboBox(parent);
    case FormControlKind::kListBox: return new QListWidget(parent);
    case FormControlKind::kTextArea: return new QPlainTextEdit(parent);
  }
  return new QWidget(parent);
}

// The virtual-key number of the keys the document reacts to; others keep Qt's number.
int VirtualKey(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyReturn;
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Right: return kKeyRight;
    case Qt::Key_Down: return kKeyDown;
    default: return key;
  }
}

}  // namespace

QtFormControl::QtFormControl(FormControlKind kind, QWidget* parent)
    : kind_(kind), widget_(MakeWidget(kind, parent)) {
  widget_->hide();
  widget_->installEventFilter(this);
  if (auto* button = qobject_cast<QAbstractButton*>(widget_.data()))
    connect(button, &QAbstractButton::clicked, this, [this] { Click(); });
  if (auto* combo = qobject_cast<QComboBox*>(widget_.data()))
    connect(combo, qOverload<int>(&QComboBox::activated), this, [this] { Click(); });
  if (auto* list = qobject_cast<QListWidget*>(widget_.data()))
    connect(list, &QListWidget::itemClicked, this, [this] { Click(); });
}

QtFormControl::~QtFormControl() {
  // A focused widget going away reports its focus loss; the control's owner is already
  // going, so nothing may hear it.
  events_ = {};
  if (!widget_) return;
  widget_->removeEventFilter(this);
  delete widget_.data();
}

void QtFormControl::Click() const {
  if (events_.OnClick) events_.OnClick();
}

bool QtFormControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched != widget_) return false;
  switch (event->type()) {
    case QEvent::FocusIn:
      if (events_.OnEnter) events_.OnEnter();
      break;
    case QEvent::FocusOut:
      if (events_.OnExit) events_.OnExit();
      break;
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (events_.OnKeyDown &&
          events_.OnKeyDown(VirtualKey(key->key()), (key->modifiers() & Qt::ShiftModifier) != 0))
        return true;
      return PassKeyToSurface(*key);
    }
    default: break;
  }
  return false;
}

bool QtFormControl::PassKeyToSurface(QKeyEvent& key) const {
  // A box or radio button uses only Space (to check it) and the focus keys; Qt would move
  // the focus with the arrows as well. Every other key goes to the surface the control
  // sits on, as the keys an edit or list does not use do, so the page scrolls from there.
  if (kind_ != FormControlKind::kCheckBox && kind_ != FormControlKind::kRadioButton) return false;
  switch (key.key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return false;
    default: break;
  }
  QWidget* surface = widget_ ? widget_->parentWidget() : nullptr;
  if (!surface) return false;
  QCoreApplication::sendEvent(surface, &key);
  return true;
}

void QtFormControl::SetBounds(int x, int y, int width, int height) {
  if (widget_ && widget_->geometry() != QRect(x, y, width, height))
    widget_->setGeometry(x, y, width, height);
}

Rect QtFormControl::Bounds() const {
  if (!widget_) return {};
  const QRect r = widget_->geometry();
  return Rect{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

void QtFormControl::SetVisible(bool visible) {
  if (widget_) widget_->setVisible(visible);
}

bool QtFormControl::Visible() const { return widget_ && widget_->isVisibleTo(widget_->parentWidget()); }

void QtFormControl::SetFocus() {
  if (widget_) widget_->setFocus(Qt::OtherFocusReason);
}

bool QtFormControl::Focused() const { return widget_ && widget_->hasFocus(); }

void QtFormControl::SetFont(const LogFont& font) {
  if (!widget_) return;
  widget_->setFont(QtCanvas::QFontFor(font));
}

void QtFormControl::SetBackground(TColor color) {
  // Only boxes and radio buttons show the page around them.
  if (!widget_ || color == background_) return;
  if (kind_ != FormControlKind::kCheckBox && kind_ != FormControlKind::kRadioButton) return;
  background_ = color;
  QPalette palette = widget_->palette();
  palette.setColor(QPalette::Window, QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
  widget_->setPalette(palette);
  widget_->setAutoFillBackground(true);
}

int QtFormControl::FrameWidth() const {
  if (auto* frame = qobject_cast<QFrame*>(widget_.data())) return frame->frameWidth();
  return 2;
}

int QtFormControl::ScrollBarWidth() const {
  return widget_ ? widget_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 16;
}

int QtFormControl::NaturalHeight() const { return widget_ ? widget_->sizeHint().height() : 20; }

std::string QtFormControl::Text() const {
  if (auto* edit = qobject_cast<QLineEdit*>(widget_.data())) return FromQString(edit->text());
  if (auto* area = qobject_cast<QPlainTextEdit*>(widget_.data()))
    return LinesFromQString(area->toPlainText());
  if (auto* button = qobject_cast<QAbstractButton*>(widget_.data())) return FromQString(button->text());
  return {};
}

void QtFormControl::SetText(const std::string& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(widget_.data())) edit->setText(ToQString(text));
  else if (auto* area = qobject_cast<QPlainTextEdit*>(widget_.data()))
    area->setPlainText(LinesToQString(text));
  else if (auto* button = qobject_cast<QPushButton*>(widget_.data())) button->setText(ToQString(text));
}

void QtFormControl::SetMaxLength(int length) {
  if (auto* edit = qobject_cast<QLineEdit*>(widget_.data()); edit && length > 0)
    edit->setMaxLength(length);
}

void QtFormControl::SetWrap(TextWrap wrap) {
  auto* area = qobject_cast<QPlainTextEdit*>(widget_.data());
  if (!area) return;
  const bool off = wrap == TextWrap::kOff;
  area->setLineWrapMode(off ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
  area->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  area->setHorizontalScrollBarPolicy(off ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

std::vector<std::string> QtFormControl::DisplayedLines() const {
  std::vector<std::string> lines;
  auto* area = qobject_cast<QPlainTextEdit*>(widget_.data());
  if (!area) return lines;
  for (QTextBlock block = area->document()->begin(); block.isValid(); block = block.next()) {
    const QString text = block.text();
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0) {
      lines.push_back(FromQString(text));
      continue;
    }
    for (int i = 0; i < layout->lineCount(); ++i) {
      const QTextLine line = layout->lineAt(i);
      lines.push_back(FromQString(text.mid(line.textStart(), line.textLength())));
    }
  }
  return lines;
}

bool QtFormControl::Checked() const {
  auto* button = qobject_cast<QAbstractButton*>(widget_.data());
  return button && button->isChecked();
}

void QtFormControl::SetChecked(bool checked) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget_.data()); button && button->isCheckable())
    button->setChecked(checked);
}

void QtFormControl::SetItems(const std::vector<std::string>& items) {
  QStringList texts;
  for (const std::string& item : items) texts.append(ToQString(item));
  if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
    combo->clear();
    combo->addItems(texts);
    combo->setCurrentIndex(-1);
  } else if (auto* list = qobject_cast<QListWidget*>(widget_.data())) {
    list->clear();
    list->addItems(texts);
    list->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    list->clearSelection();
  }
}

int QtFormControl::ItemCount() const {
  if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) return combo->count();
  if (auto* list = qobject_cast<QListWidget*>(widget_.data())) return list->count();
  return 0;
}

int QtFormControl::ItemIndex() const {
  if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) return combo->currentIndex();
  if (auto* list = qobject_cast<QListWidget*>(widget_.data())) {
    if (list->selectionMode() == QAbstractItemView::SingleSelection) {
      const QList<QListWidgetItem*> chosen = list->selectedItems();
      return chosen.isEmpty() ? -1 : list->row(chosen.front());
    }
    return list->currentRow();
  }
  return -1;
}

void QtFormControl::SetItemIndex(int index) {
  if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
    combo->setCurrentIndex(index);
  } else if (auto* list = qobject_cast<QListWidget*>(widget_.data())) {
    if (list->selectionMode() == QAbstractItemView::SingleSelection) list->clearSelection();
    list->setCurrentRow(index);
  }
}

bool QtFormControl::ItemSelected(int index) const {
  if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) return combo->currentIndex() == index;
  auto* list = qobject_cast<QListWidget*>(widget_.data());
  const QListWidgetItem* item = list ? list->item(index) : nullptr;
  return item && item->isSelected();
}

void QtFormControl::SetItemSelected(int index, bool selected) {
  if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
    if (selected) combo->setCurrentIndex(index);
    return;
  }
  auto* list = qobject_cast<QListWidget*>(widget_.data());
  QListWidgetItem* item = list ? list->item(index) : nullptr;
  if (!item) return;
  if (selected && list->selectionMode() == QAbstractItemView::SingleSelection)
    list->setCurrentItem(item);
  item->setSelected(selected);
}

void QtFormControl::SetMultiSelect(bool multiple) {
  if (auto* list = qobject_cast<QListWidget*>(widget_.data()))
    list->setSelectionMode(multiple ? QAbstractItemView::ExtendedSelection
                                    : QAbstractItemView::SingleSelection);
}

void QtFormControl::SetTopIndex(int index) {
  if (auto* list = qobject_cast<QListWidget*>(widget_.data()); list && list->item(index))
    list->scrollToItem(list->item(index), QAbstractItemView::PositionAtTop);
}

}  // namespace tessival::platform
