#include "platform/gui/std_controls.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTextBlock>
#include <QToolButton>

#include "platform/exceptions.h"
#include "platform/gui/graphics.h"
#include "platform/gui/form.h"
#include "platform/gui/menus.h"
#include "platform/gui/qt_bridge.h"
#include "platform/locale.h"

namespace {

// Our texts use CR LF line ends; Qt's editors use LF.
QString ToQText(const std::string& text) {
  std::string lf;
  lf.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      lf += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      lf += text[i];
    }
  }
  return ToQ(lf);
}

std::string FromQText(const QString& text) {
  std::string lf = FromQ(text), crlf;
  crlf.reserve(lf.size());
  for (char c : lf) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return crlf;
}

std::string ApplyCase(const std::string& s, TEditCharCase c) {
  return c == ecUpperCase ? AnsiUpperCase(s) : c == ecLowerCase ? AnsiLowerCase(s) : s;
}

bool Loading(const TComponent* c) { return c->ComponentState() & csLoading; }

// A combo box that reports its drop-down opening and closing.
class TQtComboBox : public QComboBox {
public:
  using QComboBox::QComboBox;
  std::function<void()> dropDown, closeUp;
  void showPopup() override {
    if (dropDown) GuardedCall(dropDown);
    QComboBox::showPopup();
  }
  void hidePopup() override {
    QComboBox::hidePopup();
    if (closeUp) GuardedCall(closeUp);
  }
};

}  // namespace

void TControlItems::Changed() {
  TStringList::Changed();
  if (UpdateCount() == 0 && changed_) changed_();
}

