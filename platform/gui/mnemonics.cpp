#include "platform/gui/mnemonics.h"

#include <QAbstractButton>
#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>

#include <vector>

#include "platform/gui/control.h"
#include "platform/gui/qt_bridge.h"

namespace {

// Pairs of the characters on one key: QWERTY, then the Russian layout (upper case).
constexpr char16_t kLatin[] = u"QWERTYUIOP[]ASDFGHJKL;'ZXCVBNM,.`";
constexpr char16_t kCyrillic[] = u"ЙЦУКЕНГШЩЗХЪФЫВАПРОЛДЖЭЯЧСМИТЬБЮЁ";
static_assert(sizeof(kLatin) == sizeof(kCyrillic));

char16_t Upper(char16_t c) { return QChar(c).toUpper().unicode(); }

// The mnemonic of a caption: the character after a single '&', upper case; 0 when none.
char16_t MnemonicOf(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] == u'&') { ++i; continue; }
    return Upper(text[i + 1].unicode());
  }
  return 0;
}

// Runs the first mnemonic of `window` among `keys`.
bool Trigger(QWidget* window, const std::vector<char16_t>& keys) {
  auto wanted = [&](const QString& caption) {
    const char16_t m = MnemonicOf(caption);
    return m && std::find(keys.begin(), keys.end(), m) != keys.end();
  };
  auto usable = [&](QWidget* w) { return w->isVisibleTo(window) && w->isEnabledTo(window) && w->isEnabled(); };
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (!usable(button) || !wanted(button->text())) continue;
    button->setFocus(Qt::ShortcutFocusReason);
    button->click();
    return true;
  }
  // Drawn buttons: their caption's accelerator clicks them.
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    TControl* control = FindControl(widget);
    if (!control || control->ExistingWidget() != widget || !control->ClicksOnAccelerator() || !usable(widget) ||
        !wanted(ToQ(control->Caption())))
      continue;
    GuardedCall([control] { control->Click(); });
    return true;
  }
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (!usable(label) || !label->buddy() || !wanted(label->text())) continue;
    label->buddy()->setFocus(Qt::ShortcutFocusReason);
    return true;
  }
  for (QMenuBar* bar : window->findChildren<QMenuBar*>()) {
    if (!usable(bar)) continue;
    for (QAction* action : bar->actions())
      if (action->isVisible() && action->isEnabled() && wanted(action->text())) {
        bar->setActiveAction(action);
        return true;
      }
  }
  return false;
}

}  // namespace

char16_t LayoutTwin(char16_t c) {
  c = Upper(c);
  const std::u16string_view latin(kLatin), cyrillic(kCyrillic);
  if (const size_t i = latin.find(c); i != latin.npos) return cyrillic[i];
  if (const size_t i = cyrillic.find(c); i != cyrillic.npos) return latin[i];
  return 0;
}

bool TriggerMnemonic(QWidget* window, const QKeyEvent& event) {
  // The character typed and the key's own character (the key code of a letter is its upper
  // case code point) first, then the characters of the same key in the other layout.
  std::vector<char16_t> exact;
  if (!event.text().isEmpty()) exact.push_back(Upper(event.text().at(0).unicode()));
  if (event.key() > 0x20 && event.key() < 0xFFFF && QChar(char16_t(event.key())).isPrint())
    exact.push_back(Upper(char16_t(event.key())));
  std::vector<char16_t> twins;
  for (char16_t c : exact)
    if (const char16_t twin = LayoutTwin(c)) twins.push_back(twin);
  return Trigger(window, exact) || (!twins.empty() && Trigger(window, twins));
}
