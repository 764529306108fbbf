// The find form's options between runs: section "FindForm" of the product key, one value per
// stored property, named component + "_" + property as the form storage names them.
#include <string>

#include "platform/gui/ext_controls.h"
#include "platform/gui/std_controls.h"
#include "shell/find_form.h"
#include "shell/preferences_key.h"
#include "textcore/win_registry.h"

namespace {

constexpr const char* kSection = "FindForm";

std::vector<TCheckBox*> StoredBoxes(TFindForm& f) {
  return {f.CBMatchCase, f.CBPreserveCase, f.CBWholeWords, f.CBColor,       f.CBDelWord,
          f.CBInvColor,  f.CBReplaceColor, f.CBCopy,       f.CBIgnorePunct, f.CBIgnoreSpace};
}

void ReadList(TWinRegistry& registry, const std::string& name, TStrings& list) {
  const std::string section = std::string(kSection) + "\\" + name;
  const int count = registry.ReadInteger(section, "Count", -1);
  if (count < 0) return;
  // A damaged "Count" cannot make more lines than there are values: the list ends at the first
  // line missing.
  const std::string missing = "\x01";
  list.BeginUpdate();
  list.Clear();
  for (int i = 0; i < count; ++i) {
    const std::string line = registry.ReadString(section, "Item" + std::to_string(i), missing);
    if (line == missing) break;
    list.Add(line);
  }
  list.EndUpdate();
}

void WriteList(TWinRegistry& registry, const std::string& name, const TStrings& list) {
  const std::string section = std::string(kSection) + "\\" + name;
  registry.WriteInteger(section, "Count", list.Count());
  for (int i = 0; i < list.Count(); ++i) registry.WriteString(section, "Item" + std::to_string(i), list.Strings(i));
}

}  // namespace

void TFindForm::LoadOptions() {
  TWinRegistry registry(kProductKey);
  for (TCheckBox* box : StoredBoxes(*this)) {
    const std::string value = registry.ReadString(kSection, box->Name() + "_Checked", "");
    if (!value.empty()) box->SetChecked(value == "True");
  }
  ReadList(registry, "EditFind_Items", *EditFind->Items());
  ReadList(registry, "EditReplace_Items", *EditReplace->Items());
  ReadList(registry, "EditMulti_Lines", *EditMulti->Lines());
  EditFind->SetText(registry.ReadString(kSection, "EditFind_Text", EditFind->GetText()));
  EditReplace->SetText(registry.ReadString(kSection, "EditReplace_Text", EditReplace->GetText()));
  for (TShape* swatch : {ColorFind, ColorRep, ColorReplace}) {
    const std::string name = swatch->Name() + "_Brush.Color";
    swatch->Brush()->SetColor(registry.ReadInteger(kSection, name, swatch->Brush()->Color()));
  }
}

void TFindForm::SaveOptions() {
  RestoreUserOptions();
  TWinRegistry registry(kProductKey);
  for (TCheckBox* box : StoredBoxes(*this))
    registry.WriteString(kSection, box->Name() + "_Checked", box->Checked() ? "True" : "False");
  WriteList(registry, "EditFind_Items", *EditFind->Items());
  WriteList(registry, "EditReplace_Items", *EditReplace->Items());
  WriteList(registry, "EditMulti_Lines", *EditMulti->Lines());
  registry.WriteString(kSection, "EditFind_Text", EditFind->GetText());
  registry.WriteString(kSection, "EditReplace_Text", EditReplace->GetText());
  for (TShape* swatch : {ColorFind, ColorRep, ColorReplace})
    registry.WriteInteger(kSection, swatch->Name() + "_Brush.Color", swatch->Brush()->Color());
}