QM_CLASS_INFO(TLabel, TGraphicControl, [](TClassBuilder<TLabel>& c) {
  c.Enum<TAlignment>("Alignment", {"taLeftJustify", "taRightJustify", "taCenter"}, &TLabel::Alignment, &TLabel::SetAlignment);
  c.Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize);
  c.Boolean("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap);
  c.Enum<TTextLayout>("Layout", {"tlTop", "tlCenter", "tlBottom"}, &TLabel::Layout, &TLabel::SetLayout);
  c.Boolean("Transparent", &TLabel::Transparent, &TLabel::SetTransparent);
  c.Boolean("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar);
  c.Component<TWinControl>("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
})

QM_CLASS_INFO(TButton, TWinControl, [](TClassBuilder<TButton>& c) {
  c.Boolean("Default", &TButton::Default, &TButton::SetDefault);
  c.Boolean("Cancel", &TButton::Cancel, &TButton::SetCancel);
  c.Integer("ModalResult", &TButton::ModalResult, &TButton::SetModalResult);
})

QM_CLASS_INFO(TBitBtn, TButton, [](TClassBuilder<TBitBtn>& c) {
  c.Enum<TBitBtnKind>("Kind", {"bkCustom", "bkOK", "bkCancel", "bkHelp", "bkYes", "bkNo", "bkClose", "bkAbort", "bkRetry", "bkIgnore", "bkAll"},
                      &TBitBtn::Kind, &TBitBtn::SetKind);
})

QM_CLASS_INFO(TSpeedButton, TGraphicControl, [](TClassBuilder<TSpeedButton>& c) {
  c.Boolean("Down", &TSpeedButton::Down, &TSpeedButton::SetDown);
  c.Integer("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex);
  c.Boolean("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp);
  c.Boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat);
})

QM_CLASS_INFO(TCheckBox, TWinControl, [](TClassBuilder<TCheckBox>& c) {
  c.Boolean("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked);
  c.Enum<TCheckBoxState>("State", {"cbUnchecked", "cbChecked", "cbGrayed"}, &TCheckBox::State, &TCheckBox::SetState);
  c.Boolean("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed);
  c.Enum<TLeftRight>("Alignment", {"taLeftJustify", "taRightJustify"}, &TCheckBox::Alignment, &TCheckBox::SetAlignment);
})

QM_CLASS_INFO(TRadioButton, TWinControl, [](TClassBuilder<TRadioButton>& c) {
  c.Boolean("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked);
})

QM_CLASS_INFO(TGroupBox, TWinControl, [](TClassBuilder<TGroupBox>&) {})

QM_CLASS_INFO(TCustomEdit, TWinControl, [](TClassBuilder<TCustomEdit>& c) {
  c.Integer("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength);
  c.Boolean("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly);
  c.Event("OnChange", &TCustomEdit::OnChange);
})

QM_CLASS_INFO(TEdit, TCustomEdit, [](TClassBuilder<TEdit>& c) {
  c.Integer("PasswordChar", &TEdit::PasswordChar, [](TEdit& e, int v) { e.SetPasswordChar(char(v)); });
  c.Boolean("AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect);
  c.Enum<TEditCharCase>("CharCase", {"ecNormal", "ecUpperCase", "ecLowerCase"}, &TEdit::CharCase, &TEdit::SetCharCase);
})

QM_CLASS_INFO(TMemo, TCustomEdit, [](TClassBuilder<TMemo>& c) {
  c.Strings("Lines", [](TMemo& m) { return LinesOfStrings(*m.Lines()); },
            [](TMemo& m, const std::vector<std::string>& v) { AssignStrings(*m.Lines(), v); });
  c.Boolean("WordWrap", &TMemo::WordWrap, &TMemo::SetWordWrap);
  c.Enum<TScrollStyle>("ScrollBars", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}, &TMemo::ScrollBars, &TMemo::SetScrollBars);
  c.Boolean("WantReturns", &TMemo::WantReturns, &TMemo::SetWantReturns);
  c.Boolean("WantTabs", &TMemo::WantTabs, &TMemo::SetWantTabs);
})

QM_CLASS_INFO(TComboBox, TWinControl, [](TClassBuilder<TComboBox>& c) {
  c.Strings("Items", [](TComboBox& b) { return LinesOfStrings(*b.Items()); },
            [](TComboBox& b, const std::vector<std::string>& v) { AssignStrings(*b.Items(), v); });
  c.Integer("ItemIndex", &TComboBox::ItemIndex, &TComboBox::SetItemIndex);
  c.Enum<TComboBoxStyle>("Style", {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"},
                         &TComboBox::Style, &TComboBox::SetStyle);
  c.Boolean("Sorted", &TComboBox::Sorted, &TComboBox::SetSorted);
  c.Integer("DropDownCount", &TComboBox::DropDownCount, &TComboBox::SetDropDownCount);
  c.Integer("MaxLength", &TComboBox::MaxLength, &TComboBox::SetMaxLength);
  c.Event("OnChange", &TComboBox::OnChange);
  c.Event("OnSelect", &TComboBox::OnSelect);
  c.Event("OnDropDown", &TComboBox::OnDropDown);
  c.Event("OnCloseUp", &TComboBox::OnCloseUp);
})

QM_CLASS_INFO(TListBox, TWinControl, [](TClassBuilder<TListBox>& c) {
  c.Strings("Items", [](TListBox& b) { return LinesOfStrings(*b.Items()); },
            [](TListBox& b, const std::vector<std::string>& v) { AssignStrings(*b.Items(), v); });
  c.Integer("ItemIndex", &TListBox::ItemIndex, &TListBox::SetItemIndex);
  c.Boolean("MultiSelect", &TListBox::MultiSelect, &TListBox::SetMultiSelect);
  c.Boolean("ExtendedSelect", &TListBox::ExtendedSelect, &TListBox::SetExtendedSelect);
  c.Boolean("Sorted", &TListBox::Sorted, &TListBox::SetSorted);
  c.Enum<TListBoxStyle>("Style", {"lbStandard", "lbOwnerDrawFixed"}, &TListBox::Style, &TListBox::SetStyle);
  c.Integer("Columns", &TListBox::Columns, &TListBox::SetColumns);
  c.Event("OnDrawItem", &TListBox::OnDrawItem);
})

QM_CLASS_INFO(TScrollBar, TWinControl, [](TClassBuilder<TScrollBar>& c) {
  c.Enum<TScrollBarKind>("Kind", {"sbHorizontal", "sbVertical"}, &TScrollBar::Kind, &TScrollBar::SetKind);
  c.Integer("Min", &TScrollBar::Min, &TScrollBar::SetMin);
  c.Integer("Max", &TScrollBar::Max, &TScrollBar::SetMax);
  c.Integer("Position", &TScrollBar::Position, &TScrollBar::SetPosition);
  c.Integer("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange);
  c.Integer("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange);
  c.Integer("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize);
  c.Event("OnChange", &TScrollBar::OnChange);
  c.Event("OnScroll", &TScrollBar::OnScroll);
})

// --- TLabel ---

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

QWidget* TLabel::CreateWidget(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

void TLabel::InitWidget() {
  TGraphicControl::InitWidget();
  ApplyLabel();
}

void TLabel::ApplyLabel() {
  auto* label = static_cast<QLabel*>(ExistingWidget());
  if (!label) return;
  Qt::Alignment h = alignment_ == taCenter ? Qt::AlignHCenter : alignment_ == taRightJustify ? Qt::AlignRight : Qt::AlignLeft;
  Qt::Alignment v = layout_ == tlCenter ? Qt::AlignVCenter : layout_ == tlBottom ? Qt::AlignBottom : Qt::AlignTop;
  label->setAlignment(h | v);
  label->setWordWrap(wordWrap_);
  label->setAutoFillBackground(!transparent_ && !ParentColor());
  QWidget* buddy = focusControl_ ? focusControl_->Widget() : nullptr;
  label->setBuddy(buddy);
  // Without a control to focus the accelerator mark is only hidden.
  label->setText(ToQ(showAccelChar_ && !buddy ? StripHotkey(text_) : text_));
  AdjustSize();
}

void TLabel::AdjustSize() {
  auto* label = static_cast<QLabel*>(ExistingWidget());
  if (!label || !autoSize_ || Loading(this) || Align() == alClient) return;
  if (wordWrap_) {
    SetHeight(label->heightForWidth(Width()));
  } else {
    QSize hint = label->sizeHint();
    int left = Left();
    if (alignment_ == taRightJustify) left = Left() + Width() - hint.width();
    SetBounds(left, Top(), hint.width(), hint.height());
  }
}

void TLabel::TextChanged() { ApplyLabel(); }

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  ApplyLabel();  // the focus control and the size are known only now
}
void TLabel::FontChanged() {
  TGraphicControl::FontChanged();
  AdjustSize();
}

void TLabel::SetAlignment(TAlignment a) {
  alignment_ = a;
  ApplyLabel();
}
void TLabel::SetAutoSize(bool v) {
  autoSize_ = v;
  AdjustSize();
}
void TLabel::SetWordWrap(bool v) {
  wordWrap_ = v;
  ApplyLabel();
}
void TLabel::SetLayout(TTextLayout v) {
  layout_ = v;
  ApplyLabel();
}
void TLabel::SetTransparent(bool v) {
  transparent_ = v;
  ApplyLabel();
}
void TLabel::SetShowAccelChar(bool v) {
  showAccelChar_ = v;
  ApplyLabel();
}

void TLabel::SetFocusControl(TWinControl* c) {
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = c;
  if (c) c->FreeNotification(this);
  if (WidgetCreated()) ApplyLabel();
}

void TLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == focusControl_) {
    focusControl_ = nullptr;
    if (!(ComponentState() & csDestroying) && WidgetCreated()) static_cast<QLabel*>(ExistingWidget())->setBuddy(nullptr);
  }
}

// --- TButton ---

TButton::TButton(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
}

QWidget* TButton::CreateWidget(QWidget* parent) {
  auto* b = new QPushButton(parent);
  b->setAutoDefault(false);
  b->setDefault(default_);
  QObject::connect(b, &QPushButton::clicked, [this] { GuardedCall([this] { Click(); }); });
  return b;
}

void TButton::TextChanged() {
  if (auto* b = static_cast<QPushButton*>(ExistingWidget())) b->setText(ToQ(text_));
}

void TButton::SetDefault(bool v) {
  default_ = v;
  if (auto* b = static_cast<QPushButton*>(ExistingWidget())) b->setDefault(v);
}

void TButton::Click() {
  if (TCustomForm* form = ParentForm()) form->SetModalResult(modalResult_);
  TWinControl::Click();
}

// --- TBitBtn ---

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

void TBitBtn::SetKind(TBitBtnKind kind) {
  static const char* const captions[] = {"", "OK", "Cancel", "&Help", "&Yes", "&No", "&Close", "Abort", "&Retry", "&Ignore", "&All"};
  static const int results[] = {mrNone, mrOk, mrCancel, mrNone, mrYes, mrNo, mrNone, mrAbort, mrRetry, mrIgnore, mrAll};
  kind_ = kind;
  if (kind == bkCustom) return;
  SetCaption(captions[kind]);
  SetModalResult(results[kind]);
  if (kind == bkOK || kind == bkYes) SetDefault(true);
  if (kind == bkCancel || kind == bkNo) SetCancel(true);
}

void TBitBtn::Click() {
  // A Close button closes its form (when nothing else handles the click).
  if (kind_ == bkClose && !OnClick && !Action()) {
    if (TCustomForm* form = ParentForm()) form->Close();
    return;
  }
  TButton::Click();
}

// --- TSpeedButton ---

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 23, 22); }

// The speed button's widget: the plain face, and the control's own painting over it when it
// paints its content.
class TSpeedToolButton : public QToolButton {
public:
  TSpeedToolButton(TSpeedButton* button, QWidget* parent) : QToolButton(parent), button_(button) {}

protected:
  void paintEvent(QPaintEvent* event) override {
    if (!button_->PaintsContent()) {
      QToolButton::paintEvent(event);
      return;
    }
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
    TCanvas* canvas = button_->Canvas();
    canvas->Attach(&painter, Rect(0, 0, width(), height()));
    canvas->Font()->Assign(*button_->Font());
    canvas->Brush()->SetColor(button_->Color());
    GuardedCall([this] { button_->Paint(); });
    canvas->Detach();
  }

private:
  TSpeedButton* button_;
};

QWidget* TSpeedButton::CreateWidget(QWidget* parent) {
  auto* b = new TSpeedToolButton(this, parent);
  b->setFocusPolicy(Qt::NoFocus);
  QObject::connect(b, &QToolButton::clicked, [this] { GuardedCall([this] { Click(); }); });
  return b;
}

void TSpeedButton::InitWidget() {
  TGraphicControl::InitWidget();
  auto* b = static_cast<QToolButton*>(ExistingWidget());
  b->setAutoRaise(flat_);
  b->setCheckable(groupIndex_ != 0);
  b->setChecked(down_);
}

void TSpeedButton::TextChanged() {
  if (auto* b = static_cast<QToolButton*>(ExistingWidget())) b->setText(ToQ(text_));
}

void TSpeedButton::SetDown(bool v) {
  if (groupIndex_ == 0) v = false;
  down_ = v;
  if (v && Parent())
    for (int i = 0; i < Parent()->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
          other && other != this && other->groupIndex_ == groupIndex_ && other->down_)
        other->SetDown(false);
  if (auto* b = static_cast<QToolButton*>(ExistingWidget())) b->setChecked(down_);
}

void TSpeedButton::SetGroupIndex(int v) {
  groupIndex_ = v;
  if (auto* b = static_cast<QToolButton*>(ExistingWidget())) b->setCheckable(v != 0);
}

void TSpeedButton::SetFlat(bool v) {
  flat_ = v;
  if (auto* b = static_cast<QToolButton*>(ExistingWidget())) b->setAutoRaise(v);
}

void TSpeedButton::Click() {
  if (groupIndex_ != 0) SetDown(down_ ? !allowAllUp_ : true);
  TGraphicControl::Click();
}

// --- TCheckBox ---

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
}

QWidget* TCheckBox::CreateWidget(QWidget* parent) {
  auto* b = new QCheckBox(parent);
  QObject::connect(b, &QCheckBox::stateChanged, [this](int st) {
    TCheckBoxState s = st == Qt::Checked ? cbChecked : st == Qt::PartiallyChecked ? cbGrayed : cbUnchecked;
    if (s != state_) GuardedCall([this, s] { SetState(s); });
  });
  return b;
}

void TCheckBox::InitWidget() {
  TWinControl::InitWidget();
  auto* b = static_cast<QCheckBox*>(ExistingWidget());
  b->setTristate(allowGrayed_);
  b->setCheckState(state_ == cbChecked ? Qt::Checked : state_ == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
  b->setLayoutDirection(alignment_ == taLeftSide ? Qt::RightToLeft : Qt::LeftToRight);
}

void TCheckBox::TextChanged() {
  if (auto* b = static_cast<QCheckBox*>(ExistingWidget())) b->setText(ToQ(text_));
}

void TCheckBox::SetState(TCheckBoxState s) {
  if (s == state_) return;
  state_ = s;
  if (auto* b = static_cast<QCheckBox*>(ExistingWidget()))
    b->setCheckState(s == cbChecked ? Qt::Checked : s == cbGrayed ? Qt::PartiallyChecked : Qt::Unchecked);
  if (!Loading(this)) Click();
}

void TCheckBox::SetAllowGrayed(bool v) {
  allowGrayed_ = v;
  if (auto* b = static_cast<QCheckBox*>(ExistingWidget())) b->setTristate(v);
}

void TCheckBox::SetAlignment(TLeftRight a) {
  alignment_ = a;
  if (auto* b = static_cast<QCheckBox*>(ExistingWidget()))
    b->setLayoutDirection(a == taLeftSide ? Qt::RightToLeft : Qt::LeftToRight);
}

// --- TRadioButton ---

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 113, 17);
  SetTabStop(true);
}

QWidget* TRadioButton::CreateWidget(QWidget* parent) {
  auto* b = new QRadioButton(parent);
  QObject::connect(b, &QRadioButton::toggled, [this](bool on) {
    if (on != checked_) GuardedCall([this, on] { SetChecked(on); });
  });
  return b;
}

void TRadioButton::InitWidget() {
  TWinControl::InitWidget();
  static_cast<QRadioButton*>(ExistingWidget())->setChecked(checked_);
}

void TRadioButton::TextChanged() {
  if (auto* b = static_cast<QRadioButton*>(ExistingWidget())) b->setText(ToQ(text_));
}

void TRadioButton::SetChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  if (v && Parent())
    for (int i = 0; i < Parent()->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); other && other != this && other->checked_)
        other->SetChecked(false);
  if (auto* b = static_cast<QRadioButton*>(ExistingWidget()); b && b->isChecked() != v) {
    b->setAutoExclusive(false);
    b->setChecked(v);
    b->setAutoExclusive(true);
  }
  if (v && !Loading(this)) Click();
}

// --- TGroupBox ---

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 105); }

QWidget* TGroupBox::CreateWidget(QWidget* parent) { return new QGroupBox(parent); }

void TGroupBox::TextChanged() {
  if (auto* b = static_cast<QGroupBox*>(ExistingWidget())) b->setTitle(ToQ(text_));
}

void TGroupBox::AlignControls(TRect rect) {
  int title = QFontMetrics(ToQFont(*Font())).height();
  rect.Left += 2;
  rect.Right -= 2;
  rect.Top += title + 2;
  rect.Bottom -= 2;
  TWinControl::AlignControls(rect);
}

// --- TCustomEdit ---

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetColor(clWindow);
}

void TCustomEdit::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  TextChanged();
  modified_ = false;
  Change();
}

