// The layer's private meeting point with Qt: conversions between our values and Qt's, the event
// filter that turns a widget's events into a control's messages, and the painted widget.
// Only .cpp files under platform/gui include this header.
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

#include "platform/gui/control.h"
#include "platform/gui/graphics.h"

class QKeyEvent;
class QMouseEvent;

// System-code-page text <-> QString.
QString ToQ(const std::string& text);
std::string FromQ(const QString& text);
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
QFont ToQFont(const TFont& font);
void FromQFont(const QFont& qfont, TFont& font);
Qt::CursorShape ToQtCursor(TCursor cursor);
// "&File" (our accelerator marks are Qt's too); "&&" stays a literal ampersand in both.
inline QString ToQCaption(const std::string& caption) { return ToQ(caption); }
// Windows virtual-key code of a Qt key (0 when it has none), and the reverse.
uint16_t VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers mods);
int QtKeyFromVirtual(uint16_t vk);
TShiftState ShiftFromQt(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons = Qt::NoButton);
int QtKeySequenceFromShortCut(TShortCut shortCut);

// The MIME type a clipboard format travels as (empty for unknown formats).
QString ClipboardMimeOf(unsigned format);

// Runs a handler coming from Qt: an exception never crosses into Qt but goes to
// Application->HandleException.
void GuardedCall(const std::function<void()>& handler);

// Turns the events of a control's widget (and of the widget's inner children) into messages.
class TControlBridge : public QObject {
  Q_OBJECT
public:
  TControlBridge(TControl* control, QWidget* widget);
  // Filters an inner child widget (the edit of a combo box) as part of the control too.
  void Adopt(QWidget* inner);
  TControl* Control() const { return control_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool HandleKey(QKeyEvent* event, QObject* watched);
  bool HandleMouse(QMouseEvent* event);
  TControl* control_;
};

// The widget of painted controls: its paint event draws through the control's Canvas.
class TPaintWidget : public QWidget {
  Q_OBJECT
public:
  TPaintWidget(TControl* control, TCanvas* canvas, std::function<void()> paint, QWidget* parent);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  TControl* control_;
  TCanvas* canvas_;
  std::function<void()> paint_;
};
