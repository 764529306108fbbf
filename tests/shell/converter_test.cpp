// The format lists and the text converter protocol, end to end through the test converter
// library (tests/shell/converter_lib): registry lists, import on a worker thread, export,
// and the failures of each side.

#include <dlfcn.h>

#include "platform/locale.h"
#include "platform/registry.h"
#include "platform/streams.h"
#include "platform/gui/timer.h"
#include "shell/converter_list.h"
#include "tests/shell/open_save_test_env.h"
#include "textcore/rich_edit_lines.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

void RegisterConverter(const char* listKey, const std::string& subkey, const std::string& path,
                       const std::string& name, const std::string& extensions) {
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + listKey + "\\" + subkey, true));
  registry.WriteString("Path", path);
  registry.WriteString("Name", name);
  registry.WriteString("Extensions", extensions);
}

TEST(ConverterListTest, WithoutConvertersOnlyTheBuiltInFormatsAreListed) {
  TTestWorld world;
  TConverterList list;
  list.Load();
  EXPECT_EQ(list.BuildFilter(true),
            "All Files|*.*|Plain Text|*.txt;*.asc;*.me;*.1st;*.now;*.diz;*.nfo|"
            "Source Files|*.ini;*.inf;*.bat;*.qg;*.c;*.cpp;*.h;*.pas;*.pl;*.cgi;*.dpr|"
            "HTML as Text|*.shtml;*.shtm;*.inc;*.html;*.htm;*.htx;*.asp;*.xml|"
            "Backup Files|*.bak;*.~*|Rich Text Format|*.rtf");
  // Plain text is saved in the encoding chosen as its type, UTF-8 first.
  EXPECT_EQ(list.BuildFilter(false),
            "Plain Text (UTF-8)|*.*|Plain Text (Windows-1251)|*.*|Plain Text (DOS-866)|*.*|"
            "Plain Text (ISO-8859-5)|*.*|Plain Text (KOI-8)|*.*|Plain Text (Mac)|*.*|Plain Text (UTF-16)|*.*|"
            "Rich Text Format|*.rtf");
  EXPECT_EQ(list.FindTextExport(20866)->Number, 5);
  EXPECT_EQ(list.FindTextExport(437), nullptr);
  EXPECT_EQ(list.FindByNumber(6)->Class, "RTF");
  EXPECT_EQ(list.FindByNumber(7), nullptr);
  EXPECT_EQ(list.FindByClass(true, ".rtf"), list.FindByNumber(6));
}

