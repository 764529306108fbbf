#include "shell/net_direct.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/graphics.h"
#include "platform/gui/image_list.h"
#include "platform/gui/shell_open.h"
#include "platform/gui/tree_view.h"
#include "shell/http_get.h"
#include "shell/net_directory.h"
#include "textcore/app_files.h"
#include "tools/tool_messages.h"

QM_CLASS_INFO(TNetDialog, TForm, [](TClassBuilder<TNetDialog>&) {})

QM_CLASS_INFO(TNetDirect, TComponent, [](TClassBuilder<TNetDirect>& b) {
  b.String("Title", [](const TNetDirect& d) { return d.Title; }, [](TNetDirect& d, const std::string& v) { d.Title = v; })
      .String("URL", [](const TNetDirect& d) { return d.URL; }, [](TNetDirect& d, const std::string& v) { d.URL = v; })
      .Event("OnURLSelected", &TNetDirect::OnURLSelected);
})

namespace {

// The directory the program comes with, in its folder.
const char* const kShippedName = "netdirect.ini";

// The four pictures, 16 x 16: a folder, a page, a packed box and a program window.
void DrawDirectoryImages(TImageList& images) {
  TBitmap strip(64, 16);
  TCanvas& c = *strip.Canvas();
  c.Brush()->SetColor(clFuchsia);
  c.FillRect({0, 0, 64, 16});
  c.Pen()->SetColor(clBlack);
  c.Brush()->SetColor(clYellow);  // folder
  c.Rectangle(1, 4, 15, 14);
  c.Rectangle(1, 2, 7, 5);
  c.Brush()->SetColor(clWhite);  // page
  c.Rectangle(19, 1, 29, 15);
  for (int y = 4; y < 13; y += 3) {
    c.MoveTo(21, y);
    c.LineTo(27, y);
  }
  c.Brush()->SetColor(clOlive);  // box
  c.Rectangle(34, 3, 46, 14);
  c.MoveTo(40, 3);
  c.LineTo(40, 14);
  c.Brush()->SetColor(clNavy);  // program window
  c.Rectangle(49, 2, 63, 14);
  c.Brush()->SetColor(clWhite);
  c.Rectangle(50, 5, 62, 13);
  images.Add(strip, clFuchsia);
}

// The file's text, or nothing when it cannot be read.
std::optional<std::string> ReadCopy(const std::string& name) {
  try {
    return ReadFileBytes(name);
  } catch (const Exception&) {
    return std::nullopt;
  }
}

// The answer of `url`, fetched on a thread of its own while the windows keep handling messages;
// raises EHttpError when it fails or takes longer than `timeoutMs` (a name lookup the system
// holds up is left behind).
THttpResponse Download(const std::string& url, int timeoutMs) {
  struct TResult {
    std::atomic<bool> Done{false};
    bool Failed = false;
    THttpResponse Answer;
  };
  auto result = std::make_shared<TResult>();
  std::thread([result, url, timeoutMs] {
    try {
      result->Answer = HttpGet(url, timeoutMs);
    } catch (const EHttpError&) {
      result->Failed = true;
    }
    result->Done = true;
  }).detach();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs + 500);
  while (!result->Done && std::chrono::steady_clock::now() < deadline) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (!result->Done || result->Failed) throw EHttpError("No directory from " + url);
  return result->Answer;
}

}  // namespace

// --- TNetDialog ------------------------------------------------------------------------------

TNetDialog::TNetDialog(TComponent* owner) : TForm(owner) {
  Handler("tvDirectClick", &TNetDialog::tvDirectClick);
  Field("tvDirect", tvDirect);
  Field("StatusBar", StatusBar);
  Field("ImageList1", ImageList1);
  ReadForm();
  DrawDirectoryImages(*ImageList1);
}