void TCustomEdit::TextEdited(const std::string& text) {
  text_ = text;
  modified_ = true;
  Change();
}

void TCustomEdit::Change() {
  if (OnChange && !Loading(this)) OnChange(this);
}

void TCustomEdit::SetMaxLength(int v) {
  maxLength_ = v;
  MaxLengthChanged();
}

void TCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  ReadOnlyChanged();
}

void TCustomEdit::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_COPY: CopyToClipboard(); break;
    case WM_CUT: CutToClipboard(); break;
    case WM_PASTE: PasteFromClipboard(); break;
    case WM_CLEAR: ClearSelection(); break;
    case WM_UNDO: m.Result = CanUndo(); Undo(); break;
    default: TWinControl::WndProc(m);
  }
}

// --- TEdit ---

// A line edit whose border its control draws.
class TBorderLineEdit : public QLineEdit {
public:
  TBorderLineEdit(TEdit* edit, QWidget* parent) : QLineEdit(parent), edit_(edit) {}

protected:
  void paintEvent(QPaintEvent* event) override {
    QLineEdit::paintEvent(event);
    if (edit_->ownBorder_ <= 0) return;
    QPainter painter(this);
    TCanvas canvas;
    canvas.Attach(&painter, Rect(0, 0, width(), height()));
    GuardedCall([&] { edit_->PaintBorder(canvas); });
    canvas.Detach();
  }

private:
  TEdit* edit_;
};

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner) {
  SetBounds(0, 0, 121, 21);
}

