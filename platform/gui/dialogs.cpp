#include "platform/gui/dialogs.h"

#include "platform/gui/form.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QPushButton>
#include <filesystem>

#include "platform/code_pages.h"
#include "platform/gui/application.h"
#include "platform/gui/graphics.h"
#include "platform/gui/qt_bridge.h"
#include "platform/gui/window_walk.h"

QM_CLASS_INFO(TCommonDialog, TComponent, [](TClassBuilder<TCommonDialog>& c) {
  c.Integer("HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext);
})

QM_CLASS_INFO(TOpenDialog, TCommonDialog, [](TClassBuilder<TOpenDialog>& c) {
  c.String("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName);
  c.String("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter);
  c.Integer("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex);
  c.String("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt);
  c.String("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
  c.String("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
  c.Set<TOpenOptions>("Options",
                      {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp", "ofNoValidate",
                       "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist", "ofFileMustExist", "ofCreatePrompt",
                       "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton", "ofNoLongNames",
                       "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing"},
                      &TOpenDialog::Options, &TOpenDialog::SetOptions);
})
QM_CLASS_INFO(TPrintDialog, TCommonDialog, [](TClassBuilder<TPrintDialog>& c) {
  c.Integer("MinPage", &TPrintDialog::MinPage, &TPrintDialog::SetMinPage)
      .Integer("MaxPage", &TPrintDialog::MaxPage, &TPrintDialog::SetMaxPage)
      .Integer("FromPage", &TPrintDialog::FromPage, &TPrintDialog::SetFromPage)
      .Integer("ToPage", &TPrintDialog::ToPage, &TPrintDialog::SetToPage)
      .Boolean("PageNums", &TPrintDialog::PageNums, &TPrintDialog::SetPageNums);
})
QM_CLASS_INFO(TSaveDialog, TOpenDialog, [](TClassBuilder<TSaveDialog>&) {})
QM_CLASS_INFO(TFontDialog, TCommonDialog, [](TClassBuilder<TFontDialog>& c) { c.Object("Font", &TFontDialog::Font); })
QM_CLASS_INFO(TColorDialog, TCommonDialog, [](TClassBuilder<TColorDialog>& c) {
  c.Color("Color", &TColorDialog::Color, &TColorDialog::SetColor);
})

namespace {

const char* KindName(TDialogKind k) {
  switch (k) {
    case TDialogKind::MessageDlg: return "message dialog";
    case TDialogKind::MessageBox: return "message box";
    case TDialogKind::InputQuery: return "input query";
    case TDialogKind::OpenFile: return "open dialog";
    case TDialogKind::SaveFile: return "save dialog";
    case TDialogKind::Font: return "font dialog";
    case TDialogKind::Form: return "dialog window";
    case TDialogKind::PageSetup: return "page setup dialog";
    case TDialogKind::Print: return "print dialog";
    default: return "colour dialog";
  }
}

// "Text|*.txt|All|*.*" -> "Text (*.txt);;All (*.*)"; Qt wants spaces between patterns.
QString QtFilter(const std::string& filter, int index, QString* selected) {
  QStringList parts = ToQ(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    QString entry = parts[i] + " (" + patterns + ")";
    out << entry;
    if (i / 2 + 1 == index && selected) *selected = entry;
  }
  return out.join(";;");
}

// The Qt dialogs. Without a screen a question would never be answered: it raises instead.
class TQtDialogService : public TDialogService {
public:
  void Ask(TDialogRequest& r) override {
    EnsureGuiApplication();
    if (QGuiApplication::platformName() == "offscreen")
      throw EInvalidOperation(std::string("A ") + KindName(r.Kind) + " was asked for with no screen to show it: " + r.Text);
    switch (r.Kind) {
      case TDialogKind::MessageDlg: MessageDlg(r); break;
      case TDialogKind::MessageBox: MessageBox(r); break;
      case TDialogKind::InputQuery: {
        bool ok = false;
        QString s = QInputDialog::getText(QApplication::activeWindow(), ToQ(r.Caption), ToQ(r.Text), QLineEdit::Normal, ToQ(r.Value), &ok);
        if (ok) r.Value = FromQ(s);
        r.Result = ok;
        break;
      }
      case TDialogKind::OpenFile:
      case TDialogKind::SaveFile: FileDialog(r); break;
      case TDialogKind::Font: {
        bool ok = false;
        QFont f = QFontDialog::getFont(&ok, ToQFont(*r.Font), QApplication::activeWindow());
        if (ok) FromQFont(f, *r.Font);
        r.Result = ok;
        break;
      }
      case TDialogKind::Form: r.Result = r.Form->ShowModal(); break;
      case TDialogKind::PageSetup: PageSetupDialog(r); break;
      case TDialogKind::Print: PrintDialog(r); break;
      case TDialogKind::Color: {
        QColor c = QColorDialog::getColor(ToQColor(r.Color), QApplication::activeWindow());
        if (c.isValid()) r.Color = FromQColor(c);
        r.Result = c.isValid();
        break;
      }
    }
  }

private:
  static QMessageBox::Icon Icon(TMsgDlgType t) {
    switch (t) {
      case mtWarning: return QMessageBox::Warning;
      case mtError: return QMessageBox::Critical;
      case mtInformation: return QMessageBox::Information;
      case mtConfirmation: return QMessageBox::Question;
      default: return QMessageBox::NoIcon;
    }
  }

  static void MessageDlg(TDialogRequest& r) {
    QMessageBox box(Icon(r.DlgType), ToQ(r.Caption), ToQ(r.Text), QMessageBox::NoButton, QApplication::activeWindow());
    struct B {
      TMsgDlgButtons bit;
      QMessageBox::StandardButton qt;
      int result;
    };
    const B buttons[] = {{mbYes, QMessageBox::Yes, mrYes}, {mbNo, QMessageBox::No, mrNo}, {mbOK, QMessageBox::Ok, mrOk},
                         {mbCancel, QMessageBox::Cancel, mrCancel}, {mbAbort, QMessageBox::Abort, mrAbort},
                         {mbRetry, QMessageBox::Retry, mrRetry}, {mbIgnore, QMessageBox::Ignore, mrIgnore},
                         {mbAll, QMessageBox::YesToAll, mrAll}, {mbNoToAll, QMessageBox::NoToAll, mrNoToAll},
                         {mbYesToAll, QMessageBox::YesToAll, mrYesToAll}, {mbHelp, QMessageBox::Help, mrNone}};
    for (const B& b : buttons)
      if (r.Buttons & b.bit) box.addButton(b.qt);
    int answer = box.exec();
    r.Result = (r.Buttons & mbCancel) ? mrCancel : mrNone;
    for (const B& b : buttons)
      if ((r.Buttons & b.bit) && answer == b.qt) r.Result = b.result;
  }

  static void MessageBox(TDialogRequest& r) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (r.Flags & 0xF0) {
      case MB_ICONSTOP: icon = QMessageBox::Critical; break;
      case MB_ICONQUESTION: icon = QMessageBox::Question; break;
      case MB_ICONWARNING: icon = QMessageBox::Warning; break;
      case MB_ICONINFORMATION: icon = QMessageBox::Information; break;
    }
    QMessageBox box(icon, ToQ(r.Caption), ToQ(r.Text), QMessageBox::NoButton, QApplication::activeWindow());
    std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;
    switch (r.Flags & 0xF) {
      case MB_OKCANCEL: buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
      case MB_ABORTRETRYIGNORE: buttons = {{QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}}; break;
      case MB_YESNOCANCEL: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}}; break;
      case MB_YESNO: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
      case MB_RETRYCANCEL: buttons = {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}}; break;
      default: buttons = {{QMessageBox::Ok, IDOK}}; break;
    }
    size_t def = (r.Flags & MB_DEFBUTTON3) ? 2 : (r.Flags & MB_DEFBUTTON2) ? 1 : 0;
    for (size_t i = 0; i < buttons.size(); ++i) {
      QPushButton* b = box.addButton(buttons[i].first);
      if (i == def) box.setDefaultButton(b);
    }
    if (r.Flags & (MB_TOPMOST | MB_SYSTEMMODAL)) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    int answer = box.exec();
    r.Result = buttons.size() == 1 ? IDOK : IDCANCEL;
    for (auto& [qt, id] : buttons)
      if (answer == qt) r.Result = id;
  }

  // A printer for the dialogs: the one named, or a PDF file.
  static void SetUpPrinter(QPrinter& printer, const TPrintValues& v) {
    if (v.Printer.empty()) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(v.OutputFile));
    } else {
      printer.setPrinterName(QString::fromStdString(v.Printer));
    }
    if (v.PaperWidth > 0 && v.PaperHeight > 0)
      printer.setPageSize(QPageSize(QSizeF(v.PaperWidth / 100.0, v.PaperHeight / 100.0), QPageSize::Millimeter));
    printer.setPageOrientation(v.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  }

  // The paper the user chose in a dialog.
  static void TakePaper(const QPrinter& printer, TPrintValues& v) {
    const QSizeF paper = printer.pageLayout().pageSize().size(QPageSize::Millimeter);
    v.PaperWidth = int(paper.width() * 100 + 0.5);
    v.PaperHeight = int(paper.height() * 100 + 0.5);
  }

  static void PageSetupDialog(TDialogRequest& r) {
    TPrintValues& v = r.Printing;
    const bool inches = r.Flags & psdInches;
    const double scale = inches ? 1000 : 100;
    const QPageLayout::Unit unit = inches ? QPageLayout::Inch : QPageLayout::Millimeter;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, v);
    printer.setPageMargins(QMarginsF(v.MarginLeft / scale, v.MarginTop / scale, v.MarginRight / scale,
                                     v.MarginBottom / scale), unit);
    QPageSetupDialog dialog(&printer, QApplication::activeWindow());
    // Centred across the screen, a third of the free height from the top.
    dialog.adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      dialog.move(area.left() + (area.width() - dialog.width()) / 2,
                  area.top() + (area.height() - dialog.height()) / 3);
    }
    r.Result = dialog.exec() == QDialog::Accepted;
    if (!r.Result) return;
    const QMarginsF m = printer.pageLayout().margins(unit);
    v.MarginLeft = int(m.left() * scale + 0.5);
    v.MarginTop = int(m.top() * scale + 0.5);
    v.MarginRight = int(m.right() * scale + 0.5);
    v.MarginBottom = int(m.bottom() * scale + 0.5);
    v.Landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    TakePaper(printer, v);
  }

  static void PrintDialog(TDialogRequest& r) {
    TPrintValues& v = r.Printing;
    QPrinter printer(QPrinter::HighResolution);
    SetUpPrinter(printer, v);
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, v.PageNums);
    if (v.MaxPage > 0) dialog.setMinMax(v.MinPage, v.MaxPage);
    if (v.PageNums && v.FromPage > 0) printer.setFromTo(v.FromPage, v.ToPage);
    r.Result = dialog.exec() == QDialog::Accepted;
    if (!r.Result) return;
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    v.Printer = toFile ? std::string() : printer.printerName().toStdString();
    v.OutputFile = toFile ? printer.outputFileName().toStdString() : std::string();
    v.Landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    TakePaper(printer, v);
    v.PageRange = printer.printRange() == QPrinter::PageRange;
    v.FromPage = printer.fromPage();
    v.ToPage = printer.toPage();
  }

  static void FileDialog(TDialogRequest& r) {
    QFileDialog dialog(QApplication::activeWindow(), ToQ(r.Caption));
    QString selected;
    dialog.setNameFilter(QtFilter(r.Filter, r.FilterIndex, &selected));
    if (!selected.isEmpty()) dialog.selectNameFilter(selected);
    dialog.setDirectory(QString::fromStdString(AnsiToUtf8(r.InitialDir)));
    if (!r.Value.empty()) dialog.selectFile(QString::fromStdString(AnsiToUtf8(r.Value)));
    bool save = r.Kind == TDialogKind::SaveFile;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile
                       : (r.Flags & ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                       : (r.Flags & ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (save && !(r.Flags & ofOverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    r.Result = dialog.exec() == QDialog::Accepted;
    if (!r.Result) return;
    r.Files.clear();
    for (const QString& f : dialog.selectedFiles()) r.Files.push_back(Utf8ToAnsi(f.toStdString()));
    r.Value = r.Files.empty() ? std::string() : r.Files.front();
    QStringList filters = dialog.nameFilters();
    int index = int(filters.indexOf(dialog.selectedNameFilter()));
    if (index >= 0) r.FilterIndex = index + 1;
  }
};

TDialogService* gService = nullptr;

}  // namespace

TDialogService& DialogService() {
  static TQtDialogService qt;
  return gService ? *gService : qt;
}

TDialogService* SetDialogService(TDialogService* service) {
  TDialogService* previous = gService;
  gService = service;
  return previous;
}

// --- TScriptedDialogs ---

TScriptedDialogs::TScriptedDialogs() : previous_(SetDialogService(this)) {}

TScriptedDialogs::~TScriptedDialogs() { SetDialogService(previous_); }

TScriptedDialogs& TScriptedDialogs::Answer(TDialogKind kind, int result, std::function<void(TDialogRequest&)> fill) {
  answers_.push_back({kind, result, std::move(fill)});
  return *this;
}

void TScriptedDialogs::Ask(TDialogRequest& request) {
  // An answer may show a window that asks again: the entry is found by its place, not as the last.
  const size_t at = asked_.size();
  asked_.push_back(request);
  const std::string what = std::string(KindName(request.Kind)) + " " +
                           (request.Form ? WindowDescription(*request.Form) : "\"" + request.Text + "\"");
  if (answers_.empty() && rest_) {
    rest_(request);
    asked_[at] = request;
    return;
  }
  if (answers_.empty()) {
    unexpected_.push_back(what);
    throw EUnexpectedDialog("Unexpected " + what);
  }
  Entry entry = std::move(answers_.front());
  answers_.pop_front();
  if (entry.Kind != request.Kind) {
    unexpected_.push_back(what + " where a " + KindName(entry.Kind) + " was expected");
    throw EUnexpectedDialog("Unexpected " + what);
  }
  request.Result = entry.Result;
  if (entry.Fill) entry.Fill(request);
  asked_[at] = request;
}

int ShowModalDialog(TCustomForm& form) {
  TDialogRequest r;
  r.Kind = TDialogKind::Form;
  r.Caption = form.Caption();
  r.Text = form.Caption();
  r.Form = &form;
  DialogService().Ask(r);
  return r.Result;
}

// --- message boxes ---

namespace {
std::function<std::string(TMsgDlgType)>& MessageDlgCaption() {
  static std::function<std::string(TMsgDlgType)> caption;
  return caption;
}
}  // namespace

void SetMessageDlgCaptions(std::function<std::string(TMsgDlgType type)> caption) {
  MessageDlgCaption() = std::move(caption);
}

int MessageDlg(const std::string& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
  static const char* const captions[] = {"Warning", "Error", "Information", "Confirm", ""};
  TDialogRequest r;
  r.Kind = TDialogKind::MessageDlg;
  if (type != mtCustom && MessageDlgCaption()) r.Caption = MessageDlgCaption()(type);
  if (r.Caption.empty()) r.Caption = type == mtCustom ? Application->Title() : captions[type];
  r.Text = msg;
  r.DlgType = type;
  r.Buttons = buttons;
  r.HelpContext = helpContext;
  DialogService().Ask(r);
  return r.Result;
}

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  TDialogRequest r;
  r.Kind = TDialogKind::MessageBox;
  r.Caption = caption;
  r.Text = text;
  r.Flags = flags;
  DialogService().Ask(r);
  return r.Result;
}

void ShowMessage(const std::string& msg) { MessageDlg(msg, mtCustom, mbOK); }

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  TDialogRequest r;
  r.Kind = TDialogKind::InputQuery;
  r.Caption = caption;
  r.Text = prompt;
  r.Value = value;
  DialogService().Ask(r);
  if (r.Result) value = r.Value;
  return r.Result != 0;
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue) {
  std::string value = defaultValue;
  return InputQuery(caption, prompt, value) ? value : defaultValue;
}

// --- file dialogs ---

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner), files_(std::make_unique<TStringList>()) {}
TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() { return DoExecute(TDialogKind::OpenFile); }

