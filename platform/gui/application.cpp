#include "platform/gui/application.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>
#include <QScreen>
#include <QSessionManager>
#include <QStyleHints>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <filesystem>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/form.h"
#include "platform/gui/qt_bridge.h"

TApplication* Application = new TApplication(nullptr);
TScreen* Screen = new TScreen(nullptr);

QM_CLASS_INFO(TApplication, TComponent, [](TClassBuilder<TApplication>& c) {
  c.String("Title", &TApplication::Title, &TApplication::SetTitle);
})
QM_CLASS_INFO(TScreen, TComponent, [](TClassBuilder<TScreen>&) {})

namespace {

int gArgc = 1;
char gArg0[] = "quillomark";
char* gArgv[] = {gArg0, nullptr};

}  // namespace

namespace {

// Qt's own translations (its dialogs' texts) for the interface language; none for English.
std::unique_ptr<QTranslator>& QtTranslator() {
  static std::unique_ptr<QTranslator> translator;
  return translator;
}

// Tells the application object when the program as a whole gains or loses the user, and asks
// it when the desktop session ends.
void WatchActivation() {
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, [](QSessionManager& manager) {
    // Questions may be asked only when the session manager allows it; without that the
    // session ends as it would with nothing to ask.
    if (!manager.allowsInteraction()) return;
    bool agreed = true;
    GuardedCall([&agreed] { agreed = Application->QueryEndSession(); });
    manager.release();
    if (!agreed) manager.cancel();
  });
  QObject::connect(qApp, &QGuiApplication::applicationStateChanged, [](Qt::ApplicationState state) {
    GuardedCall([state] {
      if (state == Qt::ApplicationActive && Application->OnActivate) Application->OnActivate(Application);
      if (state == Qt::ApplicationInactive && Application->OnDeactivate) Application->OnDeactivate(Application);
    });
  });
}

}  // namespace

void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  new QApplication(gArgc, gArgv);
  WatchActivation();
}

void GuardedCall(const std::function<void()>& handler) {
  try {
    handler();
  } catch (...) {
    Application->HandleException(nullptr);
  }
}

// --- TApplication ---

TApplication::TApplication(TComponent* owner) : TComponent(owner) {}

TApplication::~TApplication() {
  Destroying();
  DestroyComponents();
}

void TApplication::Initialize(int argc, char** argv) {
  if (QCoreApplication::instance()) return;
  if (argc > 0 && argv) {
    static int storedArgc;
    storedArgc = argc;
    new QApplication(storedArgc, argv);
    WatchActivation();
  } else {
    EnsureGuiApplication();
  }
}

bool TApplication::SetIconFile(const std::string& fileName) {
  EnsureGuiApplication();
  // Read once, as a picture the tray can show too.
  auto icon = std::make_unique<TBitmap>();
  try {
    icon->LoadFromFile(fileName);
  } catch (const Exception&) {
    return false;
  }
  QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon->Image())));
  icon_ = std::move(icon);
  return true;
}

bool TApplication::SetQtLanguage(const std::string& language) {
  EnsureGuiApplication();
  std::unique_ptr<QTranslator>& current = QtTranslator();
  if (current) QCoreApplication::removeTranslator(current.get());
  current.reset();
  // A language's English name stands for its code ("Russian" for "ru").
  QString code = ToQ(language).toLower();
  for (int l = QLocale::AnyLanguage + 1; l <= QLocale::LastLanguage; ++l) {
    const auto candidate = QLocale::Language(l);
    if (QLocale::languageToString(candidate).toLower() == code) {
      code = QLocale(candidate).name().section('_', 0, 0);
      break;
    }
  }
  if (code.isEmpty() || code == "en") return true;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load("qtbase_" + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
  QCoreApplication::installTranslator(translator.get());
  current = std::move(translator);
  return true;
}

bool TApplication::QueryEndSession() {
  if (!mainForm_) return true;
  return mainForm_->Perform(WM_QUERYENDSESSION, 0, 0) != 0;
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title;
  if (QCoreApplication::instance()) QGuiApplication::setApplicationDisplayName(ToQ(title));
}

std::string TApplication::ExeName() const {
  std::error_code ec;
  auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : Utf8ToAnsi(path.string());
}

void TApplication::SetMainForm(TForm* form) {
  if (mainForm_) mainForm_->RemoveFreeNotification(this);
  mainForm_ = form;
  if (form) form->FreeNotification(this);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == mainForm_) mainForm_ = nullptr;
}

