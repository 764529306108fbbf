// A document world for the open and save tests: a private program folder and settings store,
// a documents folder, an editor with its document state and a TOpenSave wired to both, and a
// script of dialog answers.
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/files.h"
#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "shell/document_state.h"
#include "shell/open_save.h"
#include "tests/shell/preferences_test_env.h"
#include "textcore/rich_edit.h"

class OpenSaveWorld : public ::testing::Test {
protected:
  OpenSaveWorld() {
    EnsureGuiApplication();
    Docs = world_.ProgramFolder + "docs/";
    ForceDirectories(Docs);
  }

  void SetUp() override { Make(); }

  // (Re)creates the owner with its editor and TOpenSave (the settings are read anew).
  void Make() {
    owner_.reset();
    owner_ = std::make_unique<TComponent>(nullptr);
    Editor = new TRichEditW(owner_.get());
    Editor->SetLanguage(1049);
    OS = new TOpenSave(owner_.get());
    OS->SetEditor(Editor);
    OS->SetDocumentState(&Doc);
    OS->OnOpenSuccess = [this](TObject*) { Events += "open-success "; };
    OS->OnOpenFailure = [this](TObject*) { Events += "open-failure "; };
    OS->OnSaveSuccess = [this](TObject*) { Events += "save-success "; };
    OS->OnSaveFailure = [this](TObject*) { Events += "save-failure "; };
  }
  // Frees the TOpenSave (its settings are written).
  void Destroy() { owner_.reset(); }

  // Replaces the text the way typing does: the document becomes modified.
  void Type(const std::u16string& text) {
    Editor->SetTextW(text);
    Doc.MarkModified();
  }
  std::string Path(const std::string& name) const { return Docs + name; }
  static void Write(const std::string& file, const std::string& bytes) { WriteFileAtomic(file, bytes); }
  static std::string Read(const std::string& file) { return ReadFileBytes(file); }

  // Answers a Save As dialog with a file name and a filter index.
  void AnswerSaveAs(const std::string& name, int filterIndex) {
    Dialogs.Answer(TDialogKind::SaveFile, 1, [name, filterIndex](TDialogRequest& r) {
      r.Value = name;
      r.FilterIndex = filterIndex;
    });
  }
  void AnswerMessage(int result) { Dialogs.Answer(TDialogKind::MessageDlg, result); }
  // The texts of the message dialogs asked so far.
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const TDialogRequest& r : Dialogs.Asked())
      if (r.Kind == TDialogKind::MessageDlg) texts.push_back(r.Text);
    return texts;
  }

  TTestWorld world_;
  TScriptedDialogs Dialogs;
  TDocumentState Doc;
  std::string Docs;
  std::string Events;
  TRichEditW* Editor = nullptr;
  TOpenSave* OS = nullptr;

private:
  std::unique_ptr<TComponent> owner_;
};

// Makes every file write beyond `bytes` fail as on a full disk, for its lifetime.
class TFullDisk {
public:
  explicit TFullDisk(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~TFullDisk() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

private:
  rlimit previous_{};
  void (*previousHandler_)(int) = nullptr;
};
