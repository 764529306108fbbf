#include "platform/gui/window_walk.h"

#include <QApplication>
#include <QMenu>
#include <QThread>
#include <QPixmap>
#include <QWidget>

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

bool SaveFormPicture(TCustomForm& form, const std::string& fileName) {
  QApplication::processEvents();
  return form.Widget()->grab().save(ToQ(fileName), "PNG");
}