namespace {

// Runs the idle work when the message loop is about to wait after handling messages: the states
// follow every change, and with no messages arriving nothing runs (no clock wakes the program).
// Messages the idle work itself causes (repaints of the states it changed) make it run once
// more, and then it finds nothing to change. Our own loops ask it once the queue is empty
// (HandleMessage); loops of Qt's own (its menus and dialogs) tell it through the dispatcher,
// before each wait.
class TIdleWatch : public QObject {
public:
  explicit TIdleWatch(std::function<void()> idle) : idle_(std::move(idle)) {
    qApp->installEventFilter(this);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TIdleWatch::RunIfDue);
    current_ = this;
  }
  ~TIdleWatch() override {
    current_ = nullptr;
    qApp->removeEventFilter(this);
  }
  // The watch of the running message loop; none outside Run.
  static TIdleWatch* Current() { return current_; }

  void RunIfDue() {
    if (!due_ || running_) return;
    running_ = true;
    GuardedCall(idle_);
    running_ = false;
    due_ = false;  // what it handled itself is no new message
  }

protected:
  bool eventFilter(QObject*, QEvent*) override {
    due_ = true;
    return false;
  }

private:
  static inline TIdleWatch* current_ = nullptr;
  std::function<void()> idle_;
  bool due_ = true, running_ = false;
};

// The caret stops blinking (and stays shown) once the user has left the program alone for a
// while, as desktops do, so that a window left alone draws nothing; the next key, click or
// wheel turn makes it blink again.
class TCaretRest : public QObject {
public:
  TCaretRest() : flashTime_(QGuiApplication::styleHints()->cursorFlashTime()) {
    rest_.setSingleShot(true);
    rest_.setInterval(kRestAfterMs);
    connect(&rest_, &QTimer::timeout, this, [] { QGuiApplication::styleHints()->setCursorFlashTime(0); });
    rest_.start();
    qApp->installEventFilter(this);
  }
  ~TCaretRest() override {
    qApp->removeEventFilter(this);
    QGuiApplication::styleHints()->setCursorFlashTime(flashTime_);
  }

protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::MouseButtonPress:
      case QEvent::Wheel:
      case QEvent::InputMethod:
        if (QGuiApplication::styleHints()->cursorFlashTime() != flashTime_)
          QGuiApplication::styleHints()->setCursorFlashTime(flashTime_);
        rest_.start();
        break;
      default: break;
    }
    return false;
  }

private:
  static constexpr int kRestAfterMs = 10000;
  const int flashTime_;
  QTimer rest_;
};

}  // namespace

void TApplication::Run() {
  EnsureGuiApplication();
  if (mainForm_ && showMainForm_) mainForm_->Show();
  TIdleWatch idle([this] { Idle(); });
  TCaretRest caret;
  while (!terminated_) HandleMessage();
}

void TApplication::ProcessMessages() {
  EnsureGuiApplication();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TApplication::HandleMessage() {
  EnsureGuiApplication();
  // What waits is handled; once nothing does, the idle work, then the wait. A burst of messages
  // is handled whole before the idle work runs.
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (!dispatcher->processEvents(QEventLoop::AllEvents)) {
    if (TIdleWatch* watch = TIdleWatch::Current()) watch->RunIfDue();
    dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TApplication::Terminate() {
  terminated_ = true;
  if (QCoreApplication::instance()) QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::None));
}

void TApplication::Idle() {
  bool done = true;
  if (OnIdle) OnIdle(this, done);
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* form = Screen->Forms(i);
    if (!form->Visible()) continue;
    // By index: an update may make or free lists.
    const std::vector<TActionList*>& lists = TActionList::All();
    for (size_t k = 0; k < lists.size(); ++k)
      if (lists[k]->Owner() == form) lists[k]->UpdateActions();
  }
}

