// Styles through the piecewise write-back (kept apart: the attribute header and the menu
// header cannot meet in one file).
#include <gtest/gtest.h>

#include "tests/shell/operation_test_fixture.h"
#include "textcore/rich_edit_attributes.h"

namespace {

TEST_F(OperationTest, PreservedStylesKeepEachWordsFont) {
  const std::u16string first = Garbled(u"Привет", 20866), second = Garbled(u"мир", 20866);
  for (bool preserve : {true, false}) {
    SetText(first + u" " + second);
    form->Editor->SetSelStart(0);
    form->Editor->SetSelLength(int(first.size()));
    form->Editor->SelAttributes()->SetName("Arial");
    form->Editor->SetSelStart(int(first.size()) + 1);
    form->Editor->SetSelLength(int(second.size()));
    form->Editor->SelAttributes()->SetName("Courier New");
    form->Editor->SetSelLength(0);
    form->ProcessingOptions().PreserveStyle = preserve;
    Click("KOI8toWin12511");
    EXPECT_EQ(Text(), u"Привет мир");
    form->Editor->SetSelStart(int(first.size()) + 2);
    EXPECT_EQ(form->Editor->SelAttributes()->Name(), preserve ? "Courier New" : "Arial") << preserve;
  }
}

}  // namespace