void TEdit::SetOwnBorder(int width) {
  ownBorder_ = width;
  if (auto* e = static_cast<QLineEdit*>(ExistingWidget())) {
    e->setFrame(width <= 0);
    e->setTextMargins(std::max(0, width), std::max(0, width), std::max(0, width), std::max(0, width));
    e->update();
  }
}

QWidget* TEdit::CreateWidget(QWidget* parent) {
  auto* e = new TBorderLineEdit(this, parent);
  QObject::connect(e, &QLineEdit::textChanged, [this, e](const QString& s) {
    if (syncing_) return;
    GuardedCall([&] {
      std::string text = FromQ(s);
      std::string cased = ApplyCase(text, charCase_);
      if (cased != text) {
        int pos = e->cursorPosition();
        syncing_ = true;
        e->setText(ToQ(cased));
        e->setCursorPosition(pos);
        syncing_ = false;
      }
      TextEdited(cased);
    });
  });
  return e;
}

void TEdit::InitWidget() {
  TWinControl::InitWidget();
  MaxLengthChanged();
  ReadOnlyChanged();
  static_cast<QLineEdit*>(ExistingWidget())->setEchoMode(passwordChar_ ? QLineEdit::Password : QLineEdit::Normal);
  if (ownBorder_ > 0) SetOwnBorder(ownBorder_);
}

void TEdit::TextChanged() {
  if (auto* e = static_cast<QLineEdit*>(ExistingWidget())) {
    syncing_ = true;
    e->setText(ToQ(text_));
    syncing_ = false;
  }
}

void TEdit::SetText(const std::string& text) { TCustomEdit::SetText(ApplyCase(text, charCase_)); }

void TEdit::DoEnter() {
  if (autoSelect_) {
    if (auto* e = static_cast<QLineEdit*>(ExistingWidget())) e->selectAll();
  }
  TWinControl::DoEnter();
}

void TEdit::MaxLengthChanged() {
  if (auto* e = static_cast<QLineEdit*>(ExistingWidget())) e->setMaxLength(MaxLength() > 0 ? MaxLength() : 32767);
}

void TEdit::ReadOnlyChanged() {
  if (auto* e = static_cast<QLineEdit*>(ExistingWidget())) e->setReadOnly(ReadOnly());
}

void TEdit::SetPasswordChar(char c) {
  passwordChar_ = c;
  if (auto* e = static_cast<QLineEdit*>(ExistingWidget())) e->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
}

void TEdit::SetCharCase(TEditCharCase v) {
  charCase_ = v;
  SetText(text_);
}