void TApplication::HandleException(TObject* sender) {
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    if (OnException) {
      try {
        OnException(sender, e);
      } catch (...) {
        std::fprintf(stderr, "Exception in the exception handler\n");
      }
    } else {
      ShowException(e);
    }
  } catch (const std::exception& e) {
    ShowException(Exception(e.what()));
  } catch (...) {
    ShowException(Exception("Unknown exception"));
  }
}

void TApplication::ShowException(const Exception& e) {
  std::string msg = e.Message;
  if (!msg.empty() && msg.back() != '.' && msg.back() != '!' && msg.back() != '?') msg += '.';
  try {
    MessageBox(msg, title_, MB_OK | MB_ICONSTOP);
  } catch (const std::exception& inner) {
    // The box itself failed (no screen, or a test script that did not expect it).
    std::fprintf(stderr, "%s: %s (%s)\n", title_.c_str(), msg.c_str(), inner.what());
  }
}

// With a main window the change of its state tells OnMinimize / OnRestore.
void TApplication::Minimize() {
  if (mainForm_) mainForm_->SetWindowState(wsMinimized);
  else if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore() {
  if (mainForm_) mainForm_->SetWindowState(wsNormal);
  else if (OnRestore) OnRestore(this);
}

void TApplication::BringToFront() {
  if (mainForm_) mainForm_->BringToFront();
}

bool TApplication::Active() const {
  return QCoreApplication::instance() && QApplication::activeWindow() != nullptr;
}

void TApplication::SetHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  if (OnHint) OnHint(this);
}

void TApplication::SetShowHint(bool v) { showHint_ = v; }

// --- TScreen ---

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}
TScreen::~TScreen() = default;

TStrings* TScreen::Fonts() {
  if (!fonts_) {
    EnsureGuiApplication();
    fonts_ = std::make_unique<TStringList>();
    for (const QString& family : QFontDatabase::families()) fonts_->Add(FromQ(family));
    fonts_->SetSorted(true);
  }
  return fonts_.get();
}

void TScreen::SetCursor(TCursor cursor) {
  if (cursor == cursor_) return;
  EnsureGuiApplication();
  if (cursor_ != crDefault) QApplication::restoreOverrideCursor();
  cursor_ = cursor;
  if (cursor != crDefault) QApplication::setOverrideCursor(QCursor(ToQtCursor(cursor)));
}

TCustomForm* TScreen::ActiveForm() const {
  if (!QCoreApplication::instance()) return nullptr;
  if (QWidget* w = QApplication::activeWindow())
    if (auto* form = dynamic_cast<TCustomForm*>(FindControl(w))) return form;
  return nullptr;
}

TWinControl* TScreen::ActiveControl() const {
  TCustomForm* form = ActiveForm();
  return form ? form->ActiveControl() : nullptr;
}

namespace {

QRect PrimaryGeometry(bool available) {
  EnsureGuiApplication();
  QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return QRect(0, 0, 1024, 768);
  return available ? s->availableGeometry() : s->geometry();
}

}  // namespace

int TScreen::Width() const { return PrimaryGeometry(false).width(); }
int TScreen::Height() const { return PrimaryGeometry(false).height(); }

TRect TScreen::WorkAreaRect() const {
  QRect r = PrimaryGeometry(true);
  return Bounds(r.x(), r.y(), r.width(), r.height());
}

void TScreen::AddForm(TCustomForm* form) { forms_.push_back(form); }

void TScreen::RemoveForm(TCustomForm* form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
}
