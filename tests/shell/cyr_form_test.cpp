// The Cyrillic decoder in the main window on real validator data: the decoder window's queue,
// its three choices through the Convert menu (search with the status dialog, simple change,
// queue), a search that finds nothing, and the silent decoding of pasted text, which never
// applies a stale queue nor loses characters outside code page 1251.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/gui/actions.h"
#include "platform/gui/application.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"
#include "shell/main_form.h"
#include "shell/preferences.h"
#include "shell/progress.h"
#include "shell/speed_form.h"
#include "tests/shell/operation_test_fixture.h"
#include "tests/shell/preferences_test_env.h"
#include "textcore/rich_edit.h"
#include "tools/auto_form.h"
#include "tools/cyr_form.h"

namespace {

class CyrFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!FileExists(QM_PROGRAM_DIR "/russian.qgo")) GTEST_SKIP() << "no generated validators (spelling data off)";
    EnsureGuiApplication();
    for (const char* name : {"english.lng", "russian.lng"})
      world_.WriteProgramFile(name, ReadFileBytes(std::string(QM_SOURCE_DIR) + "/data/" + name));
    for (const char* name : {"english.qgo", "russian.qgo"})
      world_.WriteProgramFile(name, ReadFileBytes(std::string(QM_PROGRAM_DIR) + "/" + name));
    form = new TMainForm(Application);
    PrefForm = new TPrefForm(Application);
    CyrForm = new TCyrForm(Application);
    AutoForm = new TAutoForm(Application);
  }
  void TearDown() override {
    if (!form) return;
    delete AutoForm;
    delete CyrForm;
    delete PrefForm;
    TComponent::Free(form);
  }
  void SetText(const std::u16string& text) {
    form->Editor->SetTextW(text);
    form->ResetDocument();
  }
  std::u16string Text() const { return form->Editor->GetTextW(); }
  // Runs the Convert menu's decoder item; `act` answers whichever window is modal.
  void RunDecoder(const std::function<void()>& act) {
    TTimer timer(nullptr);
    timer.SetInterval(1);
    timer.OnTimer = [&](TObject*) { act(); };
    timer.SetEnabled(true);
    static_cast<TMenuItem*>(form->FindComponent("AutoDecodeCyrillic1"))->Click();
    timer.SetEnabled(false);
  }
  void Paste(const std::u16string& clipboard) {
    Clipboard()->SetAsUnicodeText(clipboard);
    form->PasteRussian1Click(form);
  }

  TTestWorld world_;
  TMainForm* form = nullptr;
};

TEST_F(CyrFormTest, QueueIsBuiltWithTheQueueTab) {
  CyrForm->Show();
  EXPECT_EQ(CyrForm->Enc1->ItemIndex(), 3);  // KOI
  EXPECT_EQ(CyrForm->Enc2->ItemIndex(), 0);  // WIN
  EXPECT_FALSE(CyrForm->BtnApplyAll->Enabled());
  CyrForm->BtnEnqueue->Click();
  CyrForm->Enc11->SetItemIndex(1);  // DOS
  CyrForm->Enc12->SetItemIndex(4);  // MAC
  CyrForm->BtnEnqueue->Click();
  EXPECT_EQ(CyrForm->CueList->Items()->Count(), 2);
  EXPECT_EQ((*CyrForm->CueList->Items())[0], "KOI to WIN");
  EXPECT_EQ(CyrForm->Queue(), (TCyrChain{{3, 0}, {1, 4}}));
  EXPECT_TRUE(CyrForm->BtnApplyAll->Enabled());
  EXPECT_FALSE(CyrForm->BtnRemove->Enabled());
  CyrForm->CueList->SetItemIndex(0);
  CyrForm->CueList->OnClick(CyrForm->CueList);
  EXPECT_TRUE(CyrForm->BtnRemove->Enabled());
  CyrForm->BtnRemove->Click();
  EXPECT_EQ(CyrForm->Queue(), (TCyrChain{{1, 4}}));
  CyrForm->BtnClear->Click();
  EXPECT_TRUE(CyrForm->Queue().empty());
  EXPECT_FALSE(CyrForm->BtnApplyAll->Enabled());
  CyrForm->Hide();
}

