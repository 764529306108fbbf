// The global actions: the action table, the text transforms, the hot-key list, the clipboard
// round trip with a stand-in for the foreground application, and the actions through the main
// window.
#include <gtest/gtest.h>

#include <map>

#include "platform/gui/clipboard.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/hot_key_service.h"
#include "platform/gui/x11_hotkeys.h"
#include "shell/foreign_text.h"
#include "shell/global_actions.h"
#include "shell/sys_hot_key.h"
#include "tests/shell/operation_test_fixture.h"
#include "tools/quick_form.h"

namespace {

// The desktop's hot keys as a test sees them: what is registered, and keys another program holds.
struct THotKeyDesk {
  std::map<int, std::pair<uint16_t, unsigned>> Registered;
  uint16_t Taken = 0xFFFF;
  THotKeyService* Service = nullptr;
  void Press(int id) { Service->OnPressed(id); }
};

class TFakeHotKeys : public THotKeyService {
public:
  explicit TFakeHotKeys(THotKeyDesk& desk) : desk_(desk) { desk.Service = this; }
  bool Register(int id, uint16_t key, unsigned modifiers) override {
    if (key == desk_.Taken) return false;
    desk_.Registered[id] = {key, modifiers};
    return true;
  }
  void Unregister(int id) override { desk_.Registered.erase(id); }

private:
  THotKeyDesk& desk_;
};

// Another application with a selection: it answers the copy keys from `AnswersFrom` on (1 both,
// 2 Ctrl+C only, 0 none) and takes what is pasted as its new selection.
class TFakeApp : public TForeignApp {
public:
  std::u16string Selection;
  int AnswersFrom = 1;
  bool Front = false, Focused = true;
  std::vector<std::string> Keys;
  std::function<void()> OnCopy;  // the user acting while the copy is awaited

  bool InFront(TCustomForm&) override { return Front; }
  bool TakeFocus() override { return Focused; }
  void SendCopy(int method) override {
    Keys.push_back(method == 1 ? "Ctrl+Insert" : "Ctrl+C");
    if (OnCopy) OnCopy();
    if (AnswersFrom != 0 && method >= AnswersFrom) Clipboard()->SetAsUnicodeText(Selection);
  }
  void SendPaste(int method) override {
    Keys.push_back(method == 1 ? "Shift+Insert" : "Ctrl+V");
    Selection = Clipboard()->AsUnicodeText();
  }
  void Refocus() override {}
};

const unsigned kRtf = RegisterClipboardFormat("Rich Text Format");

// The user's clipboard before an action: text and a format beside it.
void PutUsersClipboard() {
  Clipboard()->Open();
  Clipboard()->SetAsUnicodeText(u"the user's own");
  Clipboard()->SetAsBytes(kRtf, "{\\rtf1 own}");
  Clipboard()->Close();
}

void ExpectUsersClipboard() {
  EXPECT_EQ(Clipboard()->AsUnicodeText(), u"the user's own");
  EXPECT_EQ(Clipboard()->GetAsBytes(kRtf), "{\\rtf1 own}");
}

TEST(GlobalActions, EachActionHasItsStepForAnotherApplicationAndForTheMainWindow) {
  using T = TForeignTransform;
  struct Case {
    int action;
    bool foreign;
    TGlobalStep::TKind kind;
    T transform;
    int source, target;
  };
  const Case cases[] = {
      {0, true, TGlobalStep::RoundTrip, T::QuickPanel, 0, 0},
      {0, false, TGlobalStep::Nothing, T::QuickPanel, 0, 0},
      {1, true, TGlobalStep::RoundTrip, T::OpenInEditor, 0, 0},
      {1, false, TGlobalStep::Nothing, T::QuickPanel, 0, 0},
      {2, true, TGlobalStep::RoundTrip, T::KeyboardLayout, 0, 0},
      {2, false, TGlobalStep::RoundTrip, T::KeyboardLayout, 0, 0},
      {4, true, TGlobalStep::RoundTrip, T::DeTransliterate, 0, 0},
      {5, false, TGlobalStep::OwnCommand, T::QuickPanel, 0, 0},
      {6, true, TGlobalStep::RoundTrip, T::Recode, 0, 1},
      {9, true, TGlobalStep::RoundTrip, T::Recode, 0, 4},
      {10, true, TGlobalStep::RoundTrip, T::Recode, 1, 0},
      {12, true, TGlobalStep::RoundTrip, T::Recode, 3, 0},
      {13, false, TGlobalStep::Nothing, T::QuickPanel, 0, 0},
      {14, true, TGlobalStep::RoundTrip, T::Template, 0, 0},
      {15, true, TGlobalStep::Nothing, T::QuickPanel, 0, 0},
      {-1, true, TGlobalStep::Nothing, T::QuickPanel, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.action) + (c.foreign ? " foreign" : " in front"));
    const TGlobalStep step = GlobalActionStep(c.action, c.foreign);
    EXPECT_EQ(step.Kind, c.kind);
    if (step.Kind != TGlobalStep::RoundTrip) continue;
    EXPECT_EQ(step.Transform, c.transform);
    EXPECT_EQ(step.Source, c.source);
    EXPECT_EQ(step.Target, c.target);
  }
  EXPECT_EQ(GlobalActionStep(5, false).Command, TOwnCommand::TextCleanup);
}

