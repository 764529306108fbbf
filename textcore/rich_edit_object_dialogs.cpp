#include "textcore/rich_edit_object_dialogs.h"

#include <filesystem>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "textcore/interface_hooks.h"

QM_CLASS_INFO(TPasteSpecialForm, TForm, [](TClassBuilder<TPasteSpecialForm>&) {})
QM_CLASS_INFO(TInsertObjectForm, TForm, [](TClassBuilder<TInsertObjectForm>&) {})
QM_CLASS_INFO(TObjectPropsForm, TForm, [](TClassBuilder<TObjectPropsForm>&) {})

namespace {

// A file chosen in the open dialog; empty when cancelled.
std::string ChooseFile(const std::string& title) {
  TOpenDialog dialog(nullptr);
  dialog.SetTitle(title);
  dialog.SetFilter(InterfaceMessage("InsFileFilter", "All files (*.*)|*.*"));
  return dialog.Execute() ? dialog.FileName() : std::string();
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string ObjectLocation(const std::string& title, const std::string& applicationTitle) {
  return Trimmed(title).empty() ? applicationTitle : title + " - " + applicationTitle;
}

// --- Paste Special -------------------------------------------------------------------------------

TPasteSpecialForm::TPasteSpecialForm(TComponent* owner, const std::vector<TPasteFormat>& formats)
    : TForm(owner), formats_(formats) {
  Handler("FormatListClick", &TPasteSpecialForm::FormatListClick);
  Field("FormatList", FormatList);
  Field("IconCheck", IconCheck);
  Field("ResultLabel", ResultLabel);
  ReadForm();
  for (TPasteFormat format : formats_) FormatList->Items()->Add(FormatName(format));
  FormatList->SetItemIndex(0);
  FormatListClick(nullptr);
}

std::string TPasteSpecialForm::FormatName(TPasteFormat format) {
  switch (format) {
    case TPasteFormat::Embedded: return InterfaceMessage("ObjFormatEmbedded", "File (embedded object)");
    case TPasteFormat::Link: return InterfaceMessage("ObjFormatLink", "Link to File");
    case TPasteFormat::Rtf: return InterfaceMessage("ObjFormatRtf", "Rich Text Format");
    case TPasteFormat::RtfNoObjects: return InterfaceMessage("ObjFormatRtfNoObjects", "Rich Text Format Without Objects");
    case TPasteFormat::Text: return InterfaceMessage("ObjFormatText", "Unformatted text");
    case TPasteFormat::Picture: return InterfaceMessage("ObjFormatPicture", "Picture");
  }
  return {};
}

std::string TPasteSpecialForm::FormatResult(TPasteFormat format) {
  switch (format) {
    case TPasteFormat::Embedded: return InterfaceMessage("ObjResultEmbedded", "a copy of the file, kept inside the document");
    case TPasteFormat::Link: return InterfaceMessage("ObjResultLink", "a link to the file");
    case TPasteFormat::Rtf: return InterfaceMessage("ObjResultRtf", "text with its formatting and objects");
    case TPasteFormat::RtfNoObjects: return InterfaceMessage("ObjResultRtfNoObjects", "text with its formatting, without objects");
    case TPasteFormat::Text: return InterfaceMessage("ObjResultText", "text without any formatting");
    case TPasteFormat::Picture: return InterfaceMessage("ObjResultPicture", "a picture");
  }
  return {};
}

void TPasteSpecialForm::FormatListClick(TObject*) {
  const int index = FormatList->ItemIndex();
  if (index < 0 || index >= int(formats_.size())) return;
  const TPasteFormat format = formats_[size_t(index)];
  const bool file = format == TPasteFormat::Embedded || format == TPasteFormat::Link;
  IconCheck->SetEnabled(file);
  if (!file) IconCheck->SetChecked(false);
  ResultLabel->SetCaption(InterfaceMessage("ObjPasteResult", "Inserts the contents of the clipboard as %s.", {FormatResult(format)}));
}

// --- Insert Object -------------------------------------------------------------------------------

TInsertObjectForm::TInsertObjectForm(TComponent* owner) : TForm(owner) {
  Handler("BrowseButtonClick", &TInsertObjectForm::BrowseButtonClick);
  Handler("OkButtonClick", &TInsertObjectForm::OkButtonClick);
  Field("EmbedRadio", EmbedRadio);
  Field("LinkRadio", LinkRadio);
  Field("FileEdit", FileEdit);
  Field("IconCheck", IconCheck);
  ReadForm();
}

void TInsertObjectForm::BrowseButtonClick(TObject*) {
  const std::string name = ChooseFile(InterfaceMessage("ObjBrowse", "Browse"));
  if (!name.empty()) FileEdit->SetText(name);
}

void TInsertObjectForm::OkButtonClick(TObject*) {
  if (!FileExists(FileEdit->Text())) {
    MessageBox(InterfaceMessage("ObjFileNotFound", "The file \"%s\" cannot be found.", {FileEdit->Text()}), Caption(),
               MB_OK | MB_ICONERROR);
    return;
  }
  SetModalResult(mrOk);
}

// --- Object Properties ---------------------------------------------------------------------------

TObjectPropsForm::TObjectPropsForm(TComponent* owner, const TRichObject& object, const std::string& location)
    : TForm(owner) {
  Handler("ChangeSourceButtonClick", &TObjectPropsForm::ChangeSourceButtonClick);
  Handler("BreakLinkButtonClick", &TObjectPropsForm::BreakLinkButtonClick);
  Field("TypeValue", TypeValue);
  Field("SizeValue", SizeValue);
  Field("LocationValue", LocationValue);
  Field("SourceValue", SourceValue);
  Field("IconCheck", IconCheck);
  Field("ChangeSourceButton", ChangeSourceButton);
  Field("BreakLinkButton", BreakLinkButton);
  ReadForm();
  const bool link = object.Kind == TRichObjectKind::Link;
  SetCaption(InterfaceMessage("ObjPropsCaption", "%s Properties", {TypeName(object)}));
  TypeValue->SetCaption(TypeName(object));
  std::string size;
  if (object.Kind == TRichObjectKind::Picture) {
    size = InterfaceMessage("ObjSizePicture", "%s bytes, %s x %s pixels",
                            {std::to_string(object.Picture.Bytes.size()), std::to_string(object.Picture.PictureWidth),
                             std::to_string(object.Picture.PictureHeight)});
  } else if (link) {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(std::filesystem::u8path(object.ObjectData), error);
    size = error ? InterfaceMessage("ObjSizeUnknown", "unknown (the file cannot be found)")
                 : InterfaceMessage("ObjSizeBytes", "%s bytes", {std::to_string(bytes)});
  } else {
    size = InterfaceMessage("ObjSizeBytes", "%s bytes", {std::to_string(object.ObjectData.size())});
  }
  SizeValue->SetCaption(size);
  LocationValue->SetCaption(location);
  SourceValue->SetCaption(link ? Utf8ToAnsi(object.ObjectData) : std::string());
  IconCheck->SetChecked(object.Kind != TRichObjectKind::Picture && !object.HasPicture);
  IconCheck->SetEnabled(false);
  ChangeSourceButton->SetEnabled(link);
}

std::string TObjectPropsForm::TypeName(const TRichObject& object) {
  switch (object.Kind) {
    case TRichObjectKind::Picture: {
      static const char* const formats[] = {"PNG", "JPEG", "EMF", "WMF", "DIB", "Bitmap"};
      return InterfaceMessage("ObjTypePicture", "Picture (%s)", {formats[int(object.Picture.Format)]});
    }
    case TRichObjectKind::Link: break;
    case TRichObjectKind::Embedded:
      return object.ClassName.empty() ? InterfaceMessage("ObjTypeObject", "Object") : object.ClassName;
  }
  return InterfaceMessage("ObjTypeLinked", "Linked %s",
                          {object.ClassName.empty() ? InterfaceMessage("ObjTypeObject", "Object") : object.ClassName});
}

void TObjectPropsForm::ChangeSourceButtonClick(TObject*) {
  const std::string name = ChooseFile(InterfaceMessage("ObjChangeSource", "Change Source"));
  if (name.empty()) return;
  if (!FileExists(name)) {
    MessageBox(InterfaceMessage("ObjLinkInvalid", "Cannot link to an invalid source."),
               InterfaceMessage("ObjLinkCaption", "Link Properties"), MB_OK | MB_ICONERROR);
    return;
  }
  newSource_ = name;
  SourceValue->SetCaption(name);
}

void TObjectPropsForm::BreakLinkButtonClick(TObject*) {
  MessageBox(InterfaceMessage("ObjBreakLink", "Break link operation is not supported."),
             InterfaceMessage("ObjLinkCaption", "Link Properties"), MB_OK | MB_ICONERROR);
}
