// TSortForm: the "Lists and Sorting" window. Its choices say where the lines come from and go
// to and what the engine (sort_lines.h) does with them.
#pragma once

#include <functional>
#include <string>

#include "platform/gui/form.h"
#include "tools/editor_range.h"
#include "tools/sort_lines.h"

class TCheckBox;
class TEdit;
class TExSpinEdit;
class TFilenameEdit;
class TLanguagesCombo;
class TRadioButton;
class TRichEditW;
class TSpeedButton;

// How a run ended: done, stopped (nothing written), or the message key of what was missing.
enum class TSortResult { Done, Stopped, NoData, NoFile, NoOutFile };

class TSortForm : public TForm {
  QM_CLASS(TSortForm, TForm)
public:
  explicit TSortForm(TComponent* owner);
  ~TSortForm() override;

  TCheckBox *CBSort = nullptr, *CBDup = nullptr, *CBCaseSense = nullptr, *CBLenSense = nullptr, *CBReverse = nullptr;
  TLanguagesCombo* LangCombo = nullptr;
  TCheckBox *CBTrim = nullptr, *CBExtract = nullptr, *CBDelete = nullptr, *CBRemIf = nullptr, *CBRemIfNot = nullptr,
            *CBNoEmpty = nullptr;
  TExSpinEdit *ExtrCol = nullptr, *DeleteCol = nullptr;
  TEdit *EditRemIf = nullptr, *EditRemIfNot = nullptr;
  TRadioButton *RBInEdit = nullptr, *RBInFile = nullptr, *RBOutEdit = nullptr, *RBOutFile = nullptr;
  TFilenameEdit *InFile = nullptr, *OutFile = nullptr;
  TSpeedButton* SpeedButton1 = nullptr;  // the input file name to the output
  std::string RegistryKey = kToolsRegistryKey;  // the choices live in its "Sort" section

  TSortOptions Options() const;
  // Reads the lines (editor selection or whole text, or the input file), filters and sorts
  // them and writes them (in place of what was read, or to the output file). `caption` hears
  // the message key of each stage. Nothing is written unless the run ends Done. The editor's
  // language becomes the chosen locale.
  // Reads an input file's bytes as text (8-bit text in `codePage`); without it the bytes are
  // taken as text in the chosen locale's code page.
  std::function<std::u16string(const std::string& bytes, unsigned codePage)> DecodeFile;
  TSortResult Execute(TRichEditW& editor, const TToolStep& step = nullptr,
                      const std::function<void(const std::string& key)>& caption = nullptr);
  void LoadSettings();
  void SaveSettings();

private:
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void ControlsClick(TObject* Sender);
  void SpeedButton1Click(TObject* Sender);
};

extern TSortForm* SortForm;