TEST(GlobalActions, RecodeAndTemplateKeepWhatTheCodePageLacks) {
  EXPECT_EQ(RecodeForeignText(Garbled(kRussian, 20866), 3, 0), kRussian);
  EXPECT_EQ(RecodeForeignText(kRussian, 0, 3), Garbled(kRussian, 20866));
  // Greek and a character beyond the BMP stay, whatever their bytes would have become.
  EXPECT_EQ(RecodeForeignText(u"\u03a9 " + Garbled(u"мир", 866) + u" \U0001F600?", 1, 0), u"\u03a9 мир \U0001F600?");
  EXPECT_EQ(RecodeForeignText(u"", 3, 0), u"");
  EXPECT_EQ(ApplyTemplate(u"[$]", u"word"), u"[word]");
  EXPECT_EQ(ApplyTemplate(u"$-$", u"ab"), u"ab-ab");
  EXPECT_EQ(ApplyTemplate(u"", u"word"), u"");
}

TEST(SysHotKey, KeyTableMapsBothWaysAndOutsideKeysGiveIndexZero) {
  const std::pair<int, uint16_t> cases[] = {{0, 0},     {1, 0x03},   {9, 0x20},  {23, 0x2F}, {24, '0'},
                                            {34, 'A'},  {59, 'Z'},   {60, 0x60}, {75, 0x6F}, {76, 0x70},
                                            {99, 0x87}, {100, 0x90}, {101, 0x91}};
  for (auto [index, key] : cases) {
    EXPECT_EQ(HotKeyVirtualKey(index), key) << index;
    if (index) {
      EXPECT_EQ(HotKeyIndexOf(key), index) << index;
    }
  }
  EXPECT_EQ(HotKeyIndexOf(0xBA), 0);  // a punctuation key
  EXPECT_EQ(HotKeyVirtualKey(102), 0);
  // Every key of the table has its X11 key, so the desktop can be asked for it.
  for (int index = 1; index <= 101; ++index)
    EXPECT_NE(VirtualKeyToKeysym(HotKeyVirtualKey(index)), 0u) << index;
  EXPECT_EQ(VirtualKeyToKeysym(0x1B), 0xff1bu);  // Esc
  EXPECT_EQ(VirtualKeyToKeysym(0x69), 0xffb9u);  // keypad 9
  EXPECT_EQ(VirtualKeyToKeysym(0x6F), 0xffafu);  // keypad /
}

TEST(SysHotKey, ActiveListRegistersUnderPlacesAndReportsPresses) {
  THotKeyDesk desk;
  TSysHotKey keys(std::make_unique<TFakeHotKeys>(desk));
  std::vector<int> pressed;
  keys.OnHotKey = [&](int index) { pressed.push_back(index); };
  keys.Add(HotKeyIndexOf('K'), 7);
  EXPECT_TRUE(desk.Registered.empty()) << "inactive";
  desk.Taken = VK_SCROLL;
  keys.SetActive(true);
  keys.Add(HotKeyIndexOf(VK_SCROLL), 0);  // another program holds it
  keys.Add(HotKeyIndexOf(VK_F1), 2);
  EXPECT_EQ(desk.Registered, (std::map<int, std::pair<uint16_t, unsigned>>{{0, {'K', 7}}, {2, {VK_F1, 2}}}));
  EXPECT_FALSE(keys.Records()[1].Registered);
  desk.Press(2);
  EXPECT_EQ(pressed, std::vector<int>{2});

  keys.SetActive(false);
  EXPECT_TRUE(desk.Registered.empty());
  desk.Press(0);
  EXPECT_EQ(pressed.size(), 1u) << "an inactive list reports nothing";
  desk.Taken = 0xFFFF;
  keys.SetActive(true);
  EXPECT_EQ(desk.Registered.size(), 3u) << "the same ids again";
  keys.Clear();
  EXPECT_TRUE(desk.Registered.empty());
  EXPECT_TRUE(keys.Records().empty());
}

