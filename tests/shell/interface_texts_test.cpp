// The real program in each interface language on a real X server: every main-menu command run
// once (its windows and questions met), then every other window shown; each text a window
// shows must fit its control, the Russian interface may show no English text that the English
// interface shows, and the English interface no Russian one.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "platform/code_pages.h"
#include "shell/language_list.h"
#include "tests/platform/temp_folder.h"
#include "tests/shell/program_test_util.h"

namespace {

using namespace std::chrono_literals;

// As in the walk test: commands that leave the program or reach outside it.
const char* const kOutside = "NewWindow1 FileExitItem QuillomarkWWWpage1 Contents1";

// Texts that read the same in both interfaces: names (the main window's title names the test's
// document and the program), addresses, code page names, key names, the calculator's operators
// and formula prompt, and signs on small tool buttons.
const std::set<std::string> kSameInBoth = {
    "OK", "Quillomark", "letter.rtf - Quillomark", "Vortanel Software", "www.vortanel.com", "info@vortanel.com", "support@vortanel.com",
    "KOI", "KOI-8", "WIN", "Win-1251", "DOS", "Ctrl+Alt+C", "y =", "+ - * >> / ^ % << shl shr div mod",
};
// Windows whose texts are data rather than interface: the on-screen keyboard shows the keys of
// its layout, the mail decoder a sample of encoded text, the character map Unicode's own names
// of its blocks.
const char* const kDataTexts[] = {"VirtualKbd.", "MailForm.LabelSample", "FormGenChar.ComboBox1"};

bool IsDataText(const std::string& path) {
  for (const char* prefix : kDataTexts)
    if (path.rfind(prefix, 0) == 0) return true;
  return false;
}

// A Latin word of two letters or more: one letter on a tool button is a sign, not English.
bool HasLatinWord(const std::string& utf8) {
  int run = 0;
  for (const char c : utf8) {
    run = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ? run + 1 : 0;
    if (run >= 2) return true;
  }
  return false;
}

struct TText {
  std::string Kind, Fit, Text;
};

// The check's report: path -> text.
std::map<std::string, TText> ReadReport(const std::string& text) {
  std::map<std::string, TText> texts;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string path;
    TText t;
    std::getline(fields, path, '\t');
    std::getline(fields, t.Kind, '\t');
    std::getline(fields, t.Fit, '\t');
    std::getline(fields, t.Text);
    texts[path] = t;
  }
  return texts;
}

bool HasCyrillicLetter(const std::string& utf8) {
  for (const char16_t c : Utf8ToWide(utf8))
    if (c >= 0x400 && c < 0x530) return true;
  return false;
}

// Runs the program with `languageFile` chosen ("" for none) and answers the texts it showed.
std::map<std::string, TText> ShownTexts(const std::string& languageFile) {
  ProgramFolders f;
  {
    ScopedEnv config("QUILLOMARK_CONFIG_DIR", f.Path("config"));
    StoreLanguage(languageFile);
  }
  std::filesystem::copy_file(std::string(QM_FIXTURES_DIR) + "/rtf/wordpad-style-cp1251.rtf", f.Path("letter.rtf"));
  // The caret starts in the document's last paragraph, which is English: the toolbar's language
  // combo shows the longest name a user meets there.
  // A picture of the main window is kept in the build folder ("artefacts/interface-NAME.png").
  const std::string picture = std::string(QM_PROGRAM_DIR) + "/../artefacts/interface-" +
                              (languageFile.empty() ? std::string("english") : languageFile.substr(0, languageFile.find('.'))) + ".png";
  std::filesystem::create_directories(std::filesystem::path(picture).parent_path());
  f.Write("texts.script", "wait-text \xD0\x9F\nkey Ctrl+End\nkey Left\nkey Left\nidle 100\nscreenshot " + picture +
                              "\ncheck-texts " + f.Path("texts.txt") + " " + kOutside + "\nanswer messagedlg 7\nclose\n");
  auto env = f.Env("texts.script");
  env["QT_QPA_PLATFORM"] = "xcb";
  env["HOME"] = f.Path("home");
  ProgramRun run({f.Path("letter.rtf")}, env, {},
                 {"/usr/bin/xvfb-run", "-a", "-s", "-screen 0 1280x900x24 -nolisten tcp"});
  const int code = run.Wait(300s);
  EXPECT_EQ(code, 0) << run.Stderr();
  return ReadReport(ProgramRun::ReadText(f.Path("texts.txt")));
}

TEST(InterfaceTexts, EveryWindowSpeaksTheInterfaceLanguageAndFits) {
  if (!std::filesystem::exists("/usr/bin/xvfb-run")) GTEST_SKIP() << "xvfb-run is not installed";
  const auto english = ShownTexts("");
  const auto russian = ShownTexts("russian.lng");
  ASSERT_GT(english.size(), 300u);
  ASSERT_GT(russian.size(), 300u);
  // The toolbar's language combo was met on the English paragraph.
  EXPECT_EQ(english.at("MainForm.LanguagesCombo1").Text, "English (US)");
  EXPECT_EQ(russian.at("MainForm.LanguagesCombo1").Text, "\xD0\x90\xD0\xBD\xD0\xB3\xD0\xBB\xD0\xB8\xD0\xB9\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9 (\xD0\xA1\xD0\xA8\xD0\x90)");
  std::string clipped, untranslated, russianInEnglish;
  for (const auto* texts : {&english, &russian})
    for (const auto& [path, t] : *texts)
      if (t.Fit.rfind("clipped", 0) == 0) clipped += "\n  " + path + " (" + t.Kind + ", " + t.Fit + "): " + t.Text;
  for (const auto& [path, t] : russian) {
    const auto at = english.find(path);
    if (at != english.end() && at->second.Text == t.Text && HasLatinWord(t.Text) && !kSameInBoth.count(t.Text) &&
        !IsDataText(path))
      untranslated += "\n  " + path + " (" + t.Kind + "): " + t.Text;
  }
  for (const auto& [path, t] : english)
    if (HasCyrillicLetter(t.Text) && !IsDataText(path)) russianInEnglish += "\n  " + path + " (" + t.Kind + "): " + t.Text;
  EXPECT_TRUE(clipped.empty()) << "texts wider than their controls (pixels needed/given):" << clipped;
  EXPECT_TRUE(untranslated.empty()) << "English texts in the Russian interface:" << untranslated;
  EXPECT_TRUE(russianInEnglish.empty()) << "Russian texts in the English interface:" << russianInEnglish;
}

}  // namespace