int TEdit::SelStart() {
  auto* e = static_cast<QLineEdit*>(Widget());
  return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TEdit::SetSelStart(int v) { static_cast<QLineEdit*>(Widget())->setCursorPosition(v); }

int TEdit::SelLength() { return int(static_cast<QLineEdit*>(Widget())->selectedText().size()); }

void TEdit::SetSelLength(int v) {
  auto* e = static_cast<QLineEdit*>(Widget());
  e->setSelection(SelStart(), v);
}

std::string TEdit::SelText() { return FromQ(static_cast<QLineEdit*>(Widget())->selectedText()); }

void TEdit::SetSelText(const std::string& text) { static_cast<QLineEdit*>(Widget())->insert(ToQ(text)); }

void TEdit::SelectAll() { static_cast<QLineEdit*>(Widget())->selectAll(); }
void TEdit::CopyToClipboard() { static_cast<QLineEdit*>(Widget())->copy(); }
void TEdit::CutToClipboard() { static_cast<QLineEdit*>(Widget())->cut(); }
void TEdit::PasteFromClipboard() { static_cast<QLineEdit*>(Widget())->paste(); }
void TEdit::ClearSelection() { static_cast<QLineEdit*>(Widget())->del(); }
void TEdit::Undo() { static_cast<QLineEdit*>(Widget())->undo(); }
bool TEdit::CanUndo() { return static_cast<QLineEdit*>(Widget())->isUndoAvailable(); }

// --- TMemo ---

// The memo's lines, read from and written to its editor.
class TMemo::TMemoLines : public TStrings {
public:
  explicit TMemoLines(TMemo* memo) : memo_(memo) {}
  std::string Get(int index) const override {
    auto lines = Split();
    if (index < 0 || index >= int(lines.size())) IndexError(index);
    return lines[size_t(index)];
  }
  int GetCount() const override { return int(Split().size()); }
  void Put(int index, const std::string& s) override {
    auto lines = Split();
    if (index < 0 || index >= int(lines.size())) IndexError(index);
    lines[size_t(index)] = s;
    Join(lines);
  }
  void Insert(int index, const std::string& s) override {
    auto lines = Split();
    if (index < 0 || index > int(lines.size())) IndexError(index);
    lines.insert(lines.begin() + index, s);
    Join(lines);
  }
  void Delete(int index) override {
    auto lines = Split();
    if (index < 0 || index >= int(lines.size())) IndexError(index);
    lines.erase(lines.begin() + index);
    Join(lines);
  }
  void Clear() override { memo_->SetText(""); }
  std::string GetTextStr() const override { return TStrings::GetTextStr(); }
  void SetTextStr(const std::string& value) override { memo_->SetText(value); }

private:
  // A final line end makes no empty last line.
  std::vector<std::string> Split() const {
    std::string text = memo_->GetText();
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find("\r\n", start);
      if (end == std::string::npos) end = text.size();
      lines.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return lines;
  }
  void Join(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
    memo_->SetText(text);
  }
  TMemo* memo_;
};

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner), lines_(std::make_unique<TMemoLines>(this)) {
  SetBounds(0, 0, 185, 89);
}

TMemo::~TMemo() { DestroyWidget(); }

TStrings* TMemo::Lines() { return lines_.get(); }

QWidget* TMemo::CreateWidget(QWidget* parent) {
  auto* e = new QPlainTextEdit(parent);
  QObject::connect(e, &QPlainTextEdit::textChanged, [this, e] {
    if (syncing_) return;
    GuardedCall([&] { TextEdited(FromQText(e->toPlainText())); });
  });
  return e;
}