// The round trip for applications that answer different keys, with and without a cancel: what
// was sent, what the application ends with, and the user's clipboard afterwards.
TEST(ForeignText, RoundTripPastesWithTheMatchingKeyAndGivesTheClipboardBack) {
  EnsureGuiApplication();
  struct Case {
    int answersFrom;
    bool focused, cancel;
    int method;
    std::vector<std::string> keys;
    std::u16string after;
  };
  const Case cases[] = {
      {1, true, false, 1, {"Ctrl+Insert", "Shift+Insert"}, u"<text>"},
      {2, true, false, 2, {"Ctrl+Insert", "Ctrl+C", "Ctrl+V"}, u"<text>"},
      {1, true, true, 1, {"Ctrl+Insert"}, u"text"},
      {0, true, false, 0, {"Ctrl+Insert", "Ctrl+C"}, u"text"},
      {1, false, false, 0, {}, u"text"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.answersFrom) + (c.focused ? "" : " no focus") + (c.cancel ? " cancel" : ""));
    TFakeApp app;
    app.Selection = u"text";
    app.AnswersFrom = c.answersFrom;
    app.Focused = c.focused;
    PutUsersClipboard();
    std::u16string seen;
    const int method = RoundTripForeignText(
        app,
        [&](const std::u16string& text, bool& cancel, std::u16string& result) {
          seen = text;
          result = u"<" + text + u">";
          cancel = c.cancel;
        },
        TForeignWaits{30, 0, 0});
    EXPECT_EQ(method, c.method);
    EXPECT_EQ(app.Keys, c.keys);
    EXPECT_EQ(app.Selection, c.after);
    EXPECT_EQ(seen, method ? u"text" : u"");
    ExpectUsersClipboard();
  }
}

TEST(ForeignText, FailingTransformStillGivesTheClipboardBack) {
  EnsureGuiApplication();
  TFakeApp app;
  app.Selection = u"text";
  PutUsersClipboard();
  EXPECT_THROW(RoundTripForeignText(
                   app, [](const std::u16string&, bool&, std::u16string&) { throw std::runtime_error("broken"); },
                   TForeignWaits{30, 0, 0}),
               std::runtime_error);
  ExpectUsersClipboard();
}

// The main window with a stand-in desktop: hot keys from the preferences' rows, and the actions
// they start.
class GlobalActionsTest : public OperationTest {
protected:
  void SetUp() override {
    OperationTest::SetUp();
    form->UseHotKeyService(std::make_unique<TFakeHotKeys>(desk));
    auto owned = std::make_unique<TFakeApp>();
    app = owned.get();
    form->UseForeignApp(std::move(owned));
    form->ForeignWaits = {50, 0, 0};
    std::vector<THotKey> keys;
    for (int i = 0; i < kGlobalActionCount; ++i) keys.push_back(RowHotKey({DefaultHotKeyText(i), true}));
    form->ApplyGlobalHotKeys(keys);
    PutUsersClipboard();
  }
  THotKeyDesk desk;
  TFakeApp* app = nullptr;
};

TEST_F(GlobalActionsTest, EveryActionHasItsHotKeyAndARefusedSessionEndKeepsThem) {
  EXPECT_EQ(desk.Registered.size(), size_t(kGlobalActionCount));
  EXPECT_EQ(desk.Registered[12], (std::pair<uint16_t, unsigned>{'K', hkShift | hkCtrl | hkAlt}));
  EXPECT_EQ(desk.Registered[14], (std::pair<uint16_t, unsigned>{'A', hkShift | hkCtrl}));

  TScriptedDialogs dialogs;
  Application->SetMainForm(form);
  SetText(u"unsaved work");
  form->SetModified(true);
  dialogs.Answer(TDialogKind::MessageDlg, mrCancel);
  EXPECT_FALSE(Application->QueryEndSession());
  Application->SetMainForm(nullptr);
  EXPECT_EQ(desk.Registered.size(), size_t(kGlobalActionCount)) << "the program goes on, and so do its keys";
}

