// TRevForm: the "History Manager" window. It lists the history entries the main window keeps,
// shows the lines of the selected one, saves them to a file, and closes with a modal result
// telling the main window what to do: 1 open as a new document, 3 clear all, 6 close.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/form.h"

class TExSplitter;
class TListBox;
class TRichEditW;

// One history entry: its name and its text (paragraphs end in CR), kept in UTF-16 so that every
// character of the document survives.
struct TRevEntry {
  std::string Name;
  std::u16string Text;
};

class TRevForm : public TForm {
  QM_CLASS(TRevForm, TForm)
public:
  explicit TRevForm(TComponent* owner);
  ~TRevForm() override;

  TListBox* List = nullptr;
  TRichEditW* Memo = nullptr;  // the selected entry's text, read-only
  TExSplitter* Splitter1 = nullptr;  // between the list and the text

  // The entries listed (the main window's history).
  void SetEntries(std::vector<TRevEntry> entries);
  // The selected entry (-1: none).
  int Selected() const;
  // Shows the selected entry's text.
  void ShowSelected();
  // Asks for a file and writes the shown text there (UTF-8, each line ended by CR LF); false
  // when cancelled.
  bool SaveToFile();

private:
  void FormShow(TObject* Sender);
  void ListClick(TObject* Sender);
  void ListKeyUp(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void SaveClick(TObject* Sender);
  void CloseWith(TObject* Sender);

  std::vector<TRevEntry> entries_;
};

extern TRevForm* RevForm;
