// The standard and common controls: item lists, selections, state changes, grids and scroll boxes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QMenu>
#include <QPixmap>
#include <QTabWidget>
#include <QWidget>
#include <QWidgetAction>
#include <QFrame>
#include <QLineEdit>
#include <QAbstractItemView>
#include <QApplication>
#include <QMouseEvent>
#include <QToolButton>

#include "platform/code_pages.h"
#include "platform/exceptions.h"
#include "platform/gui/actions.h"
#include "platform/gui/clipboard.h"
#include "platform/gui/common_controls.h"
#include "platform/gui/ext_controls.h"
#include "platform/gui/form.h"
#include "platform/gui/grids.h"
#include "platform/gui/key_send.h"
#include "platform/gui/menus.h"
#include "platform/gui/scroll_box.h"
#include "platform/gui/std_controls.h"

namespace {

template <class T>
T* Make(TForm& form, TWinControl* parent = nullptr) {
  auto* c = new T(&form);
  c->SetParent(parent ? parent : &form);
  return c;
}

TEST(ControlsTest, ListsKeepItemsIndexAndSelection) {
  TForm form(nullptr);
  auto* combo = Make<TComboBox>(form);
  combo->SetStyle(csDropDownList);
  combo->Items()->Add("b");
  combo->Items()->Add("a");
  EXPECT_EQ(combo->ItemIndex(), -1);  // adding items selects nothing
  EXPECT_EQ(combo->Text(), "");
  combo->SetItemIndex(1);
  EXPECT_EQ(combo->Text(), "a");
  combo->SetSorted(true);
  EXPECT_EQ(combo->Items()->Strings(0), "a");
  combo->Items()->Clear();
  EXPECT_EQ(combo->ItemIndex(), -1);
  // The user's choice fires OnChange; choosing by code does not.
  int changes = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  AssignStrings(*combo->Items(), {"x", "y"});
  combo->SetItemIndex(0);
  EXPECT_EQ(changes, 0);
  static_cast<QComboBox*>(combo->Widget())->activated(1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(combo->ItemIndex(), 1);

  auto* list = Make<TListBox>(form);
  AssignStrings(*list->Items(), {"one", "two", "three"});
  list->SetMultiSelect(true);
  list->SetSelected(0, true);
  list->SetSelected(2, true);
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_TRUE(list->Selected(2));
  EXPECT_FALSE(list->Selected(1));
  EXPECT_THROW(list->Selected(3), EStringListError);
  list->Items()->Delete(0);
  EXPECT_EQ(list->Items()->Count(), 2);
  list->SetMultiSelect(false);
  list->SetItemIndex(1);
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_TRUE(list->Selected(1));
}

// An editable box shows its text in its edit, takes typing (OnChange, MaxLength) also after a
// change of style, and drops down the same list as Qt's own editable combo box.
TEST(ControlsTest, EditableComboTakesTypingAndDropsDownLikeQts) {
  TForm form(nullptr);
  auto* combo = Make<TComboBox>(form);
  combo->SetMaxLength(4);
  AssignStrings(*combo->Items(), {"alpha", "beta"});
  combo->SetText("ga");
  int changes = 0;
  combo->OnChange = [&](TObject*) { ++changes; };
  form.Show();
  auto* box = static_cast<QComboBox*>(combo->Widget());
  ASSERT_NE(box->lineEdit(), nullptr);
  EXPECT_EQ(box->lineEdit()->text(), "ga");
  combo->SetFocus();
  TypeTextTo(combo, u"mma");
  EXPECT_EQ(combo->Text(), "gamm");
  EXPECT_EQ(changes, 2);  // the fourth character is refused
  QComboBox qts;
  qts.setEditable(true);
  qts.addItems({"alpha", "beta"});
  EXPECT_STREQ(box->view()->itemDelegate()->metaObject()->className(),
               qts.view()->itemDelegate()->metaObject()->className());
  EXPECT_EQ(box->view()->verticalScrollBarPolicy(), qts.view()->verticalScrollBarPolicy());
  combo->SetStyle(csDropDownList);
  EXPECT_EQ(box->lineEdit(), nullptr);
  combo->SetStyle(csDropDown);
  ASSERT_NE(box->lineEdit(), nullptr);
  combo->SetText("");
  combo->SetFocus();
  TypeTextTo(combo, u"be");
  EXPECT_EQ(combo->Text(), "be");
  EXPECT_EQ(changes, 4);
}

TEST(ControlsTest, CheckAndRadioChangesClick) {
  TForm form(nullptr);
  auto* check = Make<TCheckBox>(form);
  int clicks = 0;
  check->OnClick = [&](TObject*) { ++clicks; };
  check->SetChecked(true);  // by code: a click, as the class library does
  static_cast<QCheckBox*>(check->Widget())->click();  // by the user
  EXPECT_FALSE(check->Checked());
  EXPECT_EQ(clicks, 2);
  check->SetChecked(false);  // no change, no click
  EXPECT_EQ(clicks, 2);

  auto* group = Make<TGroupBox>(form);
  auto* r1 = Make<TRadioButton>(form, group);
  auto* r2 = Make<TRadioButton>(form, group);
  auto* other = Make<TRadioButton>(form);  // another parent: another group
  other->SetChecked(true);
  r1->SetChecked(true);
  r2->SetChecked(true);
  EXPECT_FALSE(r1->Checked());
  EXPECT_TRUE(r2->Checked());
  EXPECT_TRUE(other->Checked());

  auto* radios = Make<TRadioGroup>(form);
  AssignStrings(*radios->Items(), {"KOI-8", "DOS", "ISO"});
  radios->SetItemIndex(2);
  EXPECT_EQ(radios->ItemIndex(), 2);
  radios->Items()->Delete(2);
  EXPECT_EQ(radios->ItemIndex(), -1);  // the checked item went away
}

// The tabs follow the pages' order, tab visibility, captions and removal, each tab showing its
// own page; none of it is the user's choice of page.
TEST(ControlsTest, PageTabsFollowOrderVisibilityCaptionsAndRemoval) {
  TForm form(nullptr);
  auto* pages = Make<TPageControl>(form);
  std::vector<TTabSheet*> sheets;
  for (const char* caption : {"A", "B", "C"}) {
    auto* sheet = new TTabSheet(&form);
    sheet->SetPageControl(pages);
    sheet->SetCaption(caption);
    Make<TCheckBox>(form, sheet);
    sheets.push_back(sheet);
  }
  int changes = 0;
  pages->OnChange = [&](TObject*) { ++changes; };
  form.Show();
  auto* tabs = static_cast<QTabWidget*>(pages->Widget());
  auto tabsShown = [&] {
    std::string shown;
    for (int i = 0; i < tabs->count(); ++i) {
      TControl* page = FindControl(tabs->widget(i));
      shown += tabs->tabText(i).toStdString() + (page && tabs->tabText(i).toStdString() == page->Caption() ? " " : "? ");
    }
    return shown;
  };
  EXPECT_EQ(tabsShown(), "A B C ");
  sheets[1]->SetTabVisible(false);
  EXPECT_EQ(tabsShown(), "A C ");
  EXPECT_FALSE(sheets[1]->Widget()->isVisible());
  sheets[1]->SetTabVisible(true);
  EXPECT_EQ(tabsShown(), "A B C ");
  sheets[2]->SetPageIndex(0);
  EXPECT_EQ(tabsShown(), "C A B ");
  pages->SetActivePage(sheets[0]);
  sheets[0]->SetCaption("Alpha");
  EXPECT_EQ(tabsShown(), "C Alpha B ");
  EXPECT_EQ(tabs->currentWidget(), sheets[0]->Widget());
  EXPECT_TRUE(sheets[0]->Widget()->isVisible());
  delete sheets[1];
  EXPECT_EQ(tabsShown(), "C Alpha ");
  EXPECT_EQ(tabs->currentWidget(), sheets[0]->Widget());
  EXPECT_EQ(changes, 0);
}

TEST(ControlsTest, PagesTrackBarsUpDownsAndStatusPanels) {
  TForm form(nullptr);
  auto* pages = Make<TPageControl>(form);
  auto* first = new TTabSheet(&form);
  first->SetPageControl(pages);
  first->SetCaption("First");
  auto* second = new TTabSheet(&form);
  second->SetPageControl(pages);
  EXPECT_EQ(pages->PageCount(), 2);
  EXPECT_EQ(pages->ActivePage(), first);
  int changes = 0;
  pages->OnChange = [&](TObject*) { ++changes; };
  pages->SetActivePage(second);
  EXPECT_EQ(changes, 0);
  static_cast<QTabWidget*>(pages->Widget())->setCurrentIndex(0);  // the user's choice
  EXPECT_EQ(pages->ActivePage(), first);
  EXPECT_EQ(changes, 1);
  second->SetTabVisible(false);
  EXPECT_EQ(static_cast<QTabWidget*>(pages->Widget())->count(), 1);
  EXPECT_EQ(pages->FindNextPage(first, true), first);
  delete first;
  EXPECT_EQ(pages->PageCount(), 1);

  auto* track = Make<TTrackBar>(form);
  track->SetMax(20);
  track->SetPosition(50);
  EXPECT_EQ(track->Position(), 20);  // kept within Min..Max

  auto* edit = Make<TEdit>(form);
  edit->SetBounds(10, 10, 100, 21);
  auto* updown = Make<TUpDown>(form);
  updown->SetMax(1500);
  updown->SetIncrement(600);
  updown->SetAssociate(edit);
  EXPECT_EQ(updown->Left(), edit->Left() + edit->Width());
  updown->Step(btNext);
  updown->Step(btNext);
  EXPECT_EQ(updown->Position(), 1200);
  EXPECT_EQ(edit->Text(), "1\xA0" "200");
  updown->Step(btNext);
  EXPECT_EQ(updown->Position(), 1500);  // stops at Max without Wrap
  edit->SetText("7");  // typed into the edit: the position follows
  EXPECT_EQ(updown->Position(), 7);

  auto* bar = Make<TStatusBar>(form);
  EXPECT_EQ(bar->Width(), form.ClientWidth());  // aligned to the bottom
  bar->Panels()->Add()->SetWidth(100);
  bar->Panels()->Add()->SetWidth(50);
  EXPECT_EQ(bar->PanelAt(120), 1);
  EXPECT_EQ(bar->PanelRect(1).Right, bar->Width() - 2);  // the last panel takes the rest
}

TEST(ControlsTest, ActionsDriveLinkedControlsAndMenuItems) {
  TForm form(nullptr);
  auto* list = new TActionList(&form);
  auto* action = new TAction(&form);
  action->SetActionList(list);
  action->SetCaption("&Save");
  int runs = 0;
  action->OnExecute = [&](TObject*) { ++runs; };
  auto* button = Make<TButton>(form);
  button->SetAction(action);
  auto* menu = new TPopupMenu(&form);
  auto* item = new TMenuItem(&form);
  menu->Items()->Add(item);
  item->SetAction(action);
  EXPECT_EQ(button->Caption(), "&Save");
  EXPECT_EQ(item->Caption(), "&Save");
  action->SetCaption("Save &as");
  action->SetEnabled(false);
  EXPECT_EQ(button->Caption(), "Save &as");
  EXPECT_FALSE(button->Enabled());
  EXPECT_FALSE(item->Enabled());
  button->Click();
  EXPECT_EQ(runs, 0);  // a disabled action does not run
  action->SetEnabled(true);
  button->Click();
  item->Click();
  EXPECT_EQ(runs, 2);
  EXPECT_EQ(menu->Items()->Find("save as"), item);

  // Radio items of one group check one at a time.
  auto* a = new TMenuItem(&form);
  auto* b = new TMenuItem(&form);
  for (TMenuItem* m : {a, b}) {
    m->SetRadioItem(true);
    m->SetGroupIndex(1);
    menu->Items()->Add(m);
  }
  a->SetChecked(true);
  b->SetChecked(true);
  EXPECT_FALSE(a->Checked());
  delete b;
  EXPECT_EQ(menu->Items()->Count(), 2);
}

TEST(ControlsTest, EditMessagesReachTheClipboard) {
  TForm form(nullptr);
  auto* edit = Make<TEdit>(form);
  edit->SetText(Utf8ToAnsi("копия"));
  edit->SelectAll();
  edit->Perform(WM_COPY);
  EXPECT_EQ(Clipboard()->AsText(), Utf8ToAnsi("копия"));
  auto* memo = Make<TMemo>(form);
  memo->Perform(WM_PASTE);
  EXPECT_EQ(memo->Text(), Utf8ToAnsi("копия"));
  char buffer[4];
  EXPECT_EQ(edit->Perform(WM_GETTEXT, sizeof buffer, reinterpret_cast<intptr_t>(buffer)), 3);
  EXPECT_EQ(std::string(buffer), Utf8ToAnsi("коп"));
}

TEST(ControlsTest, DrawGridPlacesCellsScrollsAndPaintsThroughOnDrawCell) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto* grid = Make<TDrawGrid>(form);
  grid->SetBounds(0, 0, 200, 100);
  grid->SetFixedCols(0);
  grid->SetFixedRows(0);
  grid->SetColCount(8);
  grid->SetRowCount(40);
  grid->SetDefaultColWidth(24);
  grid->SetDefaultRowHeight(24);
  // Without fixed cells the grid starts at its first cell, not scrolled past it.
  EXPECT_EQ(std::make_tuple(grid->Col(), grid->Row(), grid->LeftCol(), grid->TopRow()), std::make_tuple(0, 0, 0, 0));
  EXPECT_EQ(grid->CellRect(1, 1), Bounds(25, 25, 24, 24));  // one-pixel lines between cells
  int col = 0, row = 0;
  EXPECT_TRUE(grid->MouseToCell(30, 60, col, row));
  EXPECT_EQ(col, 1);
  EXPECT_EQ(row, 2);
  std::vector<std::pair<int, int>> refused;
  grid->OnSelectCell = [&](TObject*, int c, int r, bool& can) {
    can = !(c == 3 && r == 0);
    if (!can) refused.emplace_back(c, r);
  };
  grid->SetCol(3);
  EXPECT_EQ(grid->Col(), 0);
  EXPECT_EQ(refused.size(), 1u);
  grid->SetRow(30);  // moving the current cell scrolls it into view
  EXPECT_GT(grid->TopRow(), 0);
  EXPECT_LE(grid->TopRow(), 30);
  EXPECT_GT(grid->TopRow() + grid->VisibleRowCount(), 30);
  EXPECT_EQ(grid->CellRect(0, 0), TRect());  // scrolled out of view

  int drawn = 0;
  grid->OnDrawCell = [&](TObject* sender, int c, int r, const TRect& rect, TGridDrawState) {
    ++drawn;
    auto* g = static_cast<TDrawGrid*>(sender);
    g->Canvas()->Brush()->SetColor((c + r) % 2 ? clBlack : clWhite);
    g->Canvas()->FillRect(rect);
  };
  form.Show();
  QImage image = grid->Widget()->grab().toImage();
  EXPECT_GT(drawn, 0);
  TRect cell = grid->CellRect(1, grid->TopRow());
  EXPECT_EQ(qGray(image.pixel(cell.Left + 12, cell.Top + 12)), (1 + grid->TopRow()) % 2 ? 0 : 255);
}

TEST(ControlsTest, ScrollBoxContentReachesItsChildren) {
  TForm form(nullptr);
  auto* box = Make<TScrollBox>(form);
  box->SetBounds(0, 0, 100, 80);
  auto* far = Make<TButton>(form, box);
  far->SetBounds(10, 300, 50, 20);
  EXPECT_EQ(box->VertScrollBar()->Range(), 320);
  EXPECT_EQ(box->HorzScrollBar()->Range(), 60);
  form.Show();
  box->ScrollInView(far);
  EXPECT_GT(box->VertScrollBar()->Position(), 0);
}

TEST(ControlsTest, DisabledControlsShowGreyText) {
  TForm form(nullptr);
  auto* check = new TCheckBox(&form);
  check->SetParent(&form);
  check->SetCaption("Enforce");
  check->SetEnabled(false);
  check->Font()->SetColor(clWindowText);
  const QPalette palette = check->Widget()->palette();
  EXPECT_FALSE(check->Widget()->isEnabled());
  EXPECT_NE(palette.color(QPalette::Disabled, QPalette::WindowText), palette.color(QPalette::Active, QPalette::WindowText));
  EXPECT_NE(palette.color(QPalette::Disabled, QPalette::ButtonText), palette.color(QPalette::Active, QPalette::ButtonText));
}

// A control that follows its parent shows the parent's later font and colour; one with a font or
// colour of its own keeps it, also when it equals the parent's at first and when the control moves
// to a parent with another one. Inner widgets (a combo box's edit) show what their control shows.
TEST(ControlsTest, OwnFontsAndColoursOutliveTheParentsChanges) {
  const QColor silver(0xC0, 0xC0, 0xC0);
  for (bool shownBeforeChange : {true, false}) {
    SCOPED_TRACE(shownBeforeChange ? "shown before the change" : "shown after the change");
    TForm form(nullptr);
    form.Font()->SetSize(9);
    form.SetColor(clSilver);
    auto* follower = Make<TCheckBox>(form);
    auto* combo = Make<TComboBox>(form);
    combo->SetParentFont(false);
    auto* panel = Make<TPanel>(form);  // a font and colour of its own, equal to the form's
    panel->SetParentFont(false);
    panel->SetColor(clSilver);
    auto* inner = Make<TCheckBox>(form, panel);
    auto* other = Make<TPanel>(form);
    other->Font()->SetSize(12);
    other->SetColor(clAqua);
    if (shownBeforeChange) form.Show();
    form.Font()->SetSize(14);
    form.SetColor(clYellow);
    form.Show();
    auto pointSize = [](TControl* c) { return c->Widget()->font().pointSize(); };
    auto window = [](TControl* c) { return c->Widget()->palette().color(QPalette::Window); };
    QLineEdit* comboEdit = static_cast<QComboBox*>(combo->Widget())->lineEdit();
    ASSERT_NE(comboEdit, nullptr);
    for (bool moved : {false, true}) {
      SCOPED_TRACE(moved ? "moved to another parent" : "in place");
      if (moved)
        for (TControl* c : std::initializer_list<TControl*>{follower, combo, panel}) c->SetParent(other);
      EXPECT_EQ(pointSize(follower), moved ? 12 : 14);
      EXPECT_EQ(window(follower), moved ? QColor(Qt::cyan) : QColor(Qt::yellow));
      EXPECT_EQ(pointSize(combo), 9);
      EXPECT_EQ(comboEdit->font().pointSize(), 9);
      for (TControl* c : std::initializer_list<TControl*>{panel, inner}) {
        EXPECT_EQ(pointSize(c), 9) << c->ClassName();
        EXPECT_EQ(window(c), silver) << c->ClassName();
      }
    }
  }
  // A shown control whose own font and colour never differed from its parent's moves.
  TForm form(nullptr);
  auto* mover = Make<TCheckBox>(form);
  mover->SetParentFont(false);
  mover->SetColor(form.Color());
  auto* other = Make<TPanel>(form);
  other->Font()->SetSize(12);
  other->SetColor(clAqua);
  form.Show();
  mover->SetParent(other);
  EXPECT_EQ(mover->Widget()->font().pointSize(), form.Font()->Size());
  EXPECT_EQ(mover->Widget()->palette().color(QPalette::Window), form.Widget()->palette().color(QPalette::Window));
}

TEST(ControlsTest, MenuLinesAreSeparatorsWithoutText) {
  TForm form(nullptr);
  auto* menu = new TPopupMenu(&form);
  for (const char* caption : {"&Open", "-", "E&xit"}) {
    auto* item = new TMenuItem(&form);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  menu->Popup(10, 10);
  QMenu* qmenu = menu->QtMenu();
  ASSERT_EQ(qmenu->actions().size(), 3);
  EXPECT_TRUE(qmenu->actions()[1]->isSeparator());
  EXPECT_TRUE(qmenu->actions()[1]->text().isEmpty());
  EXPECT_EQ(qmenu->actions()[2]->text(), "E&xit");
  // An item that becomes a line (and back) follows.
  menu->Items()->Items(0)->SetCaption("-");
  EXPECT_TRUE(menu->Items()->Items(0)->QtAction()->text().isEmpty());
  menu->Items()->Items(0)->SetCaption("&Open");
  EXPECT_EQ(menu->Items()->Items(0)->QtAction()->text(), "&Open");
  qmenu->close();
}

TEST(ControlsTest, OwnerDrawnPopupItemsAreMeasuredAndDrawnByTheMenu) {
  TForm form(nullptr);
  auto* menu = new TPopupMenu(&form);
  menu->SetOwnerDraw(true);
  auto* red = new TMenuItem(&form);
  red->SetCaption("Red");
  menu->Items()->Add(red);
  int drawn = 0;
  red->OnMeasureItem = [](TObject*, TCanvas*, int& width, int& height) {
    width = 60;
    height = 30;
  };
  red->OnDrawItem = [&](TObject*, TCanvas* canvas, const TRect& rect, bool) {
    ++drawn;
    canvas->Brush()->SetColor(clRed);
    canvas->FillRect(rect);
  };
  menu->Popup(10, 10);
  QMenu* qmenu = menu->QtMenu();
  ASSERT_EQ(qmenu->actions().size(), 1);
  QWidget* view = static_cast<QWidgetAction*>(qmenu->actions()[0])->defaultWidget();
  EXPECT_EQ(view->sizeHint(), QSize(60, 30));
  QImage image = view->grab().toImage();
  EXPECT_GT(drawn, 0);
  EXPECT_EQ(image.pixel(5, 5), qRgb(255, 0, 0));
  qmenu->close();
}

TEST(ControlsTest, MenuBreaksStartColumns) {
  TForm form(nullptr);
  auto* menu = new TPopupMenu(&form);
  auto* sub = new TMenuItem(&form);
  sub->SetCaption("Words");
  menu->Items()->Add(sub);
  std::string clicked;
  for (int i = 0; i < 25; ++i) {
    auto* item = new TMenuItem(&form);
    item->SetCaption("w" + std::to_string(i));
    item->SetDefault(i == 0);
    item->SetEnabled(i != 24);
    if (i == 10) item->SetBreak(mbBarBreak);
    if (i == 20) item->SetBreak(mbBreak);
    item->OnClick = [&clicked, item](TObject*) { clicked = item->Caption(); };
    sub->Add(item);
  }
  QMenu qmenu;
  sub->BuildQtMenu(&qmenu);
  ASSERT_EQ(qmenu.actions().size(), 1);
  QWidget* grid = static_cast<QWidgetAction*>(qmenu.actions()[0])->defaultWidget();
  const auto buttons = grid->findChildren<QToolButton*>();
  ASSERT_EQ(buttons.size(), 25);
  int bars = 0;
  for (QFrame* frame : grid->findChildren<QFrame*>())
    if (frame->frameShape() == QFrame::VLine) ++bars;
  EXPECT_EQ(bars, 1);  // before the second column only
  grid->adjustSize();
  // Columns side by side: the 11th entry right of the 10th, at the top again.
  EXPECT_GT(buttons[10]->x(), buttons[9]->x());
  EXPECT_LT(buttons[10]->y(), buttons[9]->y());
  EXPECT_GT(buttons[20]->x(), buttons[19]->x());
  EXPECT_TRUE(buttons[0]->font().bold());
  EXPECT_FALSE(buttons[1]->font().bold());
  EXPECT_FALSE(buttons[24]->isEnabled());
  buttons[12]->click();
  EXPECT_EQ(clicked, "w12");
  // A menu without breaks stays a plain one.
  for (int i = 0; i < sub->Count(); ++i) sub->Items(i)->SetBreak(mbNone);
  sub->BuildQtMenu(&qmenu);
  EXPECT_EQ(qmenu.actions().size(), 25);
}

}  // namespace

TEST(ControlsTest, MouseMessagesCarryTheKeysHeld) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* panel = Make<TPanel>(form);
  panel->SetBounds(0, 0, 100, 50);
  form.Show();
  std::vector<TShiftState> seen;
  panel->OnMouseUp = [&](TObject*, TMouseButton, TShiftState shift, int, int) { seen.push_back(shift); };
  QWidget* widget = panel->Widget();
  const QPointF at(10, 10);
  for (Qt::KeyboardModifiers mods : {Qt::KeyboardModifiers(Qt::AltModifier), Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier)}) {
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::RightButton, Qt::NoButton, mods);
    QApplication::sendEvent(widget, &release);
  }
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0] & (ssAlt | ssShift | ssCtrl), ssAlt);  // Alt+right click zooms out in the plotter
  EXPECT_EQ(seen[1] & (ssAlt | ssShift | ssCtrl), ssShift | ssCtrl);
}