void TMemo::InitWidget() {
  TWinControl::InitWidget();
  ReadOnlyChanged();
  auto* e = static_cast<QPlainTextEdit*>(ExistingWidget());
  e->setLineWrapMode(wordWrap_ ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  e->setTabChangesFocus(!wantTabs_);
  SetScrollBars(scrollBars_);
}

void TMemo::TextChanged() {
  if (auto* e = static_cast<QPlainTextEdit*>(ExistingWidget())) {
    syncing_ = true;
    e->setPlainText(ToQText(text_));
    syncing_ = false;
  }
}

void TMemo::ReadOnlyChanged() {
  if (auto* e = static_cast<QPlainTextEdit*>(ExistingWidget())) e->setReadOnly(ReadOnly());
}

void TMemo::SetWordWrap(bool v) {
  wordWrap_ = v;
  if (auto* e = static_cast<QPlainTextEdit*>(ExistingWidget()))
    e->setLineWrapMode(v ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetScrollBars(TScrollStyle v) {
  scrollBars_ = v;
  if (auto* e = static_cast<QPlainTextEdit*>(ExistingWidget())) {
    bool h = v == ssHorizontal || v == ssBoth, vert = v == ssVertical || v == ssBoth;
    e->setHorizontalScrollBarPolicy(h ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    e->setVerticalScrollBarPolicy(vert ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  }
}

void TMemo::SetWantTabs(bool v) {
  wantTabs_ = v;
  if (auto* e = static_cast<QPlainTextEdit*>(ExistingWidget())) e->setTabChangesFocus(!v);
}

bool TMemo::WantsKey(uint16_t key) const {
  return (key == VK_RETURN && wantReturns_) || (key == VK_TAB && wantTabs_);
}

namespace {

// Character positions in the editor count a line end as one; ours count CR LF as two.
int ToOurPos(const std::string& text, int qtPos) {
  int pos = 0;
  for (size_t i = 0; i < text.size() && qtPos > 0; ++i, --qtPos) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i, ++pos;
    ++pos;
  }
  return pos;
}

int ToQtPos(const std::string& text, int ourPos) {
  int pos = 0;
  for (size_t i = 0; i < text.size() && int(i) < ourPos; ++i, ++pos)
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
  return pos;
}

}  // namespace

int TMemo::SelStart() {
  auto* e = static_cast<QPlainTextEdit*>(Widget());
  return ToOurPos(text_, e->textCursor().selectionStart());
}

void TMemo::SetSelStart(int v) {
  auto* e = static_cast<QPlainTextEdit*>(Widget());
  QTextCursor c = e->textCursor();
  c.setPosition(ToQtPos(text_, v));
  e->setTextCursor(c);
}

int TMemo::SelLength() {
  auto* e = static_cast<QPlainTextEdit*>(Widget());
  QTextCursor c = e->textCursor();
  return ToOurPos(text_, c.selectionEnd()) - ToOurPos(text_, c.selectionStart());
}

void TMemo::SetSelLength(int v) {
  auto* e = static_cast<QPlainTextEdit*>(Widget());
  QTextCursor c = e->textCursor();
  int start = ToOurPos(text_, c.selectionStart());
  c.setPosition(ToQtPos(text_, start));
  c.setPosition(ToQtPos(text_, start + v), QTextCursor::KeepAnchor);
  e->setTextCursor(c);
}

std::string TMemo::SelText() {
  auto* e = static_cast<QPlainTextEdit*>(Widget());
  QString s = e->textCursor().selectedText();
  s.replace(QChar::ParagraphSeparator, '\n');
  return FromQText(s);
}

void TMemo::SetSelText(const std::string& text) {
  auto* e = static_cast<QPlainTextEdit*>(Widget());
  e->textCursor().insertText(ToQText(text));
}

void TMemo::SelectAll() { static_cast<QPlainTextEdit*>(Widget())->selectAll(); }
void TMemo::CopyToClipboard() { static_cast<QPlainTextEdit*>(Widget())->copy(); }
void TMemo::CutToClipboard() { static_cast<QPlainTextEdit*>(Widget())->cut(); }
void TMemo::PasteFromClipboard() { static_cast<QPlainTextEdit*>(Widget())->paste(); }
void TMemo::ClearSelection() { static_cast<QPlainTextEdit*>(Widget())->textCursor().removeSelectedText(); }
void TMemo::Undo() { static_cast<QPlainTextEdit*>(Widget())->undo(); }
bool TMemo::CanUndo() { return static_cast<QPlainTextEdit*>(Widget())->document()->isUndoAvailable(); }

// --- TComboBox ---

TComboBox::TComboBox(TComponent* owner)
    : TWinControl(owner), items_(std::make_unique<TControlItems>([this] { SyncItems(); })) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
}

TComboBox::~TComboBox() { DestroyWidget(); }

QWidget* TComboBox::CreateWidget(QWidget* parent) {
  auto* b = new TQtComboBox(parent);
  b->dropDown = [this] {
    if (OnDropDown) OnDropDown(this);
  };
  b->closeUp = [this] {
    if (OnCloseUp) OnCloseUp(this);
  };
  b->setInsertPolicy(QComboBox::NoInsert);
  QObject::connect(b, &QComboBox::currentIndexChanged, [this](int i) {
    if (!syncing_) itemIndex_ = i;
  });
  QObject::connect(b, &QComboBox::activated, [this](int i) {
    GuardedCall([this, i] {
      itemIndex_ = i;
      Change();
      if (OnSelect) OnSelect(this);
    });
  });
  return b;
}

void TComboBox::InitWidget() {
  TWinControl::InitWidget();
  auto* b = static_cast<QComboBox*>(ExistingWidget());
  b->setMaxVisibleItems(dropDownCount_);
  if (style_ == csDropDown || style_ == csSimple) {
    // A new box takes its edit directly: setEditable would first build the drop-down list (for
    // the look of a list-only box), which an editable box makes when it first drops down.
    auto* edit = new QLineEdit(b);
    edit->setPalette(b->palette());
    syncing_ = true;
    b->setLineEdit(edit);
    syncing_ = false;
    AttachEdit();
  }
  SyncItems();
  if (b->isEditable()) b->setEditText(ToQ(text_));
}

void TComboBox::SetStyle(TComboBoxStyle s) {
  style_ = s;
  auto* b = static_cast<QComboBox*>(ExistingWidget());
  if (!b) return;
  bool editable = s == csDropDown || s == csSimple;
  if (b->isEditable() == editable) return;
  syncing_ = true;
  b->setEditable(editable);
  syncing_ = false;
  AttachEdit();
}

void TComboBox::AttachEdit() {
  auto* b = static_cast<QComboBox*>(ExistingWidget());
  if (QLineEdit* edit = b->lineEdit()) {
    AdoptInnerWidget(edit);
    if (maxLength_ > 0) edit->setMaxLength(maxLength_);
    QObject::connect(edit, &QLineEdit::textEdited, [this](const QString& t) {
      GuardedCall([&] {
        text_ = FromQ(t);
        Change();
      });
    });
  }
}

void TComboBox::SyncItems() {
  auto* b = static_cast<QComboBox*>(ExistingWidget());
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  if (!b) return;
  QString text = b->currentText();
  syncing_ = true;
  b->clear();
  QStringList list;
  for (int i = 0; i < items_->Count(); ++i) list << ToQ((*items_)[i]);
  b->addItems(list);
  b->setCurrentIndex(itemIndex_);
  if (b->isEditable() && itemIndex_ < 0) b->setEditText(text);
  syncing_ = false;
}

int TComboBox::ItemIndex() const {
  auto* b = static_cast<QComboBox*>(ExistingWidget());
  if (b && b->isEditable() && itemIndex_ >= 0 && b->currentText() != b->itemText(itemIndex_)) return -1;
  return itemIndex_;
}

void TComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= items_->Count()) index = -1;
  itemIndex_ = index;
  if (index >= 0) text_ = (*items_)[index];
  if (auto* b = static_cast<QComboBox*>(ExistingWidget())) {
    syncing_ = true;
    b->setCurrentIndex(index);
    if (index < 0 && b->isEditable()) b->setEditText(QString());
    syncing_ = false;
  }
}

std::string TComboBox::GetText() const {
  if (auto* b = static_cast<QComboBox*>(ExistingWidget())) return FromQ(b->currentText());
  return style_ == csDropDownList ? (itemIndex_ >= 0 ? (*items_)[itemIndex_] : std::string()) : text_;
}

void TComboBox::SetText(const std::string& text) {
  text_ = text;
  int found = items_->IndexOf(text);
  auto* b = static_cast<QComboBox*>(ExistingWidget());
  if (style_ == csDropDownList || (found >= 0 && items_->Strings(found) == text)) {
    SetItemIndex(found);
  } else {
    itemIndex_ = -1;
    if (b) {
      syncing_ = true;
      b->setCurrentIndex(-1);
      b->setEditText(ToQ(text));
      syncing_ = false;
    }
  }
}

void TComboBox::Change() {
  if (OnChange && !Loading(this)) OnChange(this);
}

void TComboBox::SetDropDownCount(int v) {
  dropDownCount_ = v;
  if (auto* b = static_cast<QComboBox*>(ExistingWidget())) b->setMaxVisibleItems(v);
}

void TComboBox::SetMaxLength(int v) {
  maxLength_ = v;
  if (auto* b = static_cast<QComboBox*>(ExistingWidget()); b && b->lineEdit()) b->lineEdit()->setMaxLength(v > 0 ? v : 32767);
}

bool TComboBox::DroppedDown() const {
  auto* b = static_cast<QComboBox*>(ExistingWidget());
  return b && b->view()->isVisible();
}

void TComboBox::SetDroppedDown(bool v) {
  auto* b = static_cast<QComboBox*>(Widget());
  if (v) b->showPopup();
  else b->hidePopup();
}

int TComboBox::SelStart() {
  auto* b = static_cast<QComboBox*>(Widget());
  if (!b->lineEdit()) return 0;
  QLineEdit* e = b->lineEdit();
  return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void TComboBox::SetSelStart(int v) {
  if (QLineEdit* e = static_cast<QComboBox*>(Widget())->lineEdit()) e->setCursorPosition(v);
}

int TComboBox::SelLength() {
  QLineEdit* e = static_cast<QComboBox*>(Widget())->lineEdit();
  return e ? int(e->selectedText().size()) : 0;
}

void TComboBox::SetSelLength(int v) {
  if (QLineEdit* e = static_cast<QComboBox*>(Widget())->lineEdit()) e->setSelection(SelStart(), v);
}

void TComboBox::SelectAll() {
  if (QLineEdit* e = static_cast<QComboBox*>(Widget())->lineEdit()) e->selectAll();
}

void TComboBox::Clear() {
  items_->Clear();
  SetText("");
}

// --- TListBox ---

namespace {

// Hands the painting of an owner-drawn list's entries to the list's OnDrawItem.
class OwnerDrawDelegate : public QStyledItemDelegate {
public:
  OwnerDrawDelegate(TListBox* box, QObject* parent) : QStyledItemDelegate(parent), box_(box) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (box_->Style() != lbOwnerDrawFixed || !box_->OnDrawItem) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    TOwnerDrawState state = 0;
    if (option.state & QStyle::State_Selected) state |= odSelected;
    if (option.state & QStyle::State_HasFocus) state |= odFocused;
    if (!(option.state & QStyle::State_Enabled)) state |= odDisabled;
    const QRect& r = option.rect;
    const TRect rect = Bounds(r.x(), r.y(), r.width(), r.height());
    painter->save();
    box_->Canvas()->Attach(painter, rect);
    box_->DrawItem(index.row(), rect, state);
    box_->Canvas()->Detach();
    painter->restore();
  }

private:
  TListBox* box_;
};

}  // namespace

TListBox::TListBox(TComponent* owner)
    : TWinControl(owner),
      items_(std::make_unique<TControlItems>([this] { SyncItems(); })),
      canvas_(std::make_unique<TCanvas>()) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
}