bool TOpenDialog::DoExecute(TDialogKind kind) {
  TDialogRequest r;
  r.Kind = kind;
  r.Caption = title_;
  r.Filter = filter_;
  r.FilterIndex = filterIndex_;
  r.InitialDir = initialDir_;
  r.DefaultExt = defaultExt_;
  r.Flags = options_;
  r.Value = fileName_;
  r.HelpContext = HelpContext();
  DialogService().Ask(r);
  if (!r.Result) return false;
  if (r.Files.empty()) r.Files.push_back(r.Value);
  files_->Clear();
  for (std::string& f : r.Files) {
    // A name typed without an extension gets the default one.
    if (!defaultExt_.empty() && std::filesystem::path(f).extension().empty()) {
      std::string ext = defaultExt_[0] == '.' ? defaultExt_.substr(1) : defaultExt_;
      f += "." + ext;
    }
    files_->Add(f);
  }
  fileName_ = r.Files.front();
  filterIndex_ = r.FilterIndex;
  return true;
}

bool TSaveDialog::Execute() { return DoExecute(TDialogKind::SaveFile); }

TFontDialog::TFontDialog(TComponent* owner) : TCommonDialog(owner), font_(std::make_unique<TFont>()) {}
TFontDialog::~TFontDialog() = default;

bool TFontDialog::Execute() {
  TDialogRequest r;
  r.Kind = TDialogKind::Font;
  r.Font = font_.get();
  r.HelpContext = HelpContext();
  DialogService().Ask(r);
  return r.Result != 0;
}

bool TColorDialog::Execute() {
  TDialogRequest r;
  r.Kind = TDialogKind::Color;
  r.Color = color_;
  r.HelpContext = HelpContext();
  DialogService().Ask(r);
  if (r.Result) color_ = r.Color;
  return r.Result != 0;
}

bool TPrintDialog::Execute() {
  TDialogRequest r;
  r.Kind = TDialogKind::Print;
  r.Caption = r.Text = "Print";
  r.HelpContext = HelpContext();
  r.Printing = values_;
  DialogService().Ask(r);
  if (r.Result) values_ = r.Printing;
  return r.Result != 0;
}
