// Objects of the text opened with the desktop's program: the private copy of an embedded file or
// a picture, a link's own file, and the main window's commands (context menu, Edit menu, double
// click) with the desktop replaced, in the window and in the real program (whose test script
// records what would open); the insert commands each put in their own kind of object.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/exceptions.h"
#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/menus.h"
#include "platform/gui/properties.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/shell_open.h"
#include "platform/rich_text.h"
#include "platform/rtf_reader.h"
#include "shell/lang_messages.h"
#include "shell/language.h"
#include "shell/main_form.h"
#include "shell/object_open.h"
#include "tests/shell/preferences_test_env.h"
#include "tests/shell/program_test_util.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_messages.h"

namespace {

TRichObject Embedded(const std::string& bytes) {
  TRichObject object;
  object.Kind = TRichObjectKind::Embedded;
  object.ClassName = "Package";
  object.ObjectData = bytes;
  return object;
}

TEST(ObjectOpen, TheCopyIsNamedAfterWhatItHolds) {
  TRichObject picture;
  picture.Picture.Format = TPictureFormat::Jpeg;
  struct Case {
    TRichObject object;
    const char* name;
  };
  const Case cases[] = {
      {Embedded("%PDF-1.4 ..."), "object.pdf"},
      {Embedded("{\\rtf1 hello}"), "object.rtf"},
      {Embedded("PK\x03\x04 zipped"), "object.zip"},
      {Embedded("plain text, \xd0\xbf\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82\n"), "object.txt"},
      {Embedded(std::string("bin\0ary", 7)), "object.bin"},
      {Embedded("\xff\xfe broken"), "object.bin"},
      {Embedded(""), "object.bin"},
      {picture, "object.jpg"},
  };
  for (const Case& c : cases) EXPECT_EQ(ObjectCopyName(c.object), c.name) << c.object.ObjectData;
}

TEST(ObjectOpen, AnEmbeddedFileOpensAsAPrivateCopyAndALinkAsItsFile) {
  const std::string bytes = std::string("%PDF-1.4\0\x01\x02", 11);
  const std::string first = ObjectOpenPath(Embedded(bytes));
  const std::string second = ObjectOpenPath(Embedded(bytes));
  EXPECT_NE(first, second) << "each open gets a copy of its own";
  for (const std::string& path : {first, second}) {
    EXPECT_EQ(ReadFileBytes(path), bytes);
    EXPECT_EQ(std::filesystem::path(path).extension(), ".pdf");
  }
  const std::filesystem::path folder = std::filesystem::path(first).parent_path();
  EXPECT_EQ(folder, std::filesystem::path(UserRuntimeFolder()) / "quillomark-objects");
  struct stat info {};
  ASSERT_EQ(::stat(folder.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);

  TRichObject link;
  link.Kind = TRichObjectKind::Link;
  link.ObjectData = "/home/user/report.odt";
  EXPECT_EQ(ObjectOpenPath(link), "/home/user/report.odt");

  // A folder others can read is not used for a copy.
  ::chmod(folder.c_str(), 0755);
  EXPECT_THROW(ObjectOpenPath(Embedded(bytes)), EFCreateError);
  ::chmod(folder.c_str(), 0700);
}

class ObjectCommandsTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    world.WriteProgramFile("english.lng", ReadFileBytes(std::string(QM_SOURCE_DIR) + "/data/english.lng"));
    language.Forms()->Add("ObjectPropsForm");  // translated as it is made, as the program's list says
    language.SetAutoLoad(true);
    language.SetLanguageFile("english.lng");
    SetLangMessageSource(&language);
    main = new TMainForm(Application);
    SetShellOpenHandler([this](const std::string& target) {
      opened.push_back(target);
      return desktopOpens;
    });
    const std::string file = world.ProgramFolder + "notes.txt";
    WriteFileAtomic(file, "the notes\n");
    main->Editor->SetTextW(u"ab");
    main->Editor->SetSelStart(1);
    main->Editor->CreateObjectFromFile(file, false);
    ASSERT_EQ(main->Editor->Control().ObjectCount(), 1);
    objectAt = main->Editor->Control().ObjectPosition(0);
  }
  void TearDown() override {
    SetShellOpenHandler(nullptr);
    SetLangMessageSource(nullptr);
    TComponent::Free(main);
    EXPECT_TRUE(dialogs.Unexpected().empty());
  }
  // Runs the context menu's set-up, as right before it shows.
  void PopUp() { main->PopupMenu1->OnPopup(main->PopupMenu1); }