void TListBox::SetStyle(TListBoxStyle v) {
  style_ = v;
  if (QWidget* w = ExistingWidget()) w->update();
}

void TListBox::SetColumns(int v) {
  columns_ = std::max(0, v);
  ApplyColumns();
}

void TListBox::ApplyColumns() {
  auto* l = static_cast<QListWidget*>(ExistingWidget());
  if (!l) return;
  l->setFlow(QListView::TopToBottom);
  l->setWrapping(columns_ > 0);
  if (columns_ > 0) {
    const int width = std::max(1, (Width() - 2 * l->frameWidth()) / columns_);
    l->setGridSize(QSize(width, l->fontMetrics().height() + 2));
  } else {
    l->setGridSize(QSize());
  }
}

void TListBox::DrawItem(int index, const TRect& rect, TOwnerDrawState state) {
  TCanvas& canvas = *canvas_;
  canvas.Font()->Assign(*Font());
  const bool selected = state & odSelected;
  canvas.Brush()->SetColor(selected ? clHighlight : Color());
  canvas.Font()->SetColor(selected ? clHighlightText : Font()->Color());
  if (OnDrawItem) OnDrawItem(this, index, rect, state);
}

TListBox::~TListBox() { DestroyWidget(); }

QWidget* TListBox::CreateWidget(QWidget* parent) {
  auto* l = new QListWidget(parent);
  QObject::connect(l, &QListWidget::currentRowChanged, [this](int row) {
    if (!syncing_) itemIndex_ = row;
  });
  QObject::connect(l, &QListWidget::itemSelectionChanged, [this, l] {
    if (syncing_) return;
    selected_.assign(size_t(items_->Count()), false);
    for (QListWidgetItem* item : l->selectedItems()) {
      int row = l->row(item);
      if (row >= 0 && row < int(selected_.size())) selected_[size_t(row)] = true;
    }
    if (!multiSelect_) itemIndex_ = l->selectedItems().isEmpty() ? -1 : l->row(l->selectedItems().first());
    GuardedCall([this] { Click(); });
  });
  return l;
}

void TListBox::InitWidget() {
  TWinControl::InitWidget();
  static_cast<QListWidget*>(ExistingWidget())->setItemDelegate(new OwnerDrawDelegate(this, ExistingWidget()));
  ApplyColumns();
  ApplySelectionMode();
  SyncItems();
}

void TListBox::ApplySelectionMode() {
  if (auto* l = static_cast<QListWidget*>(ExistingWidget()))
    l->setSelectionMode(!multiSelect_ ? QAbstractItemView::SingleSelection
                        : extendedSelect_ ? QAbstractItemView::ExtendedSelection
                                          : QAbstractItemView::MultiSelection);
}

void TListBox::SyncItems() {
  selected_.resize(size_t(items_->Count()), false);
  if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
  auto* l = static_cast<QListWidget*>(ExistingWidget());
  if (!l) return;
  syncing_ = true;
  l->clear();
  QStringList list;
  for (int i = 0; i < items_->Count(); ++i) list << ToQ((*items_)[i]);
  l->addItems(list);
  for (size_t i = 0; i < selected_.size(); ++i)
    if (selected_[i]) l->item(int(i))->setSelected(true);
  if (itemIndex_ >= 0) {
    l->setCurrentRow(itemIndex_, multiSelect_ ? QItemSelectionModel::NoUpdate : QItemSelectionModel::ClearAndSelect);
  }
  syncing_ = false;
}

int TListBox::ItemIndex() const { return itemIndex_; }

