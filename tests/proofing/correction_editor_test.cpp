// The correction engine with the shipped grammars and the generated dictionaries on a real rich
// text control: de-transliteration and OCR clean-up word by word, and the user's formatting.
#include <gtest/gtest.h>

#include <sstream>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/rich_text.h"
#include "proofing/correction_editor_adapter.h"
#include "proofing/correction_engine.h"
#include "proofing/spell.h"
#include "spell_fixtures.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_attributes.h"

namespace {

class CorrectionEditorTest : public ShippedSpellTest {
protected:
  // Runs a shipped grammar's scheme without the dialog, in automatic mode.
  void Correct(const char* Grammar, int Scheme = 0) {
    Engine.Spell = Spell;
    Engine.Editor = &Editor;
    Engine.GrammarFile = Grammar;
    Engine.ExecMode = emNoDialog;
    Engine.LoadGrammar();
    Engine.Dialog().Automatic = true;
    Engine.SelectScheme(Scheme);
    Engine.Execute();
  }
  void SetText(const std::u16string& Text) { Edit.Control().SetText(Text); }
  int Position(const std::u16string& Part) const { return static_cast<int>(Edit.GetTextW().find(Part)); }
  TCharFormat FormatAt(const std::u16string& Part) const { return Edit.Control().CharFormatAt(Position(Part)); }
  void Select(const std::u16string& Part) {
    const int at = Position(Part);
    ASSERT_GE(at, 0);
    Edit.Control().SetSel(at, at + static_cast<int>(Part.size()));
  }
  // Compares word by word, naming the first word that differs.
  void ExpectWords(const std::u16string& Expected) {
    const std::string want = WideToUtf8(Expected), got = WideToUtf8(Edit.GetTextW());
    std::istringstream wantWords(want), gotWords(got);
    std::string a, b;
    int index = 0;
    while (wantWords >> a) {
      gotWords >> b;
      EXPECT_EQ(b, a) << "word " << index++;
      b.clear();
    }
  }

  TRichEditW Edit{nullptr};
  TRichEditCorrectionEditor Editor{Edit};
  TQGrammar Engine;
};

TEST_F(CorrectionEditorTest, DetransliteratesAParagraph) {
  SetText(u"Privet! Eto korotkij tekst, napisannyj latinskimi bukvami. Ya khochu proverit', kak rabotaet "
          u"programma, i uznat', chto ona delaet s ob''yavleniyami.\r"
          u"Segodnya 4etverg, na ulice horo6aya pogoda.");
  Correct("translit.qg");
  ExpectWords(u"Привет! Это короткий текст, написанный латинскими буквами. Я хочу проверить, как работает "
              u"программа, и узнать, что она делает с объявлениями.\r"
              u"Сегодня четверг, на улице хорошая погода.");
  EXPECT_EQ(Edit.SelStart(), 0);  // nothing was selected: the caret ends at the start
  EXPECT_EQ(Edit.SelLength(), 0);
  EXPECT_EQ(FormatAt(u"Привет").Color, DefaultEventColours()[wkFixed]);
}

TEST_F(CorrectionEditorTest, PassportStyleHasItsOwnScheme) {
  SetText(u"Mozhno izmenit parametry obekta i uznat, kak eto rabotaet.");
  Correct("translit.qg", 1);
  ExpectWords(u"Можно изменить параметры объекта и узнать, как это работает.");
}

TEST_F(CorrectionEditorTest, CleansUpOcrText) {
  SetText(u"Пpoгpaммa 6ыстpo pаспoзнаёт тeкст и испpавляeт oшибки, кoтopыe oстaвил ска- нер.");
  Correct("ocrclean.qg");
  ExpectWords(u"Программа быстро распознаёт текст и исправляет ошибки, которые оставил сканер.");
}

TEST_F(CorrectionEditorTest, CorrectTextAndTheUsersFormattingStay) {
  const std::u16string text = u"Мама мыла раму, the cat is big.\rZdravstvuj, mir.";
  SetText(text);
  Select(u"мыла");
  Edit.SelAttributes()->SetColor(clRed);
  Select(u"раму");
  Edit.SelAttributes()->SetEmboss(true);
  Edit.SelAttributes()->SetShadow(true);
  Edit.SelAttributes()->SetImprint(true);
  Select(u"cat");
  Edit.SelAttributes()->SetColor(clGreen);
  Edit.Control().SetSel(0, 0);
  Correct("translit.qg");
  ExpectWords(u"Мама мыла раму, the cat is big.\rЗдравствуй, мир.");
  EXPECT_EQ(FormatAt(u"мыла").Color, static_cast<uint32_t>(clRed));
  EXPECT_EQ(FormatAt(u"cat").Color, static_cast<uint32_t>(clGreen));
  const TCharFormat effects = FormatAt(u"раму");
  EXPECT_TRUE(effects.Emboss && effects.Shadow && effects.Imprint);
}

TEST_F(CorrectionEditorTest, OnlyTheSelectionIsCorrected) {
  SetText(u"Privet mir. Privet mir.");
  Edit.Control().SetSel(12, 23);
  Correct("translit.qg");
  EXPECT_EQ(Edit.GetTextW(), u"Privet mir. Привет мир.");
}

TEST_F(CorrectionEditorTest, LinksAndAddressesAreNotTransliterated) {
  SetText(u"Privet, smotri www.privet.ru i moyu ssylku privet.");
  Select(u"ssylku");
  Edit.SelAttributes()->SetLink(true);
  Edit.Control().SetSel(0, 0);
  Correct("translit.qg");
  EXPECT_EQ(Edit.GetTextW(), u"Привет, смотри www.privet.ru и мою ssylku привет.");
  EXPECT_TRUE(FormatAt(u"ssylku").Link);
}

}  // namespace
