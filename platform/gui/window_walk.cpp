#include "platform/gui/window_walk.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QThread>
#include <QPixmap>
#include <QWidget>

#include "platform/gui/control.h"
#include "platform/gui/form.h"
#include "platform/gui/menus.h"
#include "platform/gui/qt_bridge.h"

bool OpenMenuDropDown(TCustomForm& form, TMenuItem& item) {
  if (item.Count() == 0) return false;
  QWidget* window = form.Widget();
  QMenu* menu = item.QtMenu();
  // On a busy X server a popup can lose its pointer grab and close at once: try again a while.
  for (int attempt = 0; attempt < 20 && !menu->isVisible(); ++attempt) {
    if (attempt > 0) QThread::msleep(50);
    menu->popup(window->mapToGlobal(QPoint(0, 0)));
    QApplication::processEvents();
  }
  return menu->isVisible();
}

void CloseMenuDropDowns() {
  while (QWidget* popup = QApplication::activePopupWidget()) {
    popup->close();
    QApplication::processEvents();
  }
}

std::string CloseTopModalWindow() {
  if (QWidget* popup = QApplication::activePopupWidget()) {
    popup->close();
    return "menu";
  }
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal) return "";
  const std::string caption = FromQ(modal->windowTitle());
  modal->close();
  return caption.empty() ? "untitled window" : caption;
}

namespace {

// "NAME "TITLE"" and the texts of the labels, edits and text views a user sees on the window.
std::string Describe(QWidget* window, const std::string& name) {
  std::string description = (name.empty() ? std::string("window") : name) + " \"" + FromQ(window->windowTitle()) + "\"";
  const auto add = [&description](const QString& text) {
    if (!text.trimmed().isEmpty()) description += " \"" + FromQ(text.simplified()) + "\"";
  };
  for (QWidget* child : window->findChildren<QWidget*>()) {
    if (!child->isVisibleTo(window)) continue;
    if (auto* label = qobject_cast<QLabel*>(child))
      add(label->text());
    else if (auto* view = qobject_cast<QTextEdit*>(child))
      add(view->toPlainText());
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(child))
      add(plain->toPlainText());
    else if (auto* line = qobject_cast<QLineEdit*>(child))
      add(line->text());
  }
  return description;
}

}  // namespace

std::string WindowDescription(TCustomForm& form) { return Describe(form.Widget(), form.Name()); }

TWaitingWindow WaitingModalWindow() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal) return {};
  auto* form = dynamic_cast<TCustomForm*>(FindControl(modal));
  if (form && !form->Modal()) return {};  // blocks the input only, as a progress window does
  return {modal, Describe(modal, form ? form->Name() : FromQ(modal->objectName()))};
}

bool SaveFormPicture(TCustomForm& form, const std::string& fileName) {
  QApplication::processEvents();
  return form.Widget()->grab().save(ToQ(fileName), "PNG");
}
