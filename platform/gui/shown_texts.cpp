#include "platform/gui/shown_texts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QToolButton>

#include "platform/gui/form.h"
#include "platform/gui/qt_bridge.h"

namespace {

// Room the window manager's title bar keeps for the icon and the buttons.
constexpr int kTitleBarButtons = 110;

// The text as painted: "&x" shows x, "&&" one "&".
QString Painted(const QString& text) {
  QString shown;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && ++i == text.size()) break;
    shown += text[i];
  }
  return shown;
}

int TextWidth(const QWidget* w, const QString& text) { return QFontMetrics(w->font()).horizontalAdvance(text); }

// Whether the program left the widget (or a control around it) hidden: controls count by their
// own Visible, so that pages behind the one in front still count as shown.
bool HiddenByProgram(QWidget* widget, QWidget* window) {
  for (QWidget* w = widget; w && w != window; w = w->parentWidget()) {
    TControl* control = FindControl(w);
    if (control && control->ExistingWidget() == w) {
      if (!control->Visible()) return true;
    } else if (w == widget && w->isHidden()) {
      return true;
    }
  }
  return false;
}

// The path of a widget: its control's, with `part` for a widget inside a control.
std::string PathOf(QWidget* widget, const std::string& formName, const std::string& part) {
  TControl* control = FindControl(widget);
  if (!control) return formName + ".?";
  std::string path = formName + "." + control->Name();
  if (control->Name().empty() && control->Parent()) {
    // A control the program made without a name: by its parent and its place there.
    const TWinControl* parent = control->Parent();
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (parent->Controls(i) == control) path = formName + "." + parent->Name() + ".#" + std::to_string(i);
  }
  if (control->ExistingWidget() != widget) path += part;
  return path;
}

// Whether the widget, on the screen now, reaches beyond its parent's width.
bool OutsideParent(const QWidget* w) {
  const QWidget* parent = w->parentWidget();
  return parent && !w->isWindow() && w->isVisible() && w->geometry().right() >= parent->width() + 1;
}

}  // namespace

std::vector<TShownText> ShownTexts(TCustomForm& form) {
  std::vector<TShownText> texts;
  QWidget* window = form.Widget();
  const std::string formName = form.Name();
  const QString title = window->windowTitle();
  if (!title.isEmpty()) {
    const int need = QFontMetrics(QApplication::font()).horizontalAdvance(title) + kTitleBarButtons;
    texts.push_back({formName + ".Caption", "title", FromQ(title), need > window->width(), need, window->width()});
  }
  for (QWidget* w : window->findChildren<QWidget*>()) {
    // A control of no size (a cancel button kept only for Esc) shows nothing.
    if (HiddenByProgram(w, window) || w->width() == 0 || w->height() == 0) continue;
    TShownText t;
    QString text;
    int room = 0, need = 0;
    if (auto* label = qobject_cast<QLabel*>(w)) {
      if (label->textFormat() != Qt::PlainText && !label->pixmap().isNull()) continue;
      text = Painted(label->text());
      t.Kind = "label";
      if (label->wordWrap()) {
        room = label->height();
        need = label->heightForWidth(label->width());
      } else {
        room = label->contentsRect().width();
        need = TextWidth(label, text);
      }
    } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
      text = Painted(box->text());
      t.Kind = "check";
      room = box->width();
      need = box->sizeHint().width();
    } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
      text = Painted(radio->text());
      t.Kind = "check";
      room = radio->width();
      need = radio->sizeHint().width();
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
      if (qobject_cast<QTabBar*>(w->parentWidget())) continue;  // the tab bar's scroll arrows
      text = Painted(button->text());
      t.Kind = "button";
      room = button->width();
      need = TextWidth(button, text) + 8 + (button->icon().isNull() ? 0 : button->iconSize().width() + 4);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
      text = Painted(group->title());
      t.Kind = "group";
      room = group->width();
      need = TextWidth(group, text) + 16;
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
      if (combo->isEditable()) continue;  // the user's own text
      text = combo->currentText();
      t.Kind = "combo";
      QStyleOptionComboBox option;
      option.initFrom(combo);
      option.editable = false;
      option.frame = combo->hasFrame();
      room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
      need = TextWidth(combo, text) + (combo->iconSize().width() > 0 && !combo->itemIcon(combo->currentIndex()).isNull()
                                           ? combo->iconSize().width() + 4 : 0);
    } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
      for (int i = 0; i < tabs->count(); ++i)
        if (tabs->isTabVisible(i) && !tabs->tabText(i).isEmpty())
          texts.push_back({PathOf(tabs, formName, "") + ".Tabs[" + std::to_string(i) + "]", "tab",
                           FromQ(Painted(tabs->tabText(i)))});
      continue;
    } else {
      continue;
    }
    if (text.trimmed().isEmpty()) continue;
    t.Text = FromQ(text);
    t.Clipped = need > room || OutsideParent(w);
    t.Need = need;
    t.Room = room;
    std::string part;
    if (auto* parent = w->parentWidget()) part = ".Items[" + std::to_string(parent->children().indexOf(w)) + "]";
    t.Path = PathOf(w, formName, part);
    texts.push_back(std::move(t));
  }
  return texts;
}

TCustomForm* TopModalForm() {
  QWidget* modal = QApplication::activeModalWidget();
  return modal ? dynamic_cast<TCustomForm*>(FindControl(modal)) : nullptr;
}
