// Bookmarks of the main window's document: added at the caret, chosen in the bookmark list,
// deleted, kept in step with the edits and stored beside the document.
#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "shell/main_form.h"
#include "shell/open_save.h"
#include "shell/preferences.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_messages.h"

void TMainForm::BindBookmarks() {
  Handler("FindAddBookmarkExecute", &TMainForm::FindAddBookmarkExecute);
  Handler("FindAddBookmarkUpdate", &TMainForm::FindAddBookmarkUpdate);
  Handler("BmSetChange", &TMainForm::BmSetChange);
  Handler("DeleteBm1Click", &TMainForm::DeleteBm1Click);
  Field("BmPanel", BmPanel);
  Field("BmSet", BmSet);
  Field("FindAddBookmark", FindAddBookmark);
}

void TMainForm::FindAddBookmarkExecute(TObject*) {
  const std::string name = BookmarkName(int(bookmarks_.size()) + 1, WideToAnsi(Editor->GetSelTextW(), 1251));
  bookmarks_.push_back(TBookmark{Editor->SelStart(), Editor->GetFirstVisibleLine(), name});
  ShowBookmarks(int(bookmarks_.size()) - 1);
}

void TMainForm::FindAddBookmarkUpdate(TObject*) {
  const int caret = Editor->SelStart();
  FindAddBookmark->SetEnabled(
      std::none_of(bookmarks_.begin(), bookmarks_.end(), [caret](const TBookmark& b) { return b.Position == caret; }));
}

void TMainForm::BmSetChange(TObject*) {
  const int chosen = BmSet->ItemIndex();
  if (choosingBookmark_ || chosen < 0 || chosen >= int(bookmarks_.size())) return;
  const TBookmark& b = bookmarks_[size_t(chosen)];
  Editor->SetSelStart(b.Position);
  Editor->SetSelLength(0);
  Editor->Perform(EM_LINESCROLL, 0, b.TopLine - Editor->GetFirstVisibleLine());
  if (Editor->CanFocus()) Editor->SetFocus();
}

void TMainForm::DeleteBm1Click(TObject*) {
  const int chosen = BmSet->ItemIndex();
  if (chosen < 0 || chosen >= int(bookmarks_.size())) return;
  bookmarks_.erase(bookmarks_.begin() + chosen);
  ShowBookmarks(std::min(chosen, int(bookmarks_.size()) - 1));
}

void TMainForm::ClearBookmarks() {
  bookmarks_.clear();
  bookmarkLines_ = bookmarkLength_ = 0;
  ShowBookmarks(-1);
}

void TMainForm::ShowBookmarks(int chosen) {
  choosingBookmark_ = true;
  BmSet->Items()->Clear();
  for (const TBookmark& b : bookmarks_) BmSet->Items()->Add(b.Name);
  BmSet->SetItemIndex(chosen);
  choosingBookmark_ = false;
  BmPanel->SetVisible(!bookmarks_.empty());
}

void TMainForm::SaveBookmarks() {
  const std::string file = BookmarkFileName(OS->FileName());
  if (bookmarks_.empty())
    DeleteFile(file);
  else
    WriteFileAtomic(file, FormatBookmarks(bookmarks_));
}

void TMainForm::LoadBookmarks() {
  const std::string file = BookmarkFileName(OS->FileName());
  if (!FileExists(file)) return;
  bookmarks_ = ParseBookmarks(ReadFileBytes(file));
  ClampBookmarks(bookmarks_, int(Editor->GetTextW().size()), int(Editor->Perform(EM_GETLINECOUNT, 0, 0)));
  ShowBookmarks(bookmarks_.empty() ? -1 : 0);
}

void TMainForm::AdjustBookmarks() {
  const int caret = Editor->SelStart();
  // The bookmark at the caret is shown as chosen, without going to it.
  for (size_t i = 0; i < bookmarks_.size(); ++i) {
    if (bookmarks_[i].Position != caret) continue;
    choosingBookmark_ = true;
    BmSet->SetItemIndex(int(i));
    choosingBookmark_ = false;
  }
  const int lines = int(Editor->Perform(EM_GETLINECOUNT, 0, 0));
  const int length = Editor->Control().TextLength();
  if (bookmarkLines_ == 0) bookmarkLines_ = lines;
  if (bookmarkLength_ == 0) bookmarkLength_ = length;
  const int lineDelta = lines - bookmarkLines_, lengthDelta = length - bookmarkLength_;
  if (lineDelta == 0 && lengthDelta == 0) return;
  MoveBookmarks(bookmarks_, caret, lengthDelta, lineDelta);
  bookmarkLines_ = lines;
  bookmarkLength_ = length;
}