TEST_F(CyrFormTest, SearchFromTheMenuOffersTheChainAndDecodes) {
  form->ProcessingOptions().EnableHist = true;
  SetText(Garbled(kRussian, 20866));
  TScriptedDialogs dialogs;
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  std::string offered;
  RunDecoder([&] {
    if (CyrForm->Modal()) {
      CyrForm->BtnAuto->Click();
    } else if (AutoForm->Modal()) {
      offered = AutoForm->Label1->Caption();
      EXPECT_EQ(AutoForm->SampleText->GetTextW().substr(0, 10), kRussian.substr(0, 10));
      AutoForm->BtnStop->Click();
    }
  });
  EXPECT_EQ(Text(), kRussian);
  EXPECT_NE(offered.find("KOI to WIN"), std::string::npos) << offered;
  EXPECT_EQ(CyrForm->Queue(), (TCyrChain{{3, 0}}));  // the accepted chain stays in the queue
  ASSERT_EQ(dialogs.Asked().size(), 1u);
  EXPECT_NE(dialogs.Asked()[0].Text.find("KOI to WIN"), std::string::npos);
  EXPECT_NE(dialogs.Asked()[0].Text.find("Search time: "), std::string::npos) << dialogs.Asked()[0].Text;
  EXPECT_TRUE(form->DocModified());
  ASSERT_FALSE(form->HistoryNames().empty());
  EXPECT_EQ(form->HistoryNames().back(), "Automatic decoding");
  EXPECT_FALSE(form->Busy());
}

TEST_F(CyrFormTest, OptionsButtonShowsTheProcessingOptionsWithStyles) {
  SpeedForm = new TSpeedForm(Application);
  SetText(u"text");
  bool enabled = false, shown = false, stylesEnabled = false;
  TTimer options(nullptr);
  options.SetInterval(1);
  options.OnTimer = [&](TObject*) {
    options.SetEnabled(false);
    shown = SpeedForm->Modal();
    stylesEnabled = SpeedForm->CBPreserveStyle->Enabled();
    SpeedForm->BtnClose->Click();
  };
  bool asked = false;
  RunDecoder([&] {
    if (asked || !CyrForm->Modal()) return;
    asked = true;
    enabled = CyrForm->Button2->Enabled();
    options.SetEnabled(true);
    if (enabled) CyrForm->Button2->Click();
    CyrForm->BtnClose->Click();
  });
  EXPECT_TRUE(enabled);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(stylesEnabled);
  EXPECT_EQ(Text(), u"text");
  delete SpeedForm;
}

TEST_F(CyrFormTest, QueueAndSimpleChangeFromTheWindow) {
  // The queue: DOS text; the sign "№" is no letter and stays as it is.
  SetText(Garbled(kRussian, 866) + u" \u2116 5");
  RunDecoder([&] {
    if (!CyrForm->Modal()) return;
    CyrForm->PageControl1->SetActivePage(CyrForm->TabQueue);
    CyrForm->Enc11->SetItemIndex(1);
    CyrForm->Enc12->SetItemIndex(0);
    CyrForm->BtnEnqueue->Click();
    CyrForm->BtnApplyAll->Click();
  });
  EXPECT_EQ(Text(), kRussian + u" \u2116 5");
  // The simple change: ISO to WIN, named in the history.
  form->ProcessingOptions().EnableHist = true;
  SetText(Garbled(kRussian, 28595));
  RunDecoder([&] {
    if (!CyrForm->Modal()) return;
    CyrForm->Enc1->SetItemIndex(2);
    CyrForm->Enc2->SetItemIndex(0);
    CyrForm->BtnApplyOne->Click();
  });
  EXPECT_EQ(Text(), kRussian);
  ASSERT_FALSE(form->HistoryNames().empty());
  EXPECT_EQ(form->HistoryNames().back(), "ISO to WIN");
}

