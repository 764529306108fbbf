// The component classes of the platform that layouts can name: listed here so that they are
// registered even when nothing else in the program mentions them.
#include "platform/gui/actions.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "platform/gui/grids.h"
#include "platform/gui/image_list.h"
#include "platform/gui/menus.h"
#include "platform/gui/scroll_box.h"
#include "platform/gui/std_controls.h"
#include "platform/gui/timer.h"

void RegisterStandardClasses() {
  for (const TClassInfo* info :
       {&TForm::StaticClass(), &TLabel::StaticClass(), &TButton::StaticClass(), &TBitBtn::StaticClass(),
        &TSpeedButton::StaticClass(), &TCheckBox::StaticClass(), &TRadioButton::StaticClass(),
        &TGroupBox::StaticClass(), &TEdit::StaticClass(), &TMemo::StaticClass(), &TComboBox::StaticClass(),
        &TListBox::StaticClass(), &TScrollBar::StaticClass(), &TMainMenu::StaticClass(),
        &TPopupMenu::StaticClass(), &TMenuItem::StaticClass(), &TAction::StaticClass(),
        &TActionList::StaticClass(), &TImageList::StaticClass(), &TTimer::StaticClass(),
        &TOpenDialog::StaticClass(), &TSaveDialog::StaticClass(), &TFontDialog::StaticClass(),
        &TColorDialog::StaticClass(), &TPanel::StaticClass(), &TBevel::StaticClass(), &TShape::StaticClass(),
        &TImage::StaticClass(), &TPaintBox::StaticClass(), &TSplitter::StaticClass(), &TRadioGroup::StaticClass(),
        &TPageControl::StaticClass(), &TTabSheet::StaticClass(), &TTrackBar::StaticClass(),
        &TProgressBar::StaticClass(), &TUpDown::StaticClass(), &TStatusBar::StaticClass(),
        &TScrollBox::StaticClass(), &TDrawGrid::StaticClass()})
    RegisterClass(*info);
}
