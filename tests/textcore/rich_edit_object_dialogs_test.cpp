// The object dialogs of TRichEditW driven through the scripted dialog service, the pastes of
// pictures and the AllowObjects switch.
#include "textcore/rich_edit_object_dialogs.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <filesystem>
#include <fstream>

#include "platform/gui/application.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/rich_edit_control.h"
#include "platform/gui/std_controls.h"
#include "platform/rtf_writer.h"
#include "platform/streams.h"
#include "textcore/rich_edit.h"
#include "textcore/rich_edit_lines.h"

namespace {

QImage Dot() {
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(Qt::red);
  return image;
}

// RTF of "a", a picture and "b".
std::string RtfWithPicture() {
  TRichEditW source(nullptr);
  auto* data = new QMimeData;
  data->setImageData(Dot());
  QApplication::clipboard()->setMimeData(data);
  source.SetTextW(u"ab");
  source.SetSelStart(1);
  source.Control().PasteAs(TPasteFormat::Picture, false);
  return WriteRtf(source.Control().Document(false));
}

class ObjectDialogsTest : public ::testing::Test {
protected:
  void SetUp() override {
    edit = std::make_unique<TRichEditW>(nullptr);
    dir = std::filesystem::temp_directory_path() /
          ("object_dialogs_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    QApplication::clipboard()->clear();
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string File(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = dir / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  // Answers the next dialog window with `result` after `fill` has worked its controls.
  template <class Form>
  void AnswerForm(int result, std::function<void(Form&)> fill) {
    dialogs.Answer(TDialogKind::Form, result, [fill](TDialogRequest& r) {
      auto* form = dynamic_cast<Form*>(r.Form);
      ASSERT_NE(form, nullptr);
      fill(*form);
    });
  }
  TScriptedDialogs dialogs;
  std::unique_ptr<TRichEditW> edit;
  std::filesystem::path dir;
};

TEST_F(ObjectDialogsTest, PasteSpecialOffersTheClipboardsFormatsAndPastesTheChosenOne) {
  // Nothing on the clipboard: no dialog.
  EXPECT_FALSE(edit->PasteSpecialDialog());
  EXPECT_TRUE(dialogs.Asked().empty());
  // Plain text alone is offered too.
  QApplication::clipboard()->setText("простой текст");
  std::vector<std::string> offered;
  AnswerForm<TPasteSpecialForm>(mrOk, [&](TPasteSpecialForm& f) {
    for (int i = 0; i < f.FormatList->Items()->Count(); ++i) offered.push_back((*f.FormatList->Items())[i]);
  });
  EXPECT_TRUE(edit->PasteSpecialDialog());
  EXPECT_EQ(offered, std::vector<std::string>{"Unformatted text"});
  EXPECT_EQ(edit->GetTextW(), u"простой текст");
  // RTF with a picture: pasted without its objects when that is chosen.
  const std::string rtf = RtfWithPicture();
  auto* data = new QMimeData;
  data->setData("text/rtf", QByteArray(rtf.data(), qsizetype(rtf.size())));
  data->setText("a b");
  QApplication::clipboard()->setMimeData(data);
  edit->SetTextW(u"");
  offered.clear();
  AnswerForm<TPasteSpecialForm>(mrOk, [&](TPasteSpecialForm& f) {
    for (int i = 0; i < f.FormatList->Items()->Count(); ++i) offered.push_back((*f.FormatList->Items())[i]);
    f.FormatList->SetItemIndex(1);
  });
  EXPECT_TRUE(edit->PasteSpecialDialog());
  EXPECT_EQ(offered, (std::vector<std::string>{"Rich Text Format", "Rich Text Format Without Objects", "Unformatted text"}));
  EXPECT_EQ(edit->GetTextW(), u"ab");
  // ... and with them as Rich Text Format; a cancelled dialog pastes nothing.
  edit->SetTextW(u"");
  AnswerForm<TPasteSpecialForm>(mrOk, [](TPasteSpecialForm& f) { f.FormatList->SetItemIndex(0); });
  EXPECT_TRUE(edit->PasteSpecialDialog());
  EXPECT_EQ(edit->GetTextW(), u"a\uFFFCb");
  AnswerForm<TPasteSpecialForm>(mrCancel, [](TPasteSpecialForm&) {});
  EXPECT_FALSE(edit->PasteSpecialDialog());
  EXPECT_EQ(edit->GetTextW(), u"a\uFFFCb");
  // A file on the clipboard can be embedded or linked.
  auto* files = new QMimeData;
  files->setUrls({QUrl::fromLocalFile(QString::fromStdString(File("note.bin", "data")))});
  QApplication::clipboard()->setMimeData(files);
  edit->SetTextW(u"");
  AnswerForm<TPasteSpecialForm>(mrOk, [](TPasteSpecialForm& f) {
    EXPECT_EQ((*f.FormatList->Items())[1], "Link to File");
    f.FormatList->SetItemIndex(1);
  });
  EXPECT_TRUE(edit->PasteSpecialDialog());
  ASSERT_EQ(edit->Control().ObjectCount(), 1);
  EXPECT_EQ(edit->Control().Object(0).Kind, TRichObjectKind::Link);
  EXPECT_EQ(dialogs.Pending(), 0);
}

TEST_F(ObjectDialogsTest, PastingAPictureAndTheAllowObjectsSwitch) {
  auto* data = new QMimeData;
  data->setImageData(Dot());
  QApplication::clipboard()->setMimeData(data);
  edit->SetTextW(u"ab");
  edit->SetSelStart(1);
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->GetTextW(), u"a\uFFFCb");
  EXPECT_EQ(edit->Control().Object(0).Picture.PictureWidth, 3);
  // Without objects neither a paste nor a load brings one in.
  edit->SetAllowObjects(false);
  edit->SetTextW(u"ab");
  edit->SetSelStart(1);
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->GetTextW(), u"ab");
  EXPECT_FALSE(edit->CanPasteObject());
  TStringStream rtf(RtfWithPicture());
  edit->Lines()->LoadFromStream(rtf);
  EXPECT_EQ(edit->GetTextW(), u"ab");
  EXPECT_EQ(edit->Control().ObjectCount(), 0);
}

TEST_F(ObjectDialogsTest, InsertObjectEmbedsOrLinksTheChosenFile) {
  const std::string file = File("report.dat", "12345");
  AnswerForm<TInsertObjectForm>(mrOk, [&](TInsertObjectForm& f) {
    f.FileEdit->SetText(file);
    f.LinkRadio->SetChecked(true);
  });
  EXPECT_TRUE(edit->InsertObjectDialog());
  ASSERT_EQ(edit->Control().ObjectCount(), 1);
  EXPECT_EQ(edit->Control().Object(0).Kind, TRichObjectKind::Link);
  EXPECT_EQ(edit->Control().Object(0).ObjectData, file);
  AnswerForm<TInsertObjectForm>(mrOk, [&](TInsertObjectForm& f) { f.FileEdit->SetText(file); });
  EXPECT_TRUE(edit->InsertObjectDialog());
  ASSERT_EQ(edit->Control().ObjectCount(), 2);
  EXPECT_EQ(edit->Control().Object(1).ObjectData, "12345");
  // OK with a name of no file says so and keeps the dialog open; Browse fills the name in.
  AnswerForm<TInsertObjectForm>(mrCancel, [&](TInsertObjectForm& f) {
    f.FileEdit->SetText(file + ".missing");
    static_cast<TButton*>(f.FindComponent("OkButton"))->Click();
    EXPECT_EQ(f.ModalResult(), 0);
    static_cast<TButton*>(f.FindComponent("BrowseButton"))->Click();
    EXPECT_EQ(f.FileEdit->Text(), file);
  });
  dialogs.Answer(TDialogKind::MessageBox, IDOK);
  dialogs.Answer(TDialogKind::OpenFile, 1, [&](TDialogRequest& r) { r.Value = file; });
  EXPECT_FALSE(edit->InsertObjectDialog());
  EXPECT_EQ(edit->Control().ObjectCount(), 2);
  EXPECT_EQ(dialogs.Pending(), 0);
  EXPECT_TRUE(dialogs.Unexpected().empty());
}

TEST_F(ObjectDialogsTest, ObjectPropertiesShowTheObjectAndChangeALinksSource) {
  const std::string first = File("first.txt", "one"), second = File("second.txt", "second");
  edit->SetTextW(u"x ");
  edit->SetSelStart(2);
  edit->CreateLinkToFile(first, true);
  // Text, or nothing, selected: no dialog.
  edit->SelectAll();
  EXPECT_FALSE(edit->ObjectPropertiesDialog());
  edit->SetSelStart(0);
  EXPECT_FALSE(edit->ObjectPropertiesDialog());
  EXPECT_TRUE(dialogs.Asked().empty());

  Application->SetTitle("Quillomark");
  edit->SetTitle("Doc");
  edit->SetSelStart(2);
  edit->SetSelLength(1);
  AnswerForm<TObjectPropsForm>(mrOk, [&](TObjectPropsForm& f) {
    EXPECT_EQ(f.Caption(), "Linked Package Properties");
    EXPECT_EQ(f.SizeValue->Caption(), "3 bytes");
    EXPECT_EQ(f.LocationValue->Caption(), "Doc - Quillomark");
    EXPECT_EQ(f.SourceValue->Caption(), first);
    EXPECT_TRUE(f.ChangeSourceButton->Enabled());
    EXPECT_FALSE(f.BreakLinkButton->Enabled());
    f.BreakLinkButton->Click();
    f.ChangeSourceButton->Click();  // a file that is not there
    f.ChangeSourceButton->Click();  // the second file
  });
  dialogs.Answer(TDialogKind::MessageBox, IDOK);
  dialogs.Answer(TDialogKind::OpenFile, 1, [&](TDialogRequest& r) { r.Value = first + ".gone"; });
  dialogs.Answer(TDialogKind::MessageBox, IDOK);
  dialogs.Answer(TDialogKind::OpenFile, 1, [&](TDialogRequest& r) { r.Value = second; });
  EXPECT_TRUE(edit->ObjectPropertiesDialog());
  ASSERT_EQ(dialogs.Asked().size(), 5u);
  EXPECT_EQ(dialogs.Asked()[1].Text, "Break link operation is not supported.");
  EXPECT_EQ(dialogs.Asked()[1].Caption, "Link Properties");
  EXPECT_EQ(dialogs.Asked()[3].Text, "Cannot link to an invalid source.");
  EXPECT_EQ(dialogs.Asked()[3].Caption, "Link Properties");
  ASSERT_EQ(edit->Control().ObjectCount(), 1);
  EXPECT_EQ(edit->Control().Object(0).ObjectData, second);
  EXPECT_EQ(edit->SelStart(), 2);
  EXPECT_EQ(edit->SelLength(), 1);
}

TEST(ObjectLocationTest, TitleAndApplicationTitle) {
  EXPECT_EQ(ObjectLocation("Doc", "Quillomark"), "Doc - Quillomark");
  EXPECT_EQ(ObjectLocation("  ", "Quillomark"), "Quillomark");
  EXPECT_EQ(ObjectLocation("", "Quillomark"), "Quillomark");
}

}  // namespace