void TNetDialog::ShowDirectory(const std::vector<TDirectoryGroup>& groups) {
  tvDirect->Clear();
  addresses_.clear();
  for (const TDirectoryGroup& g : groups) {
    const int group = tvDirect->AddNode(-1, g.Caption, diGroup);
    addresses_.push_back("");
    for (const TDirectoryEntry& e : g.Entries) {
      tvDirect->AddNode(group, e.Caption, e.ImageIndex);
      addresses_.push_back(e.Address);
    }
  }
  tvDirect->FullExpand();
}

std::string TNetDialog::NodeAddress(int node) const {
  return node >= 0 && node < int(addresses_.size()) ? addresses_[size_t(node)] : "";
}

void TNetDialog::SetStatus(const std::string& text) { StatusBar->SetSimpleText(text); }

void TNetDialog::tvDirectClick(TObject*) {
  const std::string address = NodeAddress(tvDirect->Selected());
  tvDirect->SetSelected(-1);
  if (!address.empty() && OnChoose) OnChoose(address);
}

// --- TNetDirect ------------------------------------------------------------------------------

TNetDirect::TNetDirect(TComponent* owner) : TComponent(owner) {}

TNetDialog* TNetDirect::Dialog() {
  if (!dialog_) {
    dialog_ = new TNetDialog(this);
    dialog_->OnChoose = [this](const std::string& address) { URLSelected(address); };
  }
  return dialog_;
}

std::string TNetDirect::FileName() const {
  const std::string name = URL.empty() ? kShippedName : DirectoryFileName(URL);
  return name.empty() ? "" : UserConfigFolder() + name;
}

void TNetDirect::Execute(bool force) {
  TNetDialog* dialog = Dialog();
  dialog->SetCaption(ToolMessage("NetDirectTitle", Title));
  // Without an address there is nothing to ask for: the directory the program came with (or the
  // last one downloaded) is shown when the user asks, and nobody waits for a server.
  const std::string file = FileName();
  std::optional<std::string> previous = file.empty() ? std::nullopt : ReadCopy(file);
  if (!previous) previous = ReadCopy(AppDirFile(kShippedName));
  if (URL.empty()) {
    if (!force) return;
    dialog->ShowDirectory(ParseDirectory(previous.value_or("")));
    dialog->SetStatus("");
    dialog->Show();
    return;
  }
  if (force) dialog->Show();
  if (downloading_) return;  // asked again while the directory comes down
  downloading_ = true;
  struct TDone {
    bool& flag;
    ~TDone() { flag = false; }
  } done{downloading_};
  dialog->SetStatus(ToolMessage("NetConnecting", "Connecting to:") + " " + URL);

  // The failure's message key lacks its end: "Previous" when an older copy is shown, else "Aborted".
  std::string failure;
  THttpResponse answer;
  try {
    answer = Download(URL, Timeout);
    if (answer.Status == 404)
      failure = "NetNotFound";
    else if (answer.Status < 200 || answer.Status > 299)
      failure = "NetConnection";
  } catch (const EHttpError&) {
    failure = "NetConnection";
  }
  bool changed = false;
  if (!failure.empty()) {
    const bool notFound = failure == "NetNotFound";
    const std::string error = notFound ? "Remote server \"Not Found\" error" : "Connection error";
    dialog->SetStatus(previous ? ToolMessage(failure + "Previous", error + ", using previous update")
                               : ToolMessage(failure + "Aborted", error + ", request aborted"));
    if (!previous) return;
    dialog->ShowDirectory(ParseDirectory(*previous));
  } else {
    changed = !previous || answer.Body != *previous;
    // The copy is the user's own: the program folder is never written to.
    if (changed && !file.empty()) {
      ForceDirectories(ExtractFilePath(file));
      WriteFileAtomic(file, answer.Body);
    }
    dialog->ShowDirectory(ParseDirectory(answer.Body));
    dialog->SetStatus("");
  }
  if (force || changed) dialog->Show();
}

void TNetDirect::URLSelected(const std::string& address) {
  if (OnURLSelected) OnURLSelected(this, address);
  // Addresses come from a downloaded file: nothing but web and mail addresses is opened.
  if (OpenableAddress(address)) ShellOpen(address);
}