  TTestWorld world;
  TScriptedDialogs dialogs;
  TLanguage language{nullptr};
  TMainForm* main = nullptr;
  int objectAt = 0;
  std::vector<std::string> opened;
  bool desktopOpens = true;
};

TEST_F(ObjectCommandsTest, OpenAndPropertiesAreOfferedOnlyForASelectedObject) {
  main->Editor->SetSelStart(0);
  main->Editor->SetSelLength(1);
  PopUp();
  EXPECT_FALSE(main->ObjectOpen1->Visible());
  EXPECT_FALSE(main->ObjectProperties2->Visible());
  main->EditUndoCmdUpdate(main);
  EXPECT_FALSE(main->ObjectProperties1->Enabled());

  main->Editor->SetSelStart(objectAt);
  main->Editor->SetSelLength(1);
  PopUp();
  EXPECT_TRUE(main->ObjectOpen1->Visible());
  EXPECT_TRUE(main->ObjectProperties2->Visible());
  main->EditUndoCmdUpdate(main);
  EXPECT_TRUE(main->ObjectProperties1->Enabled());

  main->ObjectOpen1->Click();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(ReadFileBytes(opened[0]), "the notes\n");
  EXPECT_EQ(std::filesystem::path(opened[0]).extension(), ".txt");

  // The properties window shows from both menus; Cancel changes nothing.
  std::vector<std::string> shown;
  for (TMenuItem* item : {main->ObjectProperties1, main->ObjectProperties2}) {
    dialogs.Answer(TDialogKind::Form, mrCancel, [&](TDialogRequest& r) { shown.push_back(r.Form->Caption()); });
    item->Click();
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"Package Properties", "Package Properties"}));

  // A desktop without a program for it is said so.
  desktopOpens = false;
  dialogs.Answer(TDialogKind::MessageDlg, mrOk);
  main->ObjectOpen1->Click();
  EXPECT_EQ(dialogs.Asked().back().Text, "No program on this computer opens this object.");
}

TEST_F(ObjectCommandsTest, ADoubleClickOnTheObjectOpensIt) {
  main->Show();
  const auto [x, y] = main->Editor->Control().PosFromChar(objectAt);
  main->Editor->SetSelStart(0);
  main->Editor->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(x + 4, y + 4));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(ReadFileBytes(opened[0]), "the notes\n");
  EXPECT_EQ(main->Editor->SelStart(), objectAt);
  EXPECT_EQ(main->Editor->SelLength(), 1);
  // On text a double click opens nothing.
  const auto [tx, ty] = main->Editor->Control().PosFromChar(0);
  main->Editor->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(tx + 1, ty + 4));
  EXPECT_EQ(opened.size(), 1u);
  main->Hide();
}

TEST_F(ObjectCommandsTest, TheObjectDialogsSpeakTheInterfaceLanguage) {
  world.WriteProgramFile("russian.lng", ReadFileBytes(std::string(QM_SOURCE_DIR) + "/data/russian.lng"));
  language.SetLanguageFile("russian.lng");
  main->Editor->SetSelStart(objectAt);
  main->Editor->SetSelLength(1);
  std::string caption, typeLabel;
  dialogs.Answer(TDialogKind::Form, mrCancel, [&](TDialogRequest& r) {
    caption = r.Form->Caption();
    typeLabel = GetStrProp(*r.Form->FindComponent("TypeLabel"), "Caption");
  });
  main->ObjectProperties1->Click();
  EXPECT_EQ(caption, "\xd1\xe2\xee\xe9\xf1\xf2\xe2\xe0: Package");  // "Свойства: Package"
  EXPECT_EQ(typeLabel, "\xd2\xe8\xef:");                            // "Тип:"
}

}  // namespace