TEST_F(GlobalActionsTest, HotKeysConvertTheOtherApplicationsSelection) {
  struct Case {
    int action;
    std::u16string selection, editor, after;
  };
  const Case cases[] = {
      {12, Garbled(kRussian, 20866), u"", kRussian},  // Decode from KOI
      {6, u"мир", u"", Garbled(u"мир", 866)},           // Convert to DOS
      {14, u"word", u"[$]", u"[word]"},                 // Apply Template
      {3, u"Жук", u"", u"Zhuk"},                        // Transliterate
      {2, u"ghbdtn", u"", u"привет"},                   // Switch keyboard layout
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    SetText(c.editor);
    app->Selection = c.selection;
    app->Keys.clear();
    desk.Press(c.action);
    EXPECT_EQ(app->Selection, c.after);
    EXPECT_EQ(app->Keys, (std::vector<std::string>{"Ctrl+Insert", "Shift+Insert"}));
    EXPECT_EQ(Text(), c.editor) << "the main window's text stays";
    ExpectUsersClipboard();
    EXPECT_FALSE(form->GlobalActionRunning());
  }
}

TEST_F(GlobalActionsTest, InFrontOnlyTheWindowsOwnCommandsRun) {
  app->Front = true;
  SetText(u"Жук");
  desk.Press(1);   // Open in Quillomark: nothing
  desk.Press(12);  // Decode from KOI: nothing
  EXPECT_TRUE(app->Keys.empty());
  EXPECT_EQ(Text(), u"Жук");
  desk.Press(3);  // Transliterate: the editor's own text
  EXPECT_EQ(Text(), u"Zhuk");
  EXPECT_TRUE(app->Keys.empty());
}

TEST_F(GlobalActionsTest, HotKeysDuringAnActionOrAnOperationAreDropped) {
  app->Selection = u"мир";
  int nested = 0;
  app->OnCopy = [&] {
    if (nested++ == 0) desk.Press(12);  // a second hot key while the first waits for the copy
  };
  desk.Press(6);
  EXPECT_EQ(app->Keys, (std::vector<std::string>{"Ctrl+Insert", "Shift+Insert"}));
  EXPECT_EQ(app->Selection, Garbled(u"мир", 866));

  // While an operation handles messages, a hot key neither copies nor touches its work text.
  app->Keys.clear();
  app->OnCopy = nullptr;
  SetText(Garbled(kRussian, 20866));
  int pumped = 0;
  WhilePumping([&] {
    ++pumped;
    desk.Press(12);
  });
  Click("KOI8toWin12511");
  EXPECT_GT(pumped, 0);
  EXPECT_EQ(Text(), kRussian);
  EXPECT_TRUE(app->Keys.empty());
  ExpectUsersClipboard();
}

TEST_F(GlobalActionsTest, OpenInEditorAndTheQuickPanelsLoadStartANewDocument) {
  new TQuickForm(Application);
  ASSERT_NE(QuickForm, nullptr);
  TScriptedDialogs dialogs;
  for (int action : {1, 0}) {
    SCOPED_TRACE(action);
    SetText(u"old");
    app->Selection = u"copied " + std::u16string(1, char16_t(u'0' + action));
    app->Keys.clear();
    if (action == 0) dialogs.Answer(TDialogKind::Form, mrOk);  // the quick panel's "Load"
    desk.Press(action);
    EXPECT_EQ(Text(), app->Selection);
    EXPECT_EQ(app->Keys, std::vector<std::string>{"Ctrl+Insert"}) << "nothing pasted";
    ExpectUsersClipboard();
  }
  // Its conversion of the editor's text goes back into the other application.
  app->Selection = u"ghbdtn";
  dialogs.AnswerRest([](TDialogRequest& request) {
    QuickForm->Editor->SetTextW(u"привет");
    request.Result = kQuickEditorDone;
  });
  desk.Press(0);
  EXPECT_EQ(app->Selection, u"привет");
  TComponent::Free(QuickForm);
}

}  // namespace
