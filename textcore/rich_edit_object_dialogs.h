// The object dialogs of TRichEditW: Paste Special, Insert Object and Object Properties, each a
// form with its layout in forms/rich_edit/ and shown through the dialog service.
#pragma once

#include <string>
#include <vector>

#include "platform/gui/form.h"
#include "platform/rich_text.h"

class TButton;
class TCheckBox;
class TEdit;
class TLabel;
class TListBox;
class TRadioButton;
enum class TPasteFormat;

// The formats the clipboard can be pasted in; FormatList holds them in `formats` order.
class TPasteSpecialForm : public TForm {
  QM_CLASS(TPasteSpecialForm, TForm)
public:
  TPasteSpecialForm(TComponent* owner, const std::vector<TPasteFormat>& formats);
  TListBox* FormatList = nullptr;
  TCheckBox* IconCheck = nullptr;   // for the file object and the link only
  TLabel* ResultLabel = nullptr;
  // The chosen format's name in the list, and what pasting in it gives.
  static std::string FormatName(TPasteFormat format);
  static std::string FormatResult(TPasteFormat format);

private:
  void FormatListClick(TObject* Sender);
  std::vector<TPasteFormat> formats_;
};

// A file to embed or link to.
class TInsertObjectForm : public TForm {
  QM_CLASS(TInsertObjectForm, TForm)
public:
  explicit TInsertObjectForm(TComponent* owner);
  TRadioButton* EmbedRadio = nullptr;
  TRadioButton* LinkRadio = nullptr;
  TEdit* FileEdit = nullptr;
  TCheckBox* IconCheck = nullptr;

private:
  void BrowseButtonClick(TObject* Sender);
  // Accepts only the name of an existing file.
  void OkButtonClick(TObject* Sender);
};

// What an object is; a link's source can be changed here.
class TObjectPropsForm : public TForm {
  QM_CLASS(TObjectPropsForm, TForm)
public:
  // `location` is the host's name ("Title - application", or the application's title).
  TObjectPropsForm(TComponent* owner, const TRichObject& object, const std::string& location);
  TLabel* TypeValue = nullptr;
  TLabel* SizeValue = nullptr;
  TLabel* LocationValue = nullptr;
  TLabel* SourceValue = nullptr;
  TCheckBox* IconCheck = nullptr;
  TButton* ChangeSourceButton = nullptr;
  TButton* BreakLinkButton = nullptr;
  // The link's source as changed in the dialog (a system-code-page name); empty when unchanged.
  const std::string& NewSource() const { return newSource_; }
  // The object's type as the dialog names it.
  static std::string TypeName(const TRichObject& object);

private:
  void ChangeSourceButtonClick(TObject* Sender);
  // Links cannot be broken here: says so.
  void BreakLinkButtonClick(TObject* Sender);
  std::string newSource_;
};

// The host's name for the object dialogs: "Title - application title", or the application
// title alone when Title is blank.
std::string ObjectLocation(const std::string& title, const std::string& applicationTitle);
