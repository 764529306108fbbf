// A tool window that works on an editor, each test with private settings and scripted dialogs.
// Make() creates the editor and the window; a fixture whose tests need no settings of their
// own first calls it from SetUp.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "preferences_test_env.h"
#include "textcore/rich_edit.h"

template <class Form>
class EditorToolTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureGuiApplication();
    world = std::make_unique<TTestWorld>();
    dialogs = std::make_unique<TScriptedDialogs>();
  }
  void TearDown() override {
    if (form) TComponent::Free(form);
    if (editor) TComponent::Free(editor);
    EXPECT_TRUE(dialogs->Unexpected().empty());
  }
  void Make() {
    editor = new TRichEditW(Application);
    form = new Form(Application);
    form->Editor = editor;
  }
  // Chooses a cell of the window's grid.
  void Select(int col, int row) {
    form->Grid->SetCol(col);
    form->Grid->SetRow(row);
  }

  std::unique_ptr<TTestWorld> world;
  std::unique_ptr<TScriptedDialogs> dialogs;
  TRichEditW* editor = nullptr;
  Form* form = nullptr;
};
