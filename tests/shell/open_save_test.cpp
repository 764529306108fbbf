// Opening and saving documents: formats, names, backups, recovery copies, settings and the
// failure paths, with real files in a private folder and scripted dialogs.

#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "platform/code_pages.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/string_list.h"
#include "shell/memory_status.h"
#include "shell/open_save_messages.h"
#include "shell/plain_text.h"
#include "tests/shell/open_save_test_env.h"
#include "textcore/rich_edit_attributes.h"

namespace {

const std::u16string kRussian = u"Привет, мир!\rВторая строка — «ёлки»";

using OpenSaveTest = OpenSaveWorld;

// Save As filter indexes: plain text in UTF-8, Windows-1251, DOS-866, ISO-8859-5, KOI-8, Mac and
// UTF-16, then RTF.
constexpr int kWindows1251 = 2, kRtf = 8;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

void SetFileTime(const std::string& file, std::filesystem::file_time_type time) {
  std::filesystem::last_write_time(NativePath(file), time);
}

TEST_F(OpenSaveTest, PlainTextRoundTripInCodePage1251) {
  Type(kRussian);
  AnswerSaveAs(Path("note.txt"), kWindows1251);
  ASSERT_TRUE(OS->SaveAs());
  // A new plain-text document ends its lines as this platform does: LF.
  EXPECT_EQ(Read(Path("note.txt")), WideToAnsi(u"Привет, мир!\nВторая строка — «ёлки»", 1251));
  EXPECT_EQ(OS->FileName(), Path("note.txt"));
  EXPECT_FALSE(Doc.Modified());
  EXPECT_EQ(Events, "save-success ");

  OS->New();
  EXPECT_EQ(Editor->GetTextW(), u"");
  EXPECT_EQ(OS->OpenFile(Path("note.txt")), 2);
  EXPECT_EQ(Editor->GetTextW(), kRussian);
  EXPECT_TRUE(Editor->PlainText());
  EXPECT_EQ(OS->CurrentFormat()->Name, "Plain Text");
  EXPECT_EQ(OS->FormatNumber(), 2);
  EXPECT_FALSE(Doc.Modified());
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, RtfRoundTripKeepsFormatting) {
  Type(kRussian);
  Editor->SetSelStart(0);
  Editor->SetSelLength(6);
  Editor->SelAttributes()->SetStyle(fsBold);
  AnswerSaveAs(Path("styled.doc"), kRtf);
  ASSERT_TRUE(OS->SaveAs());
  EXPECT_EQ(OS->FileName(), Path("styled.rtf"));
  EXPECT_TRUE(IsRTFFile(Path("styled.rtf")));

  OS->New();
  EXPECT_EQ(OS->OpenFile(Path("styled.rtf")), 6);
  EXPECT_EQ(Editor->GetTextW(), kRussian);
  EXPECT_FALSE(Editor->PlainText());
  Editor->SetSelStart(1);
  Editor->SetSelLength(2);
  EXPECT_EQ(Editor->SelAttributes()->Style() & fsBold, fsBold);
  Editor->SetSelStart(8);
  Editor->SetSelLength(2);
  EXPECT_EQ(Editor->SelAttributes()->Style() & fsBold, 0u);
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, PlainTextTheCodePageCannotHoldAsksBeforeAnythingIsLost) {
  const std::u16string text = u"Ελλάδα и Россия";  // Greek letters are not in code page 1251
  Type(text);

  // Cancel: nothing written, the document stays modified.
  AnswerSaveAs(Path("greek.txt"), kWindows1251);
  AnswerMessage(mrCancel);
  EXPECT_FALSE(OS->SaveAs());
  EXPECT_FALSE(FileExists(Path("greek.txt")));
  EXPECT_TRUE(Doc.Modified());
  EXPECT_TRUE(Contains(Messages().back(), "Unicode text"));

  // No: 8-bit text, the letters the code page lacks become "?".
  AnswerSaveAs(Path("greek.txt"), kWindows1251);
  AnswerMessage(mrNo);
  EXPECT_TRUE(OS->SaveAs());
  EXPECT_EQ(Read(Path("greek.txt")), WideToAnsi(u"?????? и Россия", 1251));

  // Yes: Unicode text (UTF-8 on this platform), which opens as such and saves as such again.
  Type(text);
  AnswerMessage(mrYes);
  EXPECT_TRUE(OS->Save());
  EXPECT_EQ(Read(Path("greek.txt")), WideToUtf8(text));
  OS->New();
  EXPECT_EQ(OS->OpenFile(Path("greek.txt")), 2);
  EXPECT_EQ(Editor->GetTextW(), text);
  EXPECT_EQ(OS->TextFormat().Encoding, TTextEncoding::Utf8);
  Type(text + u"!");
  EXPECT_TRUE(OS->Save());  // no question: the document is Unicode text already
  EXPECT_EQ(Read(Path("greek.txt")), WideToUtf8(text + u"!"));
  EXPECT_EQ(Dialogs.Pending(), 0);
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, SaveAsGivesTheNameTheExtensionOfTheChosenFormat) {
  // "Plain Text" takes any extension: one that opens as plain text stays, any other (which the
  // RTF reader or a converter would claim) becomes ".txt".
  struct Case {
    const char* typed;
    int filter;
    const char* saved;
  } cases[] = {
      {"report.doc", 1, "report.txt"}, {"notes.ini", 1, "notes.ini"}, {"page.html", 1, "page.html"},
      {"README", 1, "README.txt"},     {"summary.rtf", 1, "summary.txt"},
      {"letter.doc", kRtf, "letter.rtf"}, {"memo.txt", kRtf, "memo.rtf"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Type(u"some text");
    AnswerSaveAs(Path(c.typed), c.filter);
    ASSERT_TRUE(OS->SaveAs());
    EXPECT_EQ(OS->FileName(), Path(c.saved));
    EXPECT_TRUE(FileExists(Path(c.saved)));
    EXPECT_EQ(IsRTFFile(Path(c.saved)), c.filter == kRtf);
  }
  EXPECT_FALSE(FileExists(Path("report.doc")));
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, CancelledSaveAsNeverReportsSuccess) {
  Type(u"first");
  AnswerSaveAs(Path("a.txt"), 1);
  ASSERT_TRUE(OS->SaveAs());
  ASSERT_TRUE(OS->Saved());

  Type(u"second");
  Dialogs.Answer(TDialogKind::SaveFile, 0);
  EXPECT_FALSE(OS->SaveAs());
  EXPECT_FALSE(OS->Saved());
  EXPECT_TRUE(Doc.Modified());
  EXPECT_EQ(Read(Path("a.txt")), "first");

  // Closing an unnamed document: Yes, then the Save As dialog cancelled, keeps it open.
  Doc.MarkClean();
  OS->New();
  Type(u"third");
  AnswerMessage(mrYes);
  Dialogs.Answer(TDialogKind::SaveFile, 0);
  EXPECT_FALSE(OS->CloseQuery());
  EXPECT_EQ(Messages().back(), "Save changes to Untitled?");
  EXPECT_TRUE(Doc.Modified());
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, FailedSaveSaysSoKeepsTheOldFileAndTheDocumentModified) {
  Write(Path("kept.txt"), "old content");
  ASSERT_EQ(OS->OpenFile(Path("kept.txt")), 2);
  OS->SetMakeBackup(true);
  ForceDirectories(Path("folder.txt"));
  std::u16string big;
  while (big.size() < 200000) big += kRussian + u"\r";
  Type(big);

  struct Case {
    const char* what;
    std::string name;
    bool fullDisk;
  } cases[] = {
      {"folder that does not exist", Path("missing/x.txt"), false},
      {"name of a folder", Path("folder.txt"), false},
      {"full disk", Path("kept.txt"), true},
  };
  TConverterRec* plain = OS->Converters().FindByClass(false, "TXT");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Events.clear();
    AnswerMessage(mrOk);
    {
      std::optional<TFullDisk> disk;
      if (c.fullDisk) disk.emplace(64 * 1024);
      OS->DoSave(c.name, plain, false);
    }
    EXPECT_FALSE(OS->Saved());
    EXPECT_TRUE(Doc.Modified());
    EXPECT_EQ(OS->FileName(), Path("kept.txt"));
    EXPECT_EQ(Read(Path("kept.txt")), "old content");
    EXPECT_EQ(Events, "save-failure ");
    EXPECT_TRUE(Contains(Messages().back(), "could not be saved as \"" + c.name + "\""));
  }
  // Nothing half-written stays behind.
  std::vector<std::string> names;
  for (const TSearchRec& entry : ListDirectory(Docs)) names.push_back(entry.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"folder.txt", "kept.txt", "kept.~txt"}));
  EXPECT_EQ(Read(Path("kept.~txt")), "old content");
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, BackupRecoveryCopyAndAutoSave) {
  Write(Path("a.txt"), "version 1");
  ASSERT_EQ(OS->OpenFile(Path("a.txt")), 2);
  OS->SetMakeBackup(true);
  Type(u"version 2");
  ASSERT_TRUE(OS->Save());
  EXPECT_EQ(Read(Path("a.txt")), "version 2");
  EXPECT_EQ(Read(Path("a.~txt")), "version 1");

  // Auto-save writes the recovery copy only: no backup, no events, no change of state.
  Type(u"version 3");
  Events.clear();
  OS->AutoSave();
  EXPECT_EQ(Read(Path("a (recovered).txt")), "version 3");
  EXPECT_EQ(Read(Path("a.~txt")), "version 1");
  EXPECT_EQ(Read(Path("a.txt")), "version 2");
  EXPECT_EQ(OS->FileName(), Path("a.txt"));
  EXPECT_TRUE(Doc.Modified());
  EXPECT_EQ(Events, "");

  // A save removes the recovery copy.
  ASSERT_TRUE(OS->Save());
  EXPECT_FALSE(FileExists(Path("a (recovered).txt")));
  EXPECT_EQ(Read(Path("a.~txt")), "version 2");

  // Saved under another name, the work is no longer at risk: the old name's copy goes too, and
  // opening the old file offers nothing.
  Type(u"version 4");
  OS->AutoSave();
  AnswerSaveAs(Path("b.txt"), 1);
  ASSERT_TRUE(OS->SaveAs());
  EXPECT_FALSE(FileExists(Path("a (recovered).txt")));
  EXPECT_EQ(OS->OpenFile(Path("a.txt")), 2);
  EXPECT_EQ(Editor->GetTextW(), u"version 3");

  // An unnamed document goes to "autosave.rtf" in the user's state folder; No at closing removes it.
  Doc.MarkClean();
  OS->New();
  Type(u"unnamed work");
  OS->AutoSave();
  const std::string autosave = UserStateFolder() + "autosave.rtf";
  EXPECT_TRUE(IsRTFFile(autosave));
  EXPECT_TRUE(OS->FileName().empty());
  AnswerMessage(mrNo);
  EXPECT_TRUE(OS->CloseQuery());
  EXPECT_FALSE(FileExists(autosave));

  // A modified but blank unnamed document closes without a question.
  Type(u"  \r ");
  EXPECT_TRUE(OS->CloseQuery());
  EXPECT_EQ(Dialogs.Pending(), 0);
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, NewerRecoveryCopyIsOfferedAndKeepsTheDocumentsName) {
  Write(Path("r.txt"), "saved text");
  Write(Path("r (recovered).txt"), "recovered text");
  const auto now = std::filesystem::file_time_type::clock::now();
  SetFileTime(Path("r.txt"), now - std::chrono::seconds(20));
  SetFileTime(Path("r (recovered).txt"), now);
  Editor->SetTextW(u"current");

  // Cancel opens nothing and asks nothing more.
  AnswerMessage(mrCancel);
  EXPECT_EQ(OS->OpenFile(Path("r.txt")), -1);
  EXPECT_EQ(Editor->GetTextW(), u"current");
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_TRUE(Contains(Messages().back(), "recovery information"));

  // Yes opens the recovered text under the file's name, still to be saved.
  AnswerMessage(mrYes);
  EXPECT_EQ(OS->OpenFile(Path("r.txt")), 2);
  EXPECT_EQ(Editor->GetTextW(), u"recovered text");
  EXPECT_EQ(OS->FileName(), Path("r.txt"));
  EXPECT_TRUE(Doc.Modified());

  // An older recovery copy is not offered.
  Doc.MarkClean();
  SetFileTime(Path("r (recovered).txt"), now - std::chrono::seconds(60));
  EXPECT_EQ(OS->OpenFile(Path("r.txt")), 2);
  EXPECT_EQ(Editor->GetTextW(), u"saved text");
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, EveryWayOfOpeningAsksAboutAModifiedDocumentFirst) {
  Write(Path("other.txt"), "other text");
  struct Way {
    const char* what;
    std::function<void()> open;
  } ways[] = {
      {"by path (dropped file, second start, system files)", [&] { OS->OpenFile(Path("other.txt")); }},
      {"recent file, detected", [&] { OS->OpenRecent(Path("other.txt"), -1); }},
      {"recent file with its format", [&] { OS->OpenRecent(Path("other.txt"), 2); }},
      {"open dialog", [&] { OS->Open(); }},
      {"new document", [&] { OS->New(); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.what);
    Type(u"unsaved work");
    AnswerMessage(mrCancel);
    way.open();
    EXPECT_EQ(Messages().back(), "Save changes to Untitled?");
    EXPECT_EQ(Editor->GetTextW(), u"unsaved work");
    EXPECT_TRUE(Doc.Modified());
    EXPECT_EQ(Dialogs.Pending(), 0);
  }
  AnswerMessage(mrNo);
  EXPECT_EQ(OS->OpenFile(Path("other.txt")), 2);
  EXPECT_EQ(Editor->GetTextW(), u"other text");
  EXPECT_FALSE(Doc.Modified());
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, FailedLoadLeavesThePreviousDocumentAndNameIntact) {
  Type(kRussian);
  AnswerSaveAs(Path("good.rtf"), kRtf);
  ASSERT_TRUE(OS->SaveAs());
  ForceDirectories(Path("folder.txt"));
  TConverterRec* plain = OS->Converters().FindByClass(true, "TXT");
  TConverterRec* rtf = OS->Converters().FindByClass(true, "RTF");

  EXPECT_EQ(OS->LoadFile(Path("folder.txt"), plain), -1);
  EXPECT_EQ(OS->LoadFile(Path("missing.txt"), plain), -1);
  EXPECT_EQ(OS->LoadFile(Path("folder.txt"), rtf), -1);
  AnswerMessage(mrOk);
  EXPECT_EQ(OS->OpenFile(Path("folder.txt")), -2);
  EXPECT_TRUE(Contains(Messages().back(), "not found"));

  EXPECT_EQ(Editor->GetTextW(), kRussian);
  EXPECT_FALSE(Editor->PlainText());
  EXPECT_EQ(OS->FileName(), Path("good.rtf"));
  EXPECT_EQ(OS->CurrentFormat()->Class, "RTF");
  EXPECT_FALSE(Doc.Modified());
  EXPECT_EQ(Events, "save-success open-failure ");
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, FileTooLargeIsRefusedBeforeItIsRead) {
  Type(kRussian);
  // A sparse file: 3 GB long, holding nothing; reading it would take minutes and all memory.
  { std::ofstream(NativePath(Path("huge.txt"))); }
  std::filesystem::resize_file(NativePath(Path("huge.txt")), uint64_t(3) << 30);
  AnswerMessage(mrNo);  // the changes are not saved
  AnswerMessage(mrOk);
  EXPECT_EQ(OS->OpenFile(Path("huge.txt")), -2);
  EXPECT_TRUE(Contains(Messages().back(), "too large")) << Messages().back();
  EXPECT_EQ(Editor->GetTextW(), kRussian);
  EXPECT_EQ(Events, "open-failure ");
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST(LoadMemory, FileFitsWhenSixTimesItsSizeIsFree) {
  const struct {
    uint64_t bytes, availableKB;
    bool fits;
  } cases[] = {
      {100 << 20, 600 << 10, true},       // exactly six times
      {100 << 20, (600 << 10) - 1, false},
      {100 << 20, 0, true},               // the free memory is not known
      {uint64_t(INT_MAX), 0, false},      // more characters than positions
      {uint64_t(INT_MAX) - 1, uint64_t(1) << 40, true},
  };
  for (const auto& c : cases) EXPECT_EQ(FileFitsInMemory(c.bytes, c.availableKB), c.fits) << c.bytes << " " << c.availableKB;
}

TEST_F(OpenSaveTest, FormatsAreFoundByExtensionThenByContent) {
  struct Case {
    const char* name;
    const char* bytes;
    int result;
    const char* format;
  } cases[] = {
      {"a.~txt", "backup of a text", 2, "Plain Text"},
      {"NOTES.NFO", "release notes", 2, "Plain Text"},
      {"prog.cpp", "int x;", 3, "Source Files"},
      {"page.htm", "<p>text</p>", 4, "HTML as Text"},
      {"old.bak", "old", 5, "Backup Files"},
      {"doc.rtf", "{\\rtf1 rich}", 6, "Rich Text Format"},
      {"data.xyz", "plain words", 2, "Plain Text"},
      {"README", "no extension", 2, "Plain Text"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write(Path(c.name), c.bytes);
    EXPECT_EQ(OS->OpenFile(Path(c.name)), c.result);
    ASSERT_NE(OS->CurrentFormat(), nullptr);
    EXPECT_EQ(OS->CurrentFormat()->Name, c.format);
  }
  // Binary content with an unknown extension is refused.
  Write(Path("blob.bin"), std::string("\x01\x02\x00\x03", 4));
  AnswerMessage(mrOk);
  EXPECT_EQ(OS->OpenFile(Path("blob.bin")), -1);
  EXPECT_EQ(Messages().back(), "File format is not recognized.");
  EXPECT_EQ(OS->FileName(), Path("README"));

  // An extension the user listed as plain text opens as text even where the content check
  // would refuse it (here a line of more than 50 characters without a blank).
  const std::string wide = "id;name;city;zip;phone;mail;web;note;date;time;sum;tax;total\r\n";
  Write(Path("table.csv"), wide);
  AnswerMessage(mrOk);
  EXPECT_EQ(OS->OpenFile(Path("table.csv")), -1);
  ASSERT_TRUE(OS->AddPlainTextExtension("CSV"));
  EXPECT_EQ(OS->OpenFile(Path("table.csv")), 2);
  EXPECT_EQ(OS->FileName(), Path("table.csv"));
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, OpenDialogUsesTheImportFilterAndRemembersItsFolder) {
  Write(Path("x.prn"), "printer text");
  std::string filter;
  Dialogs.Answer(TDialogKind::OpenFile, 1, [&](TDialogRequest& r) {
    filter = r.Filter;
    r.Value = Path("x.prn");
    r.FilterIndex = 1;
  });
  OS->Open();
  EXPECT_EQ(filter, OS->Converters().BuildFilter(true));
  EXPECT_EQ(Editor->GetTextW(), u"printer text");
  EXPECT_EQ(OS->OpenDialog()->FilterIndex(), 2);
  EXPECT_EQ(OS->OpenDialog()->InitialDir(), Docs);
  EXPECT_TRUE(OS->OpenDialog()->FileName().empty());

  EXPECT_TRUE(OS->AddPlainTextExtension("PRN"));
  EXPECT_FALSE(OS->AddPlainTextExtension(".prn"));
  EXPECT_FALSE(OS->AddPlainTextExtension(".ini"));  // "Source Files" has it
  EXPECT_FALSE(OS->AddPlainTextExtension("txt"));
  EXPECT_EQ(OS->UserExt().Count(), 1);
  TStringList known;
  OS->GetKnownExtensions(known);
  for (const char* ext : {".txt", ".nfo", ".ini", ".bak", ".rtf", ".prn"}) EXPECT_GE(known.IndexOf(ext), 0) << ext;
  for (int i = 0; i < known.Count(); ++i) EXPECT_EQ(known[i].find('*'), std::string::npos) << known[i];

  // The folder and the extensions outlive the component.
  Destroy();
  Make();
  ASSERT_EQ(OS->UserExt().Count(), 1);
  EXPECT_EQ(OS->UserExt()[0], ".prn");
  EXPECT_EQ(OS->OpenDialog()->InitialDir(), Docs);
  EXPECT_EQ(OS->SaveDialog()->InitialDir(), Docs);
  // Several at once: each new one once, known ones and repeats within the list left out.
  EXPECT_EQ(OS->AddPlainTextExtensions({"LOG", ".ini", "prn", ".log", "cfg", "."}), 2);
  EXPECT_EQ(OS->UserExt().Text(), ".prn\r\n.log\r\n.cfg\r\n");
  EXPECT_EQ(OS->AddPlainTextExtensions({".cfg"}), 0);
  Destroy();
  Make();
  EXPECT_EQ(OS->UserExt().Text(), ".prn\r\n.log\r\n.cfg\r\n");
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, PlainTextKeepsItsEncodingAndLineEnds) {
  // Each file opens as its text and, edited, saves back in its own encoding and line ends.
  const std::u16string text = u"Привет, мир\rΕλλάδα — ёлки\r";
  const std::u16string latin = u"Line one\rLine two\r";
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string shown;
    TTextEncoding encoding;
    std::u16string lineEnd;
  } cases[] = {
      {"utf8.txt", WideToUtf8(u"Привет, мир\nΕλλάδα — ёлки\n"), text, TTextEncoding::Utf8, u"\n"},
      {"bom.txt", "\xEF\xBB\xBF" + WideToUtf8(u"Привет, мир\r\nΕλλάδα — ёлки\r\n"), text, TTextEncoding::Utf8Bom,
       u"\r\n"},
      {"utf16.txt", "\xFF\xFE" + std::string("L\0i\0n\0e\0 \0o\0n\0e\0\r\0\n\0L\0i\0n\0e\0 \0t\0w\0o\0\r\0\n\0", 40),
       latin, TTextEncoding::Utf16, u"\r\n"},
      {"ansi-lf.txt", WideToAnsi(u"Привет, мир\nёлки\n", 1251), u"Привет, мир\rёлки\r", TTextEncoding::Ansi, u"\n"},
      {"ansi-crlf.txt", WideToAnsi(u"Привет\r\nёлки\r\n", 1251), u"Привет\rёлки\r", TTextEncoding::Ansi, u"\r\n"},
      {"ascii.txt", "Line one\nLine two\n", latin, TTextEncoding::Utf8, u"\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Write(Path(c.name), c.bytes);
    EXPECT_EQ(OS->OpenFile(Path(c.name)), 2);
    EXPECT_EQ(Editor->GetTextW(), c.shown);
    EXPECT_EQ(OS->TextFormat().Encoding, c.encoding);
    EXPECT_EQ(OS->TextFormat().LineEnd, c.lineEnd);
    // Unchanged, the file saves back byte for byte.
    Doc.MarkModified();
    ASSERT_TRUE(OS->Save());
    EXPECT_EQ(Read(Path(c.name)), c.bytes);
  }
  // A new document saved as plain text ends its lines with LF.
  OS->New();
  Type(u"a\rb");
  AnswerSaveAs(Path("new.txt"), 1);
  ASSERT_TRUE(OS->SaveAs());
  EXPECT_EQ(Read(Path("new.txt")), "a\nb");
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, RtfOpensAsRtfUnlessPlainTextWasChosenForIt) {
  Write(Path("letter.rtf"), "{\\rtf1\\ansi {\\b bold} text\\par}");
  Write(Path("first.txt"), "plain");
  const int plain = OS->Converters().FindByClass(true, "TXT")->Number;
  auto open = [&](const std::string& name, int filterIndex) {
    int offered = 0;
    Dialogs.Answer(TDialogKind::OpenFile, 1, [&, name, filterIndex](TDialogRequest& r) {
      offered = r.FilterIndex;
      r.Value = Path(name);
      r.FilterIndex = filterIndex;
    });
    OS->Open();
    return offered;
  };
  ASSERT_EQ(OS->OpenFile(Path("first.txt")), plain);
  // The dialog starts on "Plain Text" (the current document's) and the user only picks the file.
  EXPECT_EQ(open("letter.rtf", plain), plain);
  EXPECT_EQ(Editor->GetTextW(), u"bold text");
  EXPECT_EQ(OS->CurrentFormat()->Class, "RTF");
  // Chosen on purpose from another filter, plain text shows the RTF source.
  EXPECT_NE(open("letter.rtf", plain), plain);
  EXPECT_EQ(OS->CurrentFormat()->Class, "TXT");
  EXPECT_EQ(Editor->GetTextW().substr(0, 6), u"{\\rtf1");
  // A recent entry that remembers plain text for an RTF file opens it as RTF.
  OS->OpenRecent(Path("letter.rtf"), plain);
  EXPECT_EQ(OS->CurrentFormat()->Class, "RTF");
  EXPECT_EQ(Editor->GetTextW(), u"bold text");
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, OnlyTheProgramsOwnRecoveryCopyCountsAsTheAutoSaveCopy) {
  // A user's own "autosave.rtf" saves in place; the program's copy asks for a name.
  Write(Path("autosave.rtf"), "{\\rtf1 mine\\par}");
  ASSERT_GT(OS->OpenFile(Path("autosave.rtf")), 0);
  Type(u"changed");
  EXPECT_TRUE(OS->Save());
  EXPECT_TRUE(IsRTFFile(Path("autosave.rtf")));
  EXPECT_NE(Read(Path("autosave.rtf")).find("changed"), std::string::npos);

  OS->SetFileName(TOpenSave::AutoSaveName());
  Type(u"recovered");
  Dialogs.Answer(TDialogKind::SaveFile, 0);  // Save As is offered, and cancelled
  EXPECT_FALSE(OS->Save());
  EXPECT_EQ(Dialogs.Pending(), 0);
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST(OpenSaveMessages, BuiltInTextsUndefinedKeysAndArguments) {
  EXPECT_EQ(TOpenSave::GetMsg("MainIsRecoverInfo"), "OK to overwrite %s?");
  EXPECT_TRUE(Contains(TOpenSave::GetMsg("MainSaveLossy"), "Unicode text"));
  EXPECT_EQ(TOpenSave::GetMsg("NoSuchKey"), "OpenSave: undefined message NoSuchKey");
  EXPECT_EQ(FormatMessageText("File \"%s\" was open as \"%s\"%s", {"a.doc", "Word"}),
            "File \"a.doc\" was open as \"Word\"%s");
  EXPECT_EQ(TOpenSave::RecoveredName("/home/u/b.txt"), "/home/u/b (recovered).txt");
  EXPECT_EQ(TOpenSave::RecoveredName("/home/u/notes"), "/home/u/notes (recovered)");
}

}  // namespace

namespace {

std::string Utf16LE(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) bytes += {char(c & 0xFF), char(c >> 8)};
  return bytes;
}

TEST_F(OpenSaveTest, OpenAndSaveWithoutAnEditIsByteExact) {
  std::string utf16BE = "\xFE\xFF";
  for (char16_t c : std::u16string(u"Привет\r\nмир")) utf16BE += {char(c >> 8), char(c & 0xFF)};
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"mark-then-1251.txt", "\xEF\xBB\xBF" + WideToAnsi(u"hello привет", 1251)},
      {"utf16be.txt", utf16BE},
      {"odd-utf16.txt", Utf16LE(u"Привет") + "!"},
      {"lone-surrogate.txt", Utf16LE(u"a\xDC00z")},
      {"mixed.txt", "one\r\ntwo\nthree\rfour\r\n"},
      {"unassigned-1251.txt", "\x98\xC8\xE3\xF0\xE0"},
      {"controls.txt", std::string("a\0b\x01\x08\x0C\x0E\x1F\x7F\n", 11)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Write(Path(c.name), c.bytes);
    ASSERT_EQ(OS->OpenFile(Path(c.name)), 2);
    ASSERT_TRUE(OS->Save());
    EXPECT_EQ(Read(Path(c.name)), c.bytes);
  }
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, ControlCharactersSurviveRtf) {
  const std::u16string text(u"a\0b\x01\x08\x0C\x0E\x1F\tc\x0B" u"d\r", 13);
  Type(text);
  AnswerSaveAs(Path("controls.rtf"), kRtf);
  ASSERT_TRUE(OS->SaveAs());
  OS->New();
  ASSERT_EQ(OS->OpenFile(Path("controls.rtf")), 6);
  EXPECT_EQ(Editor->GetTextW(), text);
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, SaveAsWritesTheEncodingChosenAsTheType) {
  const std::u16string text = u"Съешь ещё\rэтих булок";
  const struct {
    int filter;
    std::string bytes;
    const char* shown;
  } cases[] = {
      {1, WideToUtf8(u"Съешь ещё\nэтих булок"), "UTF-8"},
      {2, WideToAnsi(u"Съешь ещё\nэтих булок", 1251), "Windows-1251"},
      {3, WideToAnsi(u"Съешь ещё\nэтих булок", 866), "DOS-866"},
      {4, WideToAnsi(u"Съешь ещё\nэтих булок", 28595), "ISO-8859-5"},
      {5, WideToAnsi(u"Съешь ещё\nэтих булок", 20866), "KOI-8"},
      {6, WideToAnsi(u"Съешь ещё\nэтих булок", 10007), "Mac"},
      {7, Utf16LE(u"Съешь ещё\nэтих булок"), "UTF-16"},
  };
  // A new document is UTF-8, and Save As offers it so.
  EXPECT_EQ(OS->EncodingText(), "UTF-8");
  Type(text);
  Dialogs.Answer(TDialogKind::SaveFile, 0);
  EXPECT_FALSE(OS->SaveAs());
  EXPECT_EQ(Dialogs.Asked().back().FilterIndex, 1);
  AnswerMessage(mrNo);  // the first New drops it
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    OS->New();
    Type(text);
    AnswerSaveAs(Path("type.txt"), c.filter);
    if (c.filter != 1) AnswerMessage(mrYes);  // overwrite the file of the case before
    ASSERT_TRUE(OS->SaveAs());
    EXPECT_EQ(Read(Path("type.txt")), c.bytes);
    EXPECT_EQ(OS->EncodingText(), c.shown);
    const TDialogRequest& asked = Dialogs.Asked()[Dialogs.Asked().size() - (c.filter != 1 ? 2 : 1)];
    EXPECT_TRUE(Contains(asked.Filter, "Plain Text (" + std::string(c.shown) + ")|*.*"));
    // Save keeps the encoding, and Save As offers it.
    Type(text + u"!");
    ASSERT_TRUE(OS->Save());
    EXPECT_EQ(ReadPlainText(Read(Path("type.txt")), 1251).Format, ReadPlainText(c.bytes, 1251).Format);
    Dialogs.Answer(TDialogKind::SaveFile, 0);
    EXPECT_FALSE(OS->SaveAs());
    EXPECT_EQ(Dialogs.Asked().back().FilterIndex, c.filter);
  }
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, TextDecodedOnOpenSavesUneditedAsTheFileElseInTheChosenEncoding) {
  const std::u16string russian = u"Съешь же ещё этих мягких булок";
  const std::string koi8 = WideToAnsi(russian, 20866);
  Write(Path("letter.txt"), koi8);
  ASSERT_EQ(OS->OpenFile(Path("letter.txt")), 2);
  OS->SetDecodedText(russian);
  EXPECT_TRUE(OS->Decoded());
  EXPECT_EQ(OS->EncodingText(), "Decoded");

  // Unedited: Save writes the file's own bytes, and asks nothing.
  ASSERT_TRUE(OS->Save());
  EXPECT_EQ(Read(Path("letter.txt")), koi8);
  EXPECT_EQ(Dialogs.Asked().size(), 0u);

  // Edited: Save asks for the type, offering UTF-8; never a silent code page 1251.
  Type(russian + u"!");
  Dialogs.Answer(TDialogKind::SaveFile, 0);
  EXPECT_FALSE(OS->Save());
  EXPECT_EQ(Read(Path("letter.txt")), koi8);
  EXPECT_EQ(Dialogs.Asked().back().FilterIndex, 1);
  AnswerSaveAs(Path("letter.txt"), 1);
  ASSERT_TRUE(OS->Save());
  EXPECT_EQ(Read(Path("letter.txt")), WideToUtf8(russian + u"!"));
  EXPECT_FALSE(OS->Decoded());
  EXPECT_EQ(OS->EncodingText(), "UTF-8");
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

TEST_F(OpenSaveTest, WhatUtf8CannotHoldIsSavedAsUtf16) {
  Write(Path("surrogate.txt"), Utf16LE(u"a\xD800z"));
  ASSERT_EQ(OS->OpenFile(Path("surrogate.txt")), 2);
  Type(u"b\xD800z");
  AnswerSaveAs(Path("surrogate.txt"), 1);
  AnswerMessage(mrYes);
  ASSERT_TRUE(OS->SaveAs());
  EXPECT_TRUE(Contains(Messages().back(), "Unicode text"));
  EXPECT_EQ(Read(Path("surrogate.txt")), Utf16LE(u"b\xD800z"));
  EXPECT_EQ(OS->EncodingText(), "UTF-16");
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

}  // namespace

namespace {

TEST_F(OpenSaveTest, SavingObjectsAsPlainTextAsksFirstAndNoKeepsTheDocument) {
  Type(u"ab");
  Editor->SetSelStart(1);
  Editor->CreateObjectFromFile(std::string(QM_SOURCE_DIR) + "/tests/fixtures/rtf/dot.png", false);
  ASSERT_EQ(Editor->Control().ObjectCount(), 1);
  // No: nothing is written and the document, its picture included, stays as it was.
  AnswerSaveAs(Path("note.txt"), 1);
  AnswerMessage(mrNo);
  EXPECT_FALSE(OS->SaveAs());
  EXPECT_FALSE(std::filesystem::exists(Path("note.txt")));
  EXPECT_EQ(Editor->Control().ObjectCount(), 1);
  EXPECT_TRUE(Contains(Dialogs.Asked().back().Text, "pictures or objects"));
  // Yes: saved as the plain text it is.
  AnswerSaveAs(Path("note.txt"), 1);
  AnswerMessage(mrYes);
  EXPECT_TRUE(OS->SaveAs());
  EXPECT_TRUE(std::filesystem::exists(Path("note.txt")));
  EXPECT_TRUE(Dialogs.Unexpected().empty());
}

}  // namespace

namespace {

TEST_F(OpenSaveTest, AFileChangedByAnotherProgramIsNotOverwrittenWithoutAsking) {
  Write(Path("shared.txt"), "mine\n");
  ASSERT_GT(OS->OpenFile(Path("shared.txt")), 0);
  Type(u"my edit");
  EXPECT_TRUE(OS->Save());  // unchanged on disk: no question
  Write(Path("shared.txt"), "theirs, written meanwhile\n");
  Type(u"my second edit");
  AnswerMessage(mrNo);
  EXPECT_FALSE(OS->Save());
  EXPECT_EQ(Read(Path("shared.txt")), "theirs, written meanwhile\n");
  EXPECT_TRUE(Contains(Dialogs.Asked().back().Text, "changed by another program"));
  AnswerMessage(mrYes);
  EXPECT_TRUE(OS->Save());
  EXPECT_EQ(Read(Path("shared.txt")), "my second edit");
  Type(u"a third edit");
  EXPECT_TRUE(OS->Save());  // what this save wrote is what it knows: no question
  EXPECT_TRUE(Dialogs.Unexpected().empty());
  EXPECT_EQ(Dialogs.Pending(), 0);
}

}  // namespace