namespace {

using namespace std::chrono_literals;

std::string Hex(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (const unsigned char c : bytes) hex += {digits[c >> 4], digits[c & 15]};
  return hex;
}

// The real program with a document that starts with an embedded file and ends with a linked
// one: the context menu opens each (the embedded one as a private copy), a double click opens
// the first, and Object Properties shows from the Edit menu and the context menu. The desktop
// is replaced by the script's recorder: no desktop program starts.
TEST(ObjectsEndToEnd, OpenFromTheMenusAndByADoubleClickPropertiesFromBoth) {
  ProgramFolders f;
  const std::string embedded = "the embedded notes\n";
  f.Write("linked.txt", "the linked notes\n");
  f.Write("objects.rtf", "{\\rtf1\\ansi {\\object\\objemb\\objw600\\objh600{\\*\\objclass Package}{\\*\\objdata " +
                             Hex(embedded) + "}} middle {\\object\\objlink\\objw600\\objh600{\\*\\objclass Package}"
                             "{\\*\\objdata " + Hex(f.Path("linked.txt")) + "}}\\par}");
  f.Write("run.script",
          "wait-text middle\n"
          "record-opens " + f.Path("opened.txt") + "\n"
          "key Ctrl+Home\n"
          "key Shift+Right\n"
          "click ObjectOpen1\n"
          "answer form 2\n"
          "click ObjectProperties1\n"
          "asked Package Properties\n"
          "answer form 2\n"
          "click ObjectProperties2\n"
          "key Ctrl+End\n"
          "key Shift+Left\n"
          "click ObjectOpen1\n"
          // A double click on the first object (a press, a release, a second press and its release).
          "key Ctrl+End\n"
          "mouse press Editor 12 12\n"
          "mouse release Editor 12 12\n"
          "mouse double Editor 12 12\n"
          "mouse release Editor 12 12\n"
          "close\n");
  ProgramRun run({f.Path("objects.rtf")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(60s), 0) << run.Stderr();
  std::istringstream lines(ProgramRun::ReadText(f.Path("opened.txt")));
  std::vector<std::string> opened;
  for (std::string line; std::getline(lines, line);) opened.push_back(line);
  ASSERT_EQ(opened.size(), 3u) << ProgramRun::ReadText(f.Path("opened.txt"));
  EXPECT_EQ(ProgramRun::ReadText(opened[0]), embedded);
  EXPECT_EQ(std::filesystem::path(opened[0]).parent_path(), std::filesystem::path(f.Path("run")) / "quillomark-objects");
  EXPECT_EQ(opened[1], f.Path("linked.txt"));
  EXPECT_EQ(ProgramRun::ReadText(opened[2]), embedded);
  EXPECT_NE(opened[2], opened[0]) << "each open gets a copy of its own";
}

}  // namespace

namespace {

// Format > Insert: Picture... puts in the chosen picture, Create From File... embeds the chosen
// file and Link To File... links it; each is kept in the saved document.
TEST(ObjectsEndToEnd, EachInsertCommandPutsInItsOwnKindOfObject) {
  ProgramFolders f;
  std::filesystem::copy_file(std::string(QM_FIXTURES_DIR) + "/rtf/dot.png", f.Path("dot.png"));
  f.Write("notes.txt", "the notes\n");
  f.Write("doc.rtf", "{\\rtf1\\ansi hello\\par}");
  f.Write("run.script",
          "wait-text hello\n"
          "answer openfile 1 " + f.Path("dot.png") + "\n"
          "click InsertPicture1\n"
          "answer openfile 1 " + f.Path("notes.txt") + "\n"
          "click ObjectFromFile\n"
          "answer openfile 1 " + f.Path("notes.txt") + "\n"
          "click LinkToFile\n"
          "click FileSaveCmd\n"
          "close\n");
  ProgramRun run({f.Path("doc.rtf")}, f.Env("run.script"));
  ASSERT_EQ(run.Wait(30s), 0) << run.Stderr();
  const TRichDocument document = ReadRtf(ProgramRun::ReadText(f.Path("doc.rtf")));
  std::vector<TRichObjectKind> kinds;
  std::vector<std::string> data;
  for (const TRichParagraph& p : document.Paragraphs)
    for (const TRichRun& r : p.Runs)
      if (r.Object) {
        kinds.push_back(r.Object->Kind);
        data.push_back(r.Object->ObjectData);
      }
  ASSERT_EQ(kinds.size(), 3u);
  EXPECT_EQ(kinds[0], TRichObjectKind::Picture);
  EXPECT_EQ(kinds[1], TRichObjectKind::Embedded);
  EXPECT_EQ(data[1], "the notes\n");
  EXPECT_EQ(kinds[2], TRichObjectKind::Link);
  EXPECT_EQ(data[2], f.Path("notes.txt"));
}

}  // namespace
