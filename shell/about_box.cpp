#include "shell/about_box.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/gui/shell_open.h"
#include "platform/gui/std_controls.h"
#include "shell/lang_messages.h"

std::string ProgramVersionText() {
  const std::string version = GetLangMessage("AboutVersion"), build = GetLangMessage("AboutBuild");
  return (version.empty() ? "Version" : version) + " 3.7 (" + (build.empty() ? "Build" : build) + " 019)";
}

QM_CLASS_INFO(TAboutBox, TForm, [](TClassBuilder<TAboutBox>&) {})

std::string FormatThousands(uint64_t value) {
  if (value == 0) return {};
  std::string digits = std::to_string(value), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

TAboutBox::TAboutBox(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TAboutBox::FormCreate);
  Handler("LinkClick", &TAboutBox::LinkClick);
  Field("PhysMem", PhysMem);
  Field("FreeRes", FreeRes);
  Field("LabelVer", LabelVer);
  Field("LinkWeb", LinkWeb);
  Field("LinkMail", LinkMail);
  Field("LinkSupport", LinkSupport);
  Field("LinkAuthor", LinkAuthor);
  ReadForm();
}

namespace {

// Where each link label leads.
std::string LinkTarget(const std::string& label) {
  if (label == "LinkWeb") return "https://www.vortanel.com/";
  if (label == "LinkMail") return "mailto:info@vortanel.com";
  if (label == "LinkSupport") return "mailto:support@vortanel.com";
  if (label == "LinkAuthor") return "mailto:author@vortanel.com";
  return {};
}

}  // namespace

void TAboutBox::FormCreate(TObject*) {
  for (TLabel* link : {LinkWeb, LinkMail, LinkSupport, LinkAuthor}) link->SetCursor(crHandPoint);
  ShowMemory(ReadMemoryStatus());
  LabelVer->SetCaption(ProgramVersionText());
}

void TAboutBox::ShowMemory(const TMemoryStatus& status) {
  const std::string kb = GetLangMessage("AboutKB");
  PhysMem->SetCaption(FormatThousands(status.TotalKB) + " " + (kb.empty() ? "KB" : kb));
  FreeRes->SetCaption(std::to_string(status.LoadPercent) + " %");
}

void TAboutBox::LinkClick(TObject* Sender) {
  if (auto* label = dynamic_cast<TLabel*>(Sender)) ShellOpen(LinkTarget(label->Name()));
}