TEST(ConverterListTest, ExtensionsAndExportFormatsAreMatched) {
  TTestWorld world;
  TConverterList list;
  list.Load();
  struct Case {
    const char* ext;
    std::vector<std::string> names;
  } cases[] = {
      {".NFO", {"Plain Text"}},
      {".~txt", {"Plain Text"}},
      {"~~.h", {"Source Files"}},
      {".bak", {"Backup Files"}},
      {".doc", {}},
      {"", {"All Files", "Plain Text", "Source Files", "HTML as Text", "Backup Files", "Rich Text Format"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ext);
    TStringList found;
    list.GetConverters(true, c.ext, found);
    std::vector<std::string> names;
    for (int i = 0; i < found.Count(); ++i) names.push_back(found[i]);
    EXPECT_EQ(names, c.names);
  }
  // Export formats for documents opened in each import format.
  const char* exports[] = {"Rich Text Format", "Plain Text (UTF-8)", "Plain Text (UTF-8)", "Plain Text (UTF-8)",
                           "Plain Text (UTF-8)", "Rich Text Format"};
  for (int n = 1; n <= 6; ++n) EXPECT_EQ(list.FindExport(list.FindByNumber(n))->Name, exports[n - 1]) << n;
  EXPECT_EQ(list.FindExport(nullptr), nullptr);
}

class ConverterTest : public OpenSaveWorld {
protected:
  void SetUp() override {
    RegisterConverter(ImportConvertersKey, "QmTest", QM_TEST_CONVERTER, "Test & Document", "qmd qmx");
    RegisterConverter(ExportConvertersKey, "QmTest", QM_TEST_CONVERTER, "Test & Document", "qmd qmx");
    RegisterConverter(ImportConvertersKey, "Unusable", Docs + "missing.so", "Broken Format", "brk");
    Make();
    library_ = ::dlopen(QM_TEST_CONVERTER, RTLD_NOW);
    ASSERT_NE(library_, nullptr);
  }
  void TearDown() override { ::dlclose(library_); }

  // A converter file holding the RTF of `text`.
  std::string ForeignFile(const std::u16string& text) {
    TRichEditW source(nullptr);
    source.SetLanguage(1049);
    source.SetTextW(text);
    source.SetOutputFormat(ofRTF);
    TStringStream stream;
    source.Lines()->SaveToStream(stream);
    return "QMDOC1\n" + stream.DataString();
  }
  template <class F>
  F Probe(const char* name) {
    return reinterpret_cast<F>(::dlsym(library_, name));
  }

  void* library_ = nullptr;
};

TEST_F(ConverterTest, InstalledConvertersJoinTheLists) {
  // An entry some other program damaged (its "Path" not a string) is left out; the rest load.
  TRegistry registry;
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  ASSERT_TRUE(registry.OpenKey(std::string("\\") + ImportConvertersKey + "\\Damaged", true));
  registry.WriteInteger("Path", 5);
  registry.CloseKey();
  OS->Converters().Load();

  const TConverterList& list = OS->Converters();
  ASSERT_EQ(list.Formats(true).Count(), 8);
  ASSERT_EQ(list.Formats(false).Count(), 9);
  TConverterRec* test = list.FindByNumber(7);
  EXPECT_EQ(test->Name, "Test & Document");
  EXPECT_EQ(test->Class, QM_TEST_CONVERTER);
  EXPECT_EQ(test->DefaultExt, "qmd");
  EXPECT_FALSE(test->BuiltIn);
  EXPECT_TRUE(Contains(list.BuildFilter(false), "|Test & Document|*.qmd;*.qmx"));
  EXPECT_EQ(list.FindExport(test)->Number, 9);
}

TEST_F(ConverterTest, ImportAndExportRunThroughTheProtocol) {
  // More than one transfer buffer of RTF.
  std::u16string text;
  while (text.size() < 9000) text += u"Строка текста номер " + std::u16string(1, char16_t(u'0' + text.size() % 10)) + u"\r";
  text += u"Конец";
  Write(Path("in.qmd"), ForeignFile(text));

  EXPECT_EQ(OS->OpenFile(Path("in.qmd")), 7);
  EXPECT_EQ(Editor->GetTextW(), text);
  EXPECT_FALSE(Editor->PlainText());
  EXPECT_EQ(OS->CurrentFormat()->Name, "Test & Document");
  EXPECT_EQ(Probe<int (*)()>("QmTestImportRanOnThisThread")(), 0);
  EXPECT_EQ(std::string(Probe<const char* (*)()>("QmTestLastProgramPath")()), AnsiUpperCase(Application->ExeName()));

  // Saved in its own format through the converter; Save As with its filter gives ".qmd".
  Type(text + u"!");
  ASSERT_TRUE(OS->Save());
  EXPECT_EQ(Read(Path("in.qmd")).substr(0, 13), "QMDOC1\n{\\rtf1");
  AnswerSaveAs(Path("out.txt"), 9);
  ASSERT_TRUE(OS->SaveAs());
  EXPECT_EQ(OS->FileName(), Path("out.qmd"));

  OS->New();
  EXPECT_EQ(OS->OpenFile(Path("out.qmd")), 7);
  EXPECT_EQ(Editor->GetTextW(), text + u"!");
  EXPECT_EQ(OS->FormatNumber(), 7);
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(ConverterTest, ImportProgressIsReportedAndStopEndsTheImport) {
  std::u16string text;
  while (text.size() < 9000) text += u"Строка текста SLOWIMPORT\r";
  Write(Path("slow.qmd"), ForeignFile(text));
  std::vector<int> percents;
  OS->Converters().OnImportProgress = [&](TObject*, int percent) {
    percents.push_back(percent);
    return false;
  };
  EXPECT_EQ(OS->OpenFile(Path("slow.qmd")), 7);
  ASSERT_GT(percents.size(), 1u);  // reported while the converter works, and at its end
  EXPECT_EQ(percents.back(), 100);
  EXPECT_EQ(Editor->GetTextW(), text);

  // Stop: the import ends, nothing is asked and the document stays as it was.
  Write(Path("a.txt"), "plain document");
  ASSERT_EQ(OS->OpenFile(Path("a.txt")), 2);
  OS->Converters().OnImportProgress = [](TObject*, int) { return true; };
  EXPECT_EQ(OS->OpenFile(Path("slow.qmd")), -1);
  EXPECT_EQ(Editor->GetTextW(), u"plain document");
  EXPECT_EQ(OS->FileName(), Path("a.txt"));
  EXPECT_TRUE(Dialogs.Unexpected().empty());
  OS->Converters().OnImportProgress = nullptr;
}

TEST_F(ConverterTest, ImportFailureLeavesTheDocumentItsNameAndItsFormat) {
  Write(Path("a.txt"), "plain document");
  ASSERT_EQ(OS->OpenFile(Path("a.txt")), 2);
  Write(Path("bad.qmd"), ForeignFile(u"FAILIMPORT"));

  Events.clear();
  EXPECT_EQ(OS->OpenFile(Path("bad.qmd")), -2);  // silent
  EXPECT_EQ(OS->Converters().LastError(), "The test converter failed.");
  AnswerMessage(mrOk);
  OS->OpenRecent(Path("bad.qmd"), 7);  // says so
  EXPECT_TRUE(Contains(Messages().back(), "Access to this file is denied"));

  EXPECT_EQ(Editor->GetTextW(), u"plain document");
  EXPECT_EQ(OS->FileName(), Path("a.txt"));
  EXPECT_EQ(OS->CurrentFormat()->Name, "Plain Text");
  EXPECT_EQ(Events, "open-failure open-failure ");
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(ConverterTest, FilesNotInTheFormatAndUnusableConvertersFallBackToText) {
  // The converter does not claim the file: offered as text.
  Write(Path("fake.qmd"), "just text");
  AnswerMessage(mrYes);
  EXPECT_EQ(OS->OpenFile(Path("fake.qmd")), 2);
  EXPECT_EQ(Messages().back(), "File format is not recognized.\rDo you want to open it as text?");
  EXPECT_EQ(Editor->GetTextW(), u"just text");

  // RTF under the converter's extension is read as RTF and keeps the converter's format.
  Write(Path("rich.qmd"), "{\\rtf1 rich text}");
  EXPECT_EQ(OS->OpenFile(Path("rich.qmd")), 7);
  EXPECT_EQ(Editor->GetTextW(), u"rich text");
  EXPECT_FALSE(Editor->PlainText());

  // A converter library that cannot be loaded.
  Write(Path("x.brk"), "broken");
  AnswerMessage(mrOk);
  AnswerMessage(mrCancel);
  EXPECT_EQ(OS->OpenFile(Path("x.brk")), -1);
  ASSERT_GE(Messages().size(), 2u);
  EXPECT_EQ(Messages()[Messages().size() - 2], "Please report: InitConverter failed");
  EXPECT_EQ(OS->FileName(), Path("rich.qmd"));
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(ConverterTest, ExportFailureKeepsTheOldFileAndSaysSo) {
  Write(Path("doc.qmd"), ForeignFile(u"first version"));
  ASSERT_EQ(OS->OpenFile(Path("doc.qmd")), 7);
  const std::string before = Read(Path("doc.qmd"));
  Type(u"FAILEXPORT second version");
  AnswerMessage(mrCancel);
  EXPECT_FALSE(OS->Save());
  EXPECT_EQ(Messages().back(),
            "File \"doc.qmd\" was open as \"Test && Document\" but cannot be saved in this format.\r"
            "Do you want to save in some other format?");
  EXPECT_FALSE(OS->Saved());
  EXPECT_TRUE(Doc.Modified());
  EXPECT_EQ(Read(Path("doc.qmd")), before);
  EXPECT_EQ(ListDirectory(Docs).size(), 1u);  // no half-written file left
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(ConverterTest, InterfaceKeepsHandlingMessagesDuringAnImport) {
  Write(Path("slow.qmd"), ForeignFile(u"SLOWIMPORT text"));
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(20);
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetEnabled(true);
  EXPECT_EQ(OS->OpenFile(Path("slow.qmd")), 7);
  EXPECT_GT(ticks, 0);
  EXPECT_EQ(Editor->GetTextW(), u"SLOWIMPORT text");
}

}  // namespace
