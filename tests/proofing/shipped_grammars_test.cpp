// The shipped grammars with the generated dictionaries on plain text: sentences as people write
// them in each scheme of transliteration and as OCR damages them, numbers and codes, English
// beside transliterated Russian, and a randomized run that no text may make fail.
#include <gtest/gtest.h>

#include <random>

#include "platform/code_pages.h"
#include "platform/files.h"
#include "proofing/correction_engine.h"
#include "proofing/spell.h"
#include "spell_fixtures.h"
#include "proofing/text_correction_editor.h"

namespace {

std::string Cp(const std::string& Utf8) { return WideToAnsi(Utf8ToWide(Utf8), 1251); }
std::string Utf8(const std::string& Cp1251) { return WideToUtf8(AnsiToWide(Cp1251, 1251)); }

class ShippedGrammarsTest : public ShippedSpellTest {
protected:
  // Runs a shipped grammar's scheme without the dialog, in automatic mode; UTF-8 in and out.
  static std::string Correct(const char* Grammar, const std::string& Utf8Text, int Scheme = 0) {
    TTextCorrectionEditor editor(Cp(Utf8Text));
    TQGrammar engine;
    engine.Spell = Spell;
    engine.Editor = &editor;
    engine.GrammarFile = Grammar;
    engine.ExecMode = emNoDialog;
    engine.LoadGrammar();
    engine.Dialog().Automatic = true;
    engine.SelectScheme(Scheme);
    engine.Execute();
    return Utf8(editor.Text());
  }
  struct TCase {
    const char* Input;
    const char* Expected;
  };
  static void ExpectAll(const char* Grammar, const std::vector<TCase>& Cases) {
    for (const TCase& c : Cases) EXPECT_EQ(Correct(Grammar, c.Input), c.Expected) << c.Input;
  }
};

TEST_F(ShippedGrammarsTest, RulesThatLeaveNothingOfAWordNeverStopThePass) {
  EXPECT_EQ(Correct("translit.qg", "privet '' mir kak dela"), "привет '' мир как дела");
  EXPECT_EQ(Correct("translit.qg", "' '' ''' -' '-"), "' '' ''' -' '-");
}

TEST_F(ShippedGrammarsTest, NoTextMakesTheEngineFail) {
  // Words drawn from the characters the rules of both grammars care about.
  const std::string alphabet = Cp("aeiouyjshczkxw'’\"-_#0346 .,IlbBHOT|шщиnu");
  std::mt19937 random(7);
  std::string text;
  for (int i = 0; i < 3000; ++i) {
    text += alphabet[random() % alphabet.size()];
    if (random() % 7 == 0) text += ' ';
  }
  for (const char* grammar : {"translit.qg", "ocrclean.qg"})
    for (int scheme : {0, 1}) {
      if (std::string(grammar) == "ocrclean.qg" && scheme == 1) continue;
      EXPECT_NO_THROW(Correct(grammar, Utf8(text), scheme)) << grammar << " " << scheme;
    }
}

TEST_F(ShippedGrammarsTest, NumbersModelNamesAndCodesKeepTheirDigits) {
  ExpectAll("translit.qg", {{"Samolet Ту-134 i A3B6, MP4, 2024 god.", "Самолет Ту-134 и A3B6, MP4, 2024 год."},
                            // A digit has no case: at a sentence start its letter is a capital.
                            {"4to 6kola? Horo6o, 4etverg.", "Что школа? Хорошо, четверг."},
                            {"Lu46e pozdno, 4em nikogda: win32 i x86 ostalis.", "Лучше поздно, чем никогда: win32 и x86 остались."},
                            // A number's Russian ending is read; a code's letters are not.
                            {"On prishel 8-y'm, a my v 60-kh godax xodili v 3-D kino.", "Он пришел 8-ым, а мы в 60-х годах ходили в 3-D кино."}});
  ExpectAll("ocrclean.qg", {{"Ту-134 и A3B6", "Ту-134 и A3B6"}});
}

// The same prose as people write it in each scheme; the engine is not told which it meets.
TEST_F(ShippedGrammarsTest, EachSchemeOfTransliterationReadsBack) {
  const char* const kPlain = "Сегодня мы пошли в театр, а вечером читали книги.";
  const char* const kBook = "Это была самая хорошая книга, которую я читал в этом году.";
  ExpectAll("translit.qg",
            {// GOST 7.79 system B
             {"Segodnya my' poshli v teatr, a vecherom chitali knigi.", kPlain},
             {"E'to by'la samaya xoroshaya kniga, kotoruyu ya chital v e'tom godu.", kBook},
             {"Shhedraya dusha ne zhaleet ni sil, ni vremeni. -- V. Vishnevskij",
              "Щедрая душа не жалеет ни сил, ни времени. -- В. Вишневский"},
             // ICAO passports: no soft signs
             {"Segodnia my poshli v teatr, a vecherom chitali knigi.", kPlain},
             {"Eto byla samaia khoroshaia kniga, kotoruiu ia chital v etom godu.", kBook},
             {"Ia dolzhen byt tam, gde moi druzia. -- A. Chekhov", "Я должен быть там, где мои друзья. -- А. Чехов"},
             // BGN/PCGN
             {"Segodnya my poshli v teatr, a vecherom chitali knigi.", kPlain},
             {"Eto byla samaya khoroshaya kniga, kotoruyu ya chital v etom godu.", kBook},
             {"Shchedraya dusha ne zhaleyet ni sil, ni vremeni. -- V. Vishnevskiy",
              "Щедрая душа не жалеет ни сил, ни времени. -- В. Вишневский"},
             // Library of Congress without diacritics
             {"Eto byla samaia khoroshaia kniga, kotoruiu ia chital v etom godu.", kBook},
             {"Zhizn' prekrasna, esli ty liubish' svoiu rabotu. -- L. Tolstoi",
              "Жизнь прекрасна, если ты любишь свою работу. -- Л. Толстой"},
             // Informal chat
             {"Segodnja my poshli v teatr, a ve4erom 4itali knigi.", kPlain},
             {"4to ty delaesh? Ja 4itaju horo6uju knigu, lu46e ne byvaet.",
              "Что ты делаешь? Я читаю хорошую книгу, лучше не бывает."},
             {"Pishi mne 4asto, ja skuchaju.", "Пиши мне часто, я скучаю."},
             {"- 4to takoe menyu? - Spisok blyud.", "- Что такое меню? - Список блюд."},
             // Scientific ASCII
             {"Segodnja my poshli v teatr, a vecherom chitali knigi.", kPlain},
             {"Ehto byla samaja xoroshaja kniga, kotoruju ja chital v ehtom godu.", kBook}});
}

// Abbreviations of small letters with full stops read as the dictionary knows them; one it does
// not know, or one in no Russian prose, stays.
TEST_F(ShippedGrammarsTest, AbbreviationsWithFullStopsReadAsAWhole) {
  ExpectAll("translit.qg", {{"Net, t.k. u nego net deneg.", "Нет, т.к. у него нет денег."},
                            {"To est' t.e. vse, i t.d. i t.p.", "То есть т.е. все, и т.д. и т.п."},
                            {"Eto ne tak, i ne e.g. bez tochki.", "Это не так, и не e.g. без точки."},
                            {"I went to see A. Smith, i.e. my friend, and V. Jones.", "I went to see A. Smith, i.e. my friend, and V. Jones."}});
}

// A text that writes "ю" and "я" as "iu" and "ia" reads a name so too, not as "ию" and "ия";
// without such words the letter model decides.
TEST_F(ShippedGrammarsTest, ANameReadsLetterGroupsAsItsTextWritesThem) {
  EXPECT_EQ(Correct("translit.qg", "Ia liubliu tebia i poiu, chto liudi znaiut Kamiu. -- Albert Kamiu"),
            "Я люблю тебя и пою, что люди знают Камю. -- Альберт Камю");
}

// Among transliterated Russian an initial is a Cyrillic letter and the word after it (or after a
// first name) a name, even one the English list knows or the validator has never seen; English prose keeps both.
TEST_F(ShippedGrammarsTest, InitialsAndTheNameAfterThemFollowTheirProse) {
  ExpectAll("translit.qg", {{"Kritik - slepen' iskusstva. -- G. Malkin", "Критик - слепень искусства. -- Г. Малкин"},
                            {"Kritik - slepen' iskusstva. -- G.Malkin", "Критик - слепень искусства. -- Г.Малкин"},
                            {"Kritik - slepen' iskusstva. -- Gennadij Malkin", "Критик - слепень искусства. -- Геннадий Малкин"},
                            {"Vot tak i e'to. -- L.N.Tolstoj", "Вот так и это. -- Л.Н.Толстой"},
                            // Initials together before the name, or glued to a short one, are no file names.
                            {"Vot tak i bylo. -- M.V. Lomonosov", "Вот так и было. -- М.В. Ломоносов"},
                            {"Vot tak i bylo. -- A.Pop", "Вот так и было. -- А.Поп"},
                            {"Vot tak i bylo. -- I.A.Kry'lov", "Вот так и было. -- И.А.Крылов"},
                            {"Vot tak i bylo. -- V.Ia. Briusov", "Вот так и было. -- В.Я. Брюсов"},
                            {"Pishite na vasya.pupkin@mail.ru ili na www.site.com.au/x",
                             "Пишите на vasya.pupkin@mail.ru или на www.site.com.au/x"},
                            {"I went to see A. Smith and V. Jones.", "I went to see A. Smith and V. Jones."},
                            {"Good code needs no comments. -- Jonathan D. Trudel, trudel@caip.rutgers.edu",
                             "Good code needs no comments. -- Jonathan D. Trudel, trudel@caip.rutgers.edu"},
                            // A name with letter groups no Russian word has still reads as the rules write it.
                            {"Vot tak i bylo. -- Buast", "Вот так и было. -- Буаст"},
                            {"Vot tak i bylo. -- Laroshfuko", "Вот так и было. -- Ларошфуко"}});
}

// A name the dictionary lacks reads as its letters go together in Russian words, though the
// validator has never seen some of them together ("кащ").
TEST_F(ShippedGrammarsTest, NamesTheDictionaryLacksReadAsRussianLettersGo) {
  ExpectAll("translit.qg", {// GOST 7.79 system B and scientific
                            {"Vot tak i by'lo. -- Kashheev", "Вот так и было. -- Кащеев"},
                            // ICAO and Library of Congress
                            {"Vot tak i bylo. -- Kashcheev", "Вот так и было. -- Кащеев"},
                            {"Eto skazal Kliuchevskii.", "Это сказал Ключевский."},
                            {"Eto skazal Kashpirovskii.", "Это сказал Кашпировский."},
                            // BGN/PCGN
                            {"Vot tak i bylo. -- Kashcheyev", "Вот так и было. -- Кащеев"},
                            // chat
                            {"Vot tak i bylo. -- Kascheev", "Вот так и было. -- Кащеев"}});
}

// The hard sign as each scheme writes it (a double quote ends a word for the scanner), "тщ",
// whose "t" and "s" would otherwise read as "ц", "тз" and "тш".
TEST_F(ShippedGrammarsTest, HardSignsAndTshchOfEachSchemeAreRead) {
  ExpectAll("translit.qg", {// BGN/PCGN and Library of Congress
                            {"Kto s\"yedayet pod\"yezd? On ob\"iasniaet tshchatel'no.",
                             "Кто съедает подъезд? Он объясняет тщательно."},
                            // ICAO
                            {"On sieedaet i obieiasniaet tshchatelno.", "Он съедает и объясняет тщательно."},
                            // GOST 7.79 system B and chat
                            {"Ob''yasnyaet tshhatel'no.", "Объясняет тщательно."},
                            {"Ob'jasnjaet tschatel'no.", "Объясняет тщательно."},
                            // "tz" is "тз" and "tsh" is "тш" where "ц" makes no word.
                            {"Otzvuk slova otzovetsia.", "Отзвук слова отзовется."},
                            {"Dusha, priobretshaia opyt.", "Душа, приобретшая опыт."},
                            // A quote between English words stays a quote.
                            {"He said\"no\" to \"Bob\".", "He said\"no\" to \"Bob\"."}});
}

// Schemes that write "ё" as "e" get it back where prose mostly writes it, unless the text
// writes "ё" itself; the word before tells an infinitive whose soft sign was left out.
TEST_F(ShippedGrammarsTest, LettersASchemeLeavesOutComeBackAsProseWritesThem) {
  ExpectAll("translit.qg", {{"Ona berezhet chernogo kota.", "Она бережёт чёрного кота."},
                            {"Ya vsyo znayu. Ona berezhet chernogo kota.", "Я всё знаю. Она бережет черного кота."},
                            {"Nado govorit pravdu. On govorit pravdu.", "Надо говорить правду. Он говорит правду."},
                            // A text that leaves its soft signs out (ICAO) gets them where the word is likelier.
                            {"Zhizn prekrasna, pismo prishlo tolko vchera. Malysh nachal khodit.",
                             "Жизнь прекрасна, письмо пришло только вчера. Малыш начал ходить."},
                            // A noun in "-ие" written with "ь" as verse writes it, which the
                            // dictionary lacks, against adjectives in "-ие" that have no such form.
                            {"Zhizn prekrasna, pismo prishlo tolko vchera. Eto znachene, a ne ponimane mirozdania; v ikh "
                             "poniatiiakh sinie i drevnie.",
                             "Жизнь прекрасна, письмо пришло только вчера. Это значенье, а не пониманье мироздания; в их "
                             "понятиях синие и древние."},
                            // "ye" is "ые" before it is "е" with a soft sign left out.
                            {"Zhizn prekrasna, pismo prishlo tolko vchera. Belye nochi.",
                             "Жизнь прекрасна, письмо пришло только вчера. Белые ночи."},
                            // The parts of a hyphenated word count as the prose writes each.
                            {"Zhizn prekrasna, pismo prishlo tolko vchera. Priroda-mat.",
                             "Жизнь прекрасна, письмо пришло только вчера. Природа-мать."}});
}

// In a text that leaves its soft signs out, the words before a verb in its clause tell the
// infinitive (after a modal word, also with "не" or a pronoun between) from the finite form
// (after its subject), and so does a predicative after it; the word after a possessive tells its
// number, and the words before tell "-ии" from "-ий".
TEST_F(ShippedGrammarsTest, NeighbouringWordsTellAVerbsSoftSignAndAPossessivesNumber) {
  const std::string leftOut = "Zhizn prekrasna, pismo prishlo tolko vchera. ";
  const std::string read = "Жизнь прекрасна, письмо пришло только вчера. ";
  const std::vector<TCase> cases = {{"Mozhno podkhvatit prostudu, a on govorit pravdu.", "Можно подхватить простуду, а он говорит правду."},
                                    {"Ty dolzhen ne govorit, a pust on brosit. Nam nechem ikh ugostit.",
                                     "Ты должен не говорить, а пусть он бросит. Нам нечем их угостить."},
                                    // A sign ends the clause: "может" no longer counts.
                                    {"Mozhet, on govorit pravdu.", "Может, он говорит правду."},
                                    {"Verit mozhno tolko v nevozmozhnoe.", "Верить можно только в невозможное."},
                                    // "чем" of a comparison; the clause outweighs the word after.
                                    {"Luchshe molchat, chem gramotno govorit. Tam mozhesh govorit chto dumaesh, no ne obiazatelno govorit.",
                                     "Лучше молчать, чем грамотно говорить. Там можешь говорить что думаешь, но не обязательно говорить."},
                                    // A possessive takes the number of the word after it.
                                    {"Nado skryt svoi dom, a ne svoi veshchi; tvoi paren i moi novye druzia.",
                                     "Надо скрыть свой дом, а не свои вещи; твой парень и мои новые друзья."},
                                    // "-ии" or "-ий" by the case the word before asks for.
                                    {"Unizitelnykh polozhenii net, a uverennost na znanii derzhitsia.",
                                     "Унизительных положений нет, а уверенность на знании держится."},
                                    // A noun in "-ие" takes "-ии" only after a preposition, through the
                                    // words that agree with it; a clause that begins before tells nothing.
                                    {"Gigiena otnoshenii vazhna. V etom otnoshenii i ob ikh mnenii net tysiachi mnenii.",
                                     "Гигиена отношений важна. В этом отношении и об их мнении нет тысячи мнений."}};
  for (const TCase& c : cases) EXPECT_EQ(Correct("translit.qg", leftOut + c.Input), read + c.Expected) << c.Input;
}

// A name the dictionaries lack reads as the prose writes it, with the soft signs, "э" and "й"
// the scheme leaves out, and so does an initial before the name it goes with.
TEST_F(ShippedGrammarsTest, NamesTheProseWritesReadAsItWritesThem) {
  ExpectAll("translit.qg", {{"Vot chto skazal Volter. -- Oskar Uaild", "Вот что сказал Вольтер. -- Оскар Уайльд"},
                            {"Eto skazal Kleiman, a ne Emerson.", "Это сказал Клейман, а не Эмерсон."},
                            {"Vot tak i bylo. -- E. Krotkii", "Вот так и было. -- Э. Кроткий"},
                            {"Vot tak i bylo. -- E. Malkin", "Вот так и было. -- Е. Малкин"},
                            // Names are no rare words ("Торры"), and teach the pass no reading.
                            {"Eto Torri, Villi i Lilia Brik. ODIN IZ ZAKONOV MERFI.", "Это Торри, Вилли и Лилия Брик. ОДИН ИЗ ЗАКОНОВ МЕРФИ."},
                            // A name in capitals reads as the prose writes it in capitals too.
                            {"SLEDSTVIE KLIPSHTEINA i ZAKON NEISERA.", "СЛЕДСТВИЕ КЛИПШТЕЙНА и ЗАКОН НЕЙСЕРА."},
                            // A double name reads as the prose writes it whole.
                            {"Eto napisal Krainov-Rytov.", "Это написал Крайнов-Рытов."}});
}

// A soft sign written with an apostrophe between capitals is a capital; the particles "б" and
// "ж" are words, and so is a word in brackets, where a formula stays.
TEST_F(ShippedGrammarsTest, CapitalsParticlesAndWordsInBracketsAreRead) {
  ExpectAll("translit.qg", {{"Kniga SIL'VERMANA, ZHIZN' i TOL'KO.", "Книга СИЛЬВЕРМАНА, ЖИЗНЬ и ТОЛЬКО."},
                            {"Esli b ty znal, chto on (ona) dumaet, chto zh.", "Если б ты знал, что он (она) думает, что ж."},
                            {"Reshenie f(x)=(a+b) i (x) vot.", "Решение f(x)=(a+b) и (x) вот."}});
}

// A name the English list knows is a name like any other among transliterated Russian.
TEST_F(ShippedGrammarsTest, NamesTheEnglishListKnowsAreReadAmongTransliteratedRussian) {
  ExpectAll("translit.qg", {{"Ob etom pisal eshhe Franklin, a potom i drugie.", "Об этом писал еще Франклин, а потом и другие."},
                            {"My chitali Kamasutru i Bibliyu. -- Lope de Vega", "Мы читали Камасутру и Библию. -- Лопе де Вега"}});
}

// Full stops that end a sentence, trail off or trail in are no signs of a formula.
TEST_F(ShippedGrammarsTest, AWordBeforeOrAfterAnEllipsisIsReadAndFormulasStay) {
  ExpectAll("translit.qg", {{"Ya xotel skazat' i... promolchal.", "Я хотел сказать и... промолчал."},
                            {"Reshenie x+y=2. Vot tak i reshili.", "Решение x+y=2. Вот так и решили."},
                            // An ellipsis that opens a line is no formula nor file name.
                            {"Vot tak i bylo.\r...I opyt, syn oshibok trudnykh.", "Вот так и было.\r...И опыт, сын ошибок трудных."}});
}

TEST_F(ShippedGrammarsTest, ShortWordsOfTransliteratedRussianAreRussian) {
  ExpectAll("translit.qg", {{"Ivan Petrov pereekhal v Moskvu.", "Иван Петров переехал в Москву."},
                            {"My poshli v park, a ya na rabotu.", "Мы пошли в парк, а я на работу."},
                            {"Privet! Kak dela? Poidem v kino.", "Привет! Как дела? Пойдем в кино."}});
  ExpectAll("translit.qg", {{"I do not know what to do, so we went to the park.",
                             "I do not know what to do, so we went to the park."},
                            {"The privet hedge in the garden needs cutting.",
                             "The privet hedge in the garden needs cutting."}});
}

TEST_F(ShippedGrammarsTest, WithoutWrittenSoftSignsTheMoreFrequentWordWins) {
  ExpectAll("translit.qg", {{"Byt ili ne byt, vot v chem vopros.", "Быть или не быть, вот в чем вопрос."},
                            {"Emu nado spat'. Moj brat spit doma.", "Ему надо спать. Мой брат спит дома."}});
}

TEST_F(ShippedGrammarsTest, OcrRepairsShapeConfusionsAndLeavesNamesAlone) {
  ExpectAll("ocrclean.qg", {{"Эта кннга напнсана давно, в ней многне страницы.", "Эта книга написана давно, в ней многие страницы."},
                            {"Мы пошлн из д0ма и 6ыстро вернулнсь.", "Мы пошли из дома и быстро вернулись."},
                            {"Писал об этом М.Генин, а Лиля молчала.", "Писал об этом М.Генин, а Лиля молчала."}});
}

// OCR damage of kinds the rules are not told about word by word, and text that must stay.
TEST_F(ShippedGrammarsTest, OcrRepairsShortLookAlikeWordsSpacedLettersDigitsAndBars) {
  ExpectAll("ocrclean.qg",
            {// Short words made mostly or wholly of Latin look-alikes, among Cyrillic words.
             {"Мой KOT спит. Bчepa было xopoш день.", "Мой КОТ спит. Вчера было хорош день."},
             // An unknown name keeps the Cyrillic letters OCR read, only its look-alikes change.
             {"Сказал Кaщеeв и Кащeев.", "Сказал Кащеев и Кащеев."},
             // Spaced letters, also after and before one-letter words and with look-alikes.
             {"В н и м а н и е! Т а к о в о.", "Внимание! Таково."},
             {"я с т е б е с тобой, и д е н ь г и", "я с тебе с тобой, и деньги"},
             {"В e с ь мир и ч е р т a", "Весь мир и черта"},
             {"это р а 6 с т в о", "это рабство"},
             // An initial drawn with a Latin look-alike before a Cyrillic name.
             {"Писал H. Кащеев, а не H. Ivanov.", "Писал Н. Кащеев, а не H. Ivanov."},
             // Digits for letters at a word's edge and in words of two characters.
             {"Потом 0ни шли 3а домом и3 леса, 6ыло тихо.", "Потом они шли за домом из леса, было тихо."},
             // The soft sign with a bar, which the scanner cuts at the bar.
             {"Мы усль|шали, что вь| 6ь|ли там.", "Мы услышали, что вы были там."},
             // A capitalised word whose letters do not go together is repaired; names stay.
             {"Оптнмизм и Евгенпй; Генин и Лиля.", "Оптимизм и Евгений; Генин и Лиля."},
             // Of the words the rules make, a clearly more frequent one wins ("возне").
             {"Он стоял возпе дома.", "Он стоял возле дома."},
             // A rare short word that reads as one of the commonest ones is that one.
             {"Я пе знаю, что па столе и пe там.", "Я не знаю, что на столе и не там."},
             // Words broken at a line end, names among them.
             {"Смири- тeльная рубашка, 6ы- стро. Сказал Kащ- еев.", "Смирительная рубашка, быстро. Сказал Кащеев."},
             {"двух- или трехкомнатная", "двух- или трехкомнатная"},
             // Labels, English prose and one-letter words stay as they are.
             {"класс 5а, квартира 3б и 6в", "класс 5а, квартира 3б и 6в"},
             {"Here is an example: name, mem and mon.", "Here is an example: name, mem and mon."},
             {"а и в мире", "а и в мире"}});
}

// A word in an English sentence stays as written, whatever the rules could read it as: names,
// abbreviations, codes and words of other languages.
TEST_F(ShippedGrammarsTest, EnglishSentencesKeepTheirNamesCodesAndForeignWords) {
  ExpectAll("translit.qg",
            {{"A saying of Stanislaw Lec: the first condition of immortality is death.",
              "A saying of Stanislaw Lec: the first condition of immortality is death."},
             {"Like I always say -- nothing beats the bratwurst here in DUSSELDORF!",
              "Like I always say -- nothing beats the bratwurst here in DUSSELDORF!"},
             {"Yow! Are we having fun yet?", "Yow! Are we having fun yet?"},
             {"Call ioctl with the file descriptor fd and check errno before you call chdir again.",
              "Call ioctl with the file descriptor fd and check errno before you call chdir again."},
             {"The programmer Alan Perlis wrote about LISP and FORTRAN in his epigrams.",
              "The programmer Alan Perlis wrote about LISP and FORTRAN in his epigrams."},
             // A paragraph of transliterated Russian after English prose is read.
             {"The cat is big and the dog is small.\rZdravstvuj, mir, kak dela?",
              "The cat is big and the dog is small.\rЗдравствуй, мир, как дела?"}});
}

// The language of a Latin word goes by its own sentence first: an English sentence in a paragraph
// of transliterated Russian keeps its short words, and the Russian sentences beside it are read.
TEST_F(ShippedGrammarsTest, EnglishAndTransliteratedSentencesOfOneParagraphKeepTheirLanguages) {
  ExpectAll("translit.qg",
            {{"Segodnja khoroshaja pogoda. You will see it is on a hill.", "Сегодня хорошая погода. You will see it is on a hill."},
             {"Ona skazala, chto pridet zavtra. We are on our way to see you.",
              "Она сказала, что придет завтра. We are on our way to see you."},
             {"We went to the park. Ja ne znaju, chto delat'. It is late.", "We went to the park. Я не знаю, что делать. It is late."},
             {"Ivan Petrov pereekhal v Moskvu. I do not know what to do, so we went to the park.",
              "Иван Петров переехал в Москву. I do not know what to do, so we went to the park."},
             {"My poshli domoj.\rThe weather is fine. Segodnja khoroshaja pogoda.\rIvan Petrov pereekhal v Moskvu. It is late.",
              "Мы пошли домой.\rThe weather is fine. Сегодня хорошая погода.\rИван Петров переехал в Москву. It is late."}});
}

// Words of the English list that read as Russian words ("privet") are Russian in a text that is
// all transliterated Russian, however short its sentences.
TEST_F(ShippedGrammarsTest, ATextOfTransliteratedRussianConvertsFully) {
  ExpectAll("translit.qg", {{"privet, mir privet, mir privet, mir privet, mir privet, mir",
                             "привет, мир привет, мир привет, мир привет, мир привет, мир"},
                            {"Ya skazal emu privet, a on otvetil: privet!", "Я сказал ему привет, а он ответил: привет!"}});
}

// Answers the first question of the correction window with `First` (and `Edit`, UTF-8, when
// set), every later one with "Replace" as suggested; notes the words asked about.
class FirstAnswerView : public IAskView {
public:
  FirstAnswerView(TAskAnswer First, const char* Edit) : FFirst(First), FEdit(Edit) {}
  bool ShowOptionsPage(TAskDialog&) override { return true; }
  TAskAnswer ShowConfirmPage(TAskDialog& Dialog, int) override {
    Asked.push_back(Utf8(Dialog.Word));
    if (Asked.size() > 1) return TAskAnswer::Replace;
    if (FEdit != nullptr) Dialog.Edit = Cp(FEdit);
    return FFirst;
  }
  std::vector<std::string> Asked;

private:
  TAskAnswer FFirst;
  const char* FEdit;
};

// "Replace All" and "Skip All" answer the word's later occurrences in any letter case, a
// replacement taking the case of each occurrence.
TEST_F(ShippedGrammarsTest, RememberedAnswersHoldInAnyLetterCase) {
  struct TAnswerCase {
    TAskAnswer First;
    const char* Edit;  // nullptr: the suggestion
    const char* Input;
    const char* Expected;
  };
  const TAnswerCase cases[] = {
      {TAskAnswer::ReplaceAll, "Погодка", "Pogoda. Pogoda i pogoda, POGODA.", "Погодка. Погодка и погодка, ПОГОДКА."},
      {TAskAnswer::ReplaceAll, "погодка", "pogoda. Pogoda i POGODA, pogoda.", "погодка. Погодка и ПОГОДКА, погодка."},
      {TAskAnswer::ReplaceAll, "ПОГОДКА", "POGODA i Pogoda, pogoda.", "ПОГОДКА и Погодка, погодка."},
      {TAskAnswer::ReplaceAll, nullptr, "Moskva i MOSKVA.", "Москва и МОСКВА."},
      // A case the user gave the replacement holds but for capitals.
      {TAskAnswer::ReplaceAll, "NASA", "nasa i Nasa.", "NASA и NASA."},
      {TAskAnswer::ReplaceAll, "Москва", "MOSKVA i moskva, Moskva.", "Москва и Москва, Москва."},
      {TAskAnswer::SkipAll, nullptr, "pogoda i Pogoda, POGODA.", "pogoda и Pogoda, POGODA."},
  };
  for (const TAnswerCase& c : cases) {
    FirstAnswerView view(c.First, c.Edit);
    TTextCorrectionEditor editor(Cp(c.Input));
    TQGrammar engine(&view);
    engine.Spell = Spell;
    engine.Editor = &editor;
    engine.GrammarFile = "translit.qg";
    engine.ExecMode = emBreakOnEvents;
    engine.LoadGrammar();
    ASSERT_TRUE(engine.Dialog().ShowOptions());
    engine.SelectScheme(0);
    engine.Execute();
    EXPECT_EQ(Utf8(editor.Text()), c.Expected) << c.Input;
    ASSERT_EQ(view.Asked.size(), 2u) << c.Input;  // the word and "i"
    EXPECT_EQ(view.Asked[1], "i") << c.Input;
  }
}

TEST_F(ShippedGrammarsTest, EnglishProseKeepsItsWordsAndQuotes) {
  ExpectAll("translit.qg", {{"QOTD: 'of course it is on the stardate list', said Coupland.",
                             "QOTD: 'of course it is on the stardate list', said Coupland."}});
}

}  // namespace
