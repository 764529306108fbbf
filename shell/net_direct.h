// TNetDirect: the directory of web services, offered as a tree in the stay-on-top tool window
// TNetDialog; a chosen entry is opened by the desktop. The program folder holds the directory the
// program came with; when an address (URL) is configured, the directory is downloaded from it
// into the user's settings folder. Download failures show only in the window's status bar: the
// previous copy stays.
#pragma once

#include <functional>
#include <string>

#include "platform/gui/form.h"

class TImageList;
class TStatusBar;
class TTreeView;
struct TDirectoryGroup;

using TURLSelectedEvent = std::function<void(TObject* Sender, const std::string& URL)>;

class TNetDialog : public TForm {
  QM_CLASS(TNetDialog, TForm)
public:
  explicit TNetDialog(TComponent* owner);

  TTreeView* tvDirect = nullptr;
  TStatusBar* StatusBar = nullptr;
  TImageList* ImageList1 = nullptr;  // group, entry, zip, exe

  // Rebuilds the tree from the groups, fully expanded; node data keeps the addresses.
  void ShowDirectory(const std::vector<TDirectoryGroup>& groups);
  // The address of a tree node ("" for a group).
  std::string NodeAddress(int node) const;
  void SetStatus(const std::string& text);
  // A click on the tree: the chosen address goes to OnChoose and the selection is cleared.
  void tvDirectClick(TObject* Sender);
  std::function<void(const std::string& address)> OnChoose;

private:
  std::vector<std::string> addresses_;  // by node number
};

class TNetDirect : public TComponent {
  QM_CLASS(TNetDirect, TComponent)
public:
  explicit TNetDirect(TComponent* owner);

  std::string Title;  // caption of the dialog
  std::string URL;    // address of the directory file; empty: no downloads
  TURLSelectedEvent OnURLSelected;
  // Milliseconds a download may take before it counts as a connection error.
  int Timeout = 8000;

  // Downloads the directory again (the windows keep working meanwhile) and shows the dialog
  // when `force` is set or the directory differs from the copy before. Without an address only
  // `force` does anything: it shows the copy at hand.
  void Execute(bool force);
  // The dialog, made on first need.
  TNetDialog* Dialog();
  // The user's copy of the directory ("" when URL names no file).
  std::string FileName() const;
  // An entry chosen: OnURLSelected, then the desktop opens a web or mail address.
  void URLSelected(const std::string& address);

private:
  TNetDialog* dialog_ = nullptr;
  bool downloading_ = false;
};
