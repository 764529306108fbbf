#include "shell/net_direct.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

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

QM_CLASS_INFO(TNetDialog, TForm, [](TClassBuilder<TNetDialog>&) {})

QM_CLASS_INFO(TNetDirect, TComponent, [](TClassBuilder<TNetDirect>& b) {
  b.String("Title", [](const TNetDirect& d) { return d.Title; }, [](TNetDirect& d, const std::string& v) { d.Title = v; })
      .String("URL", [](const TNetDirect& d) { return d.URL; }, [](TNetDirect& d, const std::string& v) { d.URL = v; })
      .Event("OnURLSelected", &TNetDirect::OnURLSelected);
})

namespace {

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

std::string ReadFileText(const std::string& name, bool& exists) {
  std::ifstream in(name, std::ios::binary);
  exists = bool(in);
  std::ostringstream s;
  if (in) s << in.rdbuf();
  return s.str();
}

// Replaces the file through a temporary copy, so that a failed write keeps the old one.
void ReplaceFile(const std::string& name, const std::string& text) {
  const std::string temp = name + ".new";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush()) {
      std::remove(temp.c_str());
      return;
    }
  }
  if (std::rename(temp.c_str(), name.c_str()) != 0) std::remove(temp.c_str());
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
  const std::string name = DirectoryFileName(URL);
  return name.empty() ? "" : AppDirFile(name);
}

void TNetDirect::Execute(bool force) {
  TNetDialog* dialog = Dialog();
  dialog->SetCaption(Title);
  if (force) dialog->Show();
  if (downloading_) return;  // asked again while the directory comes down
  downloading_ = true;
  struct TDone {
    bool& flag;
    ~TDone() { flag = false; }
  } done{downloading_};
  dialog->SetStatus("Connecting to: " + URL);

  const std::string file = FileName();
  bool hadCopy = false;
  const std::string previous = file.empty() ? "" : ReadFileText(file, hadCopy);
  std::string failure;
  THttpResponse answer;
  try {
    answer = Download(URL, Timeout);
    if (answer.Status == 404)
      failure = "Remote server \"Not Found\" error";
    else if (answer.Status < 200 || answer.Status > 299)
      failure = "Connection error";
  } catch (const EHttpError&) {
    failure = "Connection error";
  }
  bool changed = false;
  if (!failure.empty()) {
    dialog->SetStatus(failure + (hadCopy ? ", using previous update" : ", request aborted"));
    if (!hadCopy) return;
    dialog->ShowDirectory(ParseDirectory(previous));
  } else {
    changed = !hadCopy || answer.Body != previous;
    if (changed && !file.empty()) ReplaceFile(file, answer.Body);
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
