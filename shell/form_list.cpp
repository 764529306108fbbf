#include "shell/form_list.h"

#include "platform/gui/application.h"
#include "proofing/ask_form.h"
#include "shell/find_form.h"
#include "shell/goto_line_form.h"
#include "shell/main_form.h"
#include "shell/num_style_form.h"
#include "shell/preferences.h"
#include "shell/progress_form.h"
#include "shell/single_instance_window.h"
#include "shell/progress_wait_form.h"
#include "shell/unicode_form.h"
#include "tools/auto_form.h"
#include "tools/cyr_form.h"
#include "shell/speed_form.h"
#include "tools/calc_form.h"
#include "tools/char_map_form.h"
#include "tools/collect_form.h"
#include "tools/rev_form.h"
#include "tools/special_char_form.h"
#include "tools/auto_lang_form.h"
#include "tools/mail_form.h"
#include "tools/mixed_char_form.h"
#include "tools/reformat_form.h"
#include "tools/quick_form.h"
#include "tools/sort_form.h"

const std::vector<TStartupForm>& FormsBeforeSplash() {
  static const std::vector<TStartupForm> forms = {
      {"TMainForm", [](TApplication& app) { app.CreateForm(MainForm); }},
      {"TPrefForm", [](TApplication& app) { app.CreateForm(PrefForm); }},
  };
  return forms;
}

const std::vector<TStartupForm>& FormsAfterSplash() {
  static const std::vector<TStartupForm> forms = {
      {"TWaitForm", [](TApplication& app) { app.CreateForm(WaitForm); }},
      {"TProgressForm", [](TApplication& app) { app.CreateForm(ProgressForm); }},
  };
  return forms;
}

const std::vector<TStartupForm>& FormsOnFirstUse() {
  static const std::vector<TStartupForm> forms = {
      {"TGotoLineForm", [](TApplication& app) { app.EnsureForm(GotoLineForm); }},
      {"TAutoLangForm", [](TApplication& app) { app.EnsureForm(AutoLangForm); }},
      {"TAskForm", [](TApplication& app) { app.EnsureForm(AskForm); }},
      {"TNumStyleForm", [](TApplication& app) { app.EnsureForm(NumStyleForm); }},
      {"TMixedCharForm", [](TApplication& app) { app.EnsureForm(MixedCharForm); }},
      {"TReformatForm", [](TApplication& app) { app.EnsureForm(ReformatForm); }},
      {"TCollectForm", [](TApplication& app) { app.EnsureForm(CollectForm); }},
      {"TMailForm", [](TApplication& app) { app.EnsureForm(MailForm); }},
      {"TSpeedForm", [](TApplication& app) { app.EnsureForm(SpeedForm); }},
      {"TSortForm", [](TApplication& app) { app.EnsureForm(SortForm); }},
      {"TCyrForm", [](TApplication& app) { app.EnsureForm(CyrForm); }},
      {"TUnicodeForm", [](TApplication& app) { app.EnsureForm(UnicodeForm); }},
      {"TVirtualKbd", [](TApplication& app) { app.EnsureForm(VirtualKbd); }},
      {"TRevForm", [](TApplication& app) { app.EnsureForm(RevForm); }},
      {"TQuickForm", [](TApplication& app) { app.EnsureForm(QuickForm); }},
      {"TFindForm", [](TApplication& app) { app.EnsureForm(FindForm); }},
      {"TFormGenChar", [](TApplication& app) { app.EnsureForm(FormGenChar); }},
      {"TSpecialCharForm", [](TApplication& app) { app.EnsureForm(SpecialCharForm); }},
      {"TCalcForm", [](TApplication& app) { app.EnsureForm(CalcForm); }},
  };
  return forms;
}