void TListBox::SetItemIndex(int index) {
  if (index < -1 || index >= items_->Count()) index = -1;
  itemIndex_ = index;
  if (!multiSelect_) {
    selected_.assign(size_t(items_->Count()), false);
    if (index >= 0) selected_[size_t(index)] = true;
  }
  if (auto* l = static_cast<QListWidget*>(ExistingWidget())) {
    syncing_ = true;
    if (index < 0) {
      if (!multiSelect_) l->clearSelection();
      l->setCurrentRow(-1);
    } else {
      l->setCurrentRow(index, multiSelect_ ? QItemSelectionModel::NoUpdate : QItemSelectionModel::ClearAndSelect);
    }
    syncing_ = false;
  }
}

void TListBox::SetMultiSelect(bool v) {
  multiSelect_ = v;
  ApplySelectionMode();
}

void TListBox::SetExtendedSelect(bool v) {
  extendedSelect_ = v;
  ApplySelectionMode();
}

bool TListBox::Selected(int index) const {
  if (index < 0 || index >= items_->Count()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  return index < int(selected_.size()) && selected_[size_t(index)];
}

void TListBox::SetSelected(int index, bool v) {
  if (index < 0 || index >= items_->Count()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  if (!multiSelect_) {
    SetItemIndex(v ? index : (itemIndex_ == index ? -1 : itemIndex_));
    return;
  }
  selected_.resize(size_t(items_->Count()), false);
  selected_[size_t(index)] = v;
  if (auto* l = static_cast<QListWidget*>(ExistingWidget())) {
    syncing_ = true;
    l->item(index)->setSelected(v);
    syncing_ = false;
  }
}

int TListBox::SelCount() const {
  if (!multiSelect_) return -1;
  int n = 0;
  for (bool s : selected_) n += s;
  return n;
}

int TListBox::TopIndex() const {
  auto* l = static_cast<QListWidget*>(ExistingWidget());
  if (!l) return 0;
  QListWidgetItem* item = l->itemAt(2, 2);
  return item ? l->row(item) : 0;
}

void TListBox::SetTopIndex(int index) {
  auto* l = static_cast<QListWidget*>(Widget());
  if (QListWidgetItem* item = l->item(index)) l->scrollToItem(item, QAbstractItemView::PositionAtTop);
}

int TListBox::ItemHeight() const {
  auto* l = static_cast<QListWidget*>(ExistingWidget());
  if (l && l->count() > 0) return l->sizeHintForRow(0);
  return QFontMetrics(ToQFont(*Font())).height() + 2;
}

int TListBox::ItemAtPos(TPoint p, bool existing) const {
  auto* l = static_cast<QListWidget*>(const_cast<TListBox*>(this)->Widget());
  QPoint vp = l->viewport()->mapFrom(l, QPoint(p.X, p.Y));
  QListWidgetItem* item = l->itemAt(vp);
  if (item) return l->row(item);
  return existing ? -1 : l->count();
}

TRect TListBox::ItemRect(int index) const {
  auto* l = static_cast<QListWidget*>(const_cast<TListBox*>(this)->Widget());
  QListWidgetItem* item = l->item(index);
  if (!item) return {};
  QRect r = l->visualItemRect(item);
  r.moveTopLeft(l->viewport()->mapTo(l, r.topLeft()));
  return Bounds(r.x(), r.y(), r.width(), r.height());
}

// --- TScrollBar ---

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
  SetBounds(0, 0, 121, 16);
  SetTabStop(true);
}

QWidget* TScrollBar::CreateWidget(QWidget* parent) {
  auto* s = new QScrollBar(parent);
  QObject::connect(s, &QScrollBar::valueChanged, [this](int v) {
    if (syncing_ || v == position_) return;
    GuardedCall([this, v] {
      position_ = v;
      if (OnChange) OnChange(this);
    });
  });
  QObject::connect(s, &QScrollBar::actionTriggered, [this, s](int action) {
    if (!OnScroll) return;
    TScrollCode code = scPosition;
    switch (action) {
      case QAbstractSlider::SliderSingleStepAdd: code = scLineDown; break;
      case QAbstractSlider::SliderSingleStepSub: code = scLineUp; break;
      case QAbstractSlider::SliderPageStepAdd: code = scPageDown; break;
      case QAbstractSlider::SliderPageStepSub: code = scPageUp; break;
      case QAbstractSlider::SliderToMinimum: code = scTop; break;
      case QAbstractSlider::SliderToMaximum: code = scBottom; break;
      case QAbstractSlider::SliderMove: code = scTrack; break;
      default: break;
    }
    int pos = s->sliderPosition();
    GuardedCall([&] { OnScroll(this, code, pos); });
    if (pos != s->sliderPosition()) s->setSliderPosition(pos);
  });
  return s;
}

void TScrollBar::InitWidget() {
  TWinControl::InitWidget();
  Apply();
}

void TScrollBar::Apply() {
  auto* s = static_cast<QScrollBar*>(ExistingWidget());
  if (!s) return;
  syncing_ = true;
  s->setOrientation(kind_ == sbHorizontal ? Qt::Horizontal : Qt::Vertical);
  s->setRange(min_, std::max(min_, max_ - std::max(pageSize_ - 1, 0)));
  s->setSingleStep(smallChange_);
  s->setPageStep(pageSize_ > 0 ? pageSize_ : largeChange_);
  s->setValue(position_);
  syncing_ = false;
}

void TScrollBar::SetKind(TScrollBarKind k) {
  if (k == kind_) return;
  kind_ = k;
  SetBounds(Left(), Top(), Height(), Width());
  Apply();
}

void TScrollBar::SetParams(int position, int min, int max) {
  if (max < min) throw EInvalidOperation("Scroll bar property out of range");
  position = std::clamp(position, min, max);
  bool changed = position != position_;
  min_ = min;
  max_ = max;
  position_ = position;
  Apply();
  if (changed && OnChange && !Loading(this)) OnChange(this);
}

void TScrollBar::SetSmallChange(int v) {
  smallChange_ = v;
  Apply();
}
void TScrollBar::SetLargeChange(int v) {
  largeChange_ = v;
  Apply();
}
void TScrollBar::SetPageSize(int v) {
  pageSize_ = v;
  Apply();
}