TEST_F(CyrFormTest, SearchThatFindsNothingChangesNothing) {
  form->ProcessingOptions().EnableHist = true;
  const std::u16string text = u"Zq \u04341\u04342\u04343 end";  // digits in the word: no reading is Russian
  SetText(text);
  TScriptedDialogs dialogs;
  bool failShown = false;
  RunDecoder([&] {
    if (CyrForm->Modal()) {
      CyrForm->BtnAuto->Click();
    } else if (AutoForm->Modal()) {
      failShown = true;
      EXPECT_FALSE(AutoForm->BtnContinue->Enabled());  // six steps deep already
      EXPECT_FALSE(AutoForm->SampleText->Visible());
      AutoForm->BtnStop->Click();
    }
  });
  EXPECT_TRUE(failShown);
  EXPECT_EQ(Text(), text);
  EXPECT_FALSE(form->DocModified());  // a search that found nothing is no change
  EXPECT_TRUE(form->HistoryNames().size() <= 1u);  // at most the original text
  EXPECT_TRUE(dialogs.Asked().empty());
  EXPECT_FALSE(form->Busy());
}

TEST_F(CyrFormTest, PasteRussianDecodesAndKeepsWhatCodePage1251CannotHold) {
  ASSERT_TRUE(PrefForm->CBEncOnOpen->Checked());
  SetText(u"");
  Paste(u"\u03A9 " + Garbled(kRussian, 20866));
  EXPECT_EQ(Text(), u"\u03A9 " + kRussian);
  // Nothing to decode: the text comes as it is, also with the option off.
  SetText(u"");
  Paste(u"caf\u00E9 \U0001F600");
  EXPECT_EQ(Text(), u"caf\u00E9 \U0001F600");
  PrefForm->CBEncOnOpen->SetChecked(false);
  SetText(u"");
  Paste(u"caf\u00E9 " + Garbled(kRussian, 20866));
  EXPECT_EQ(Text(), u"caf\u00E9 " + Garbled(kRussian, 20866));
}

TEST_F(CyrFormTest, SilentPasteNeverAppliesAnEarlierQueue) {
  CyrForm->SetQueue({{3, 0}});  // left from an earlier decoding
  SetText(u"");
  const std::u16string text = u"Model \u0422-34, \u00A9 2024";  // one Cyrillic letter, nothing to decode
  Paste(text);
  EXPECT_EQ(Text(), text);
}

TEST_F(CyrFormTest, EncodingConversionKeepsCharactersOutsideCodePage1251) {
  SetText(u"caf\u00E9 \U0001F600 " + Garbled(kRussian, 20866));
  form->ConvFwdButtonClick(form->FindComponent("KOI8toWin12511"));
  EXPECT_EQ(Text(), u"caf\u00E9 \U0001F600 " + kRussian);
}

TEST_F(CyrFormTest, StopEndsADeepSearchAndLeavesTheText) {
  const std::u16string text = u"Zq \u04341\u04342\u04343 end";
  SetText(text);
  // The user confirms Stop while the search handles messages.
  SetProgressMessagePump([this] {
    if (form->Busy()) ProgressCancel();
  });
  bool asked = false;
  RunDecoder([&] {
    if (CyrForm->Modal()) CyrForm->BtnAuto->Click();
    if (AutoForm->Modal()) {
      asked = true;
      AutoForm->BtnStop->Click();
    }
  });
  SetProgressMessagePump(nullptr);
  EXPECT_FALSE(asked);  // stopped before the end: no status dialog
  EXPECT_EQ(CyrForm->LastSearch().Outcome, TCyrSearchOutcome::Stopped);
  EXPECT_EQ(Text(), text);
  EXPECT_FALSE(form->Busy());
}

}  // namespace
