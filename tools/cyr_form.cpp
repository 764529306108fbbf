#include "tools/cyr_form.h"

#include "platform/gui/common_controls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/std_controls.h"
#include "textcore/cyr_codes.h"
#include "tools/auto_form.h"

TCyrForm* CyrForm = nullptr;

namespace {

constexpr int kWin = 0, kKoi = 3;
constexpr int mrContinue = 5, mrAccept = 6;

// `text` with each "%d" in turn replaced by the next of `values`.
std::string FormatCounts(std::string text, std::initializer_list<int64_t> values) {
  size_t from = 0;
  for (int64_t value : values) {
    const size_t at = text.find("%d", from);
    if (at == std::string::npos) break;
    const std::string digits = std::to_string(value);
    text.replace(at, 2, digits);
    from = at + digits.size();
  }
  return text;
}

}  // namespace

QM_CLASS_INFO(TCyrForm, TForm, [](TClassBuilder<TCyrForm>&) {})

TCyrForm::TCyrForm(TComponent* owner) : TForm(owner) {
  Handler("FormCreate", &TCyrForm::FormCreate);
  Handler("FormShow", &TCyrForm::FormShow);
  Handler("BtnEnqueueClick", &TCyrForm::BtnEnqueueClick);
  Handler("CueListSelectItem", &TCyrForm::CueListSelectItem);
  Handler("BtnRemoveClick", &TCyrForm::BtnRemoveClick);
  Handler("BtnClearClick", &TCyrForm::BtnClearClick);
  Handler("Button2Click", &TCyrForm::Button2Click);
  Field("PageControl1", PageControl1);
  Field("TabSimple", TabSimple);
  Field("TabQueue", TabQueue);
  Field("TabAuto", TabAuto);
  Field("Enc1", Enc1);
  Field("Enc2", Enc2);
  Field("Enc11", Enc11);
  Field("Enc12", Enc12);
  Field("BtnApplyOne", BtnApplyOne);
  Field("BtnEnqueue", BtnEnqueue);
  Field("BtnApplyAll", BtnApplyAll);
  Field("BtnRemove", BtnRemove);
  Field("BtnClear", BtnClear);
  Field("BtnAuto", BtnAuto);
  Field("BtnClose", BtnClose);
  Field("Button2", Button2);
  Field("CueList", CueList);
  Field("DecodeDepth", DecodeDepth);
  ReadForm();
}

TCyrForm::~TCyrForm() {
  if (CyrForm == this) CyrForm = nullptr;
}

void TCyrForm::FormCreate(TObject*) {
  PageControl1->SetActivePage(TabSimple);
  Enc1->SetItemIndex(kKoi);
  Enc11->SetItemIndex(kKoi);
  Enc2->SetItemIndex(kWin);
  Enc12->SetItemIndex(kWin);
}

void TCyrForm::FormShow(TObject*) {
  UpdateQueueButtons();
  Button2->SetEnabled(bool(OnOptions));
}

void TCyrForm::UpdateQueueButtons() {
  BtnRemove->SetEnabled(CueList->ItemIndex() >= 0);
  BtnApplyAll->SetEnabled(!queue_.empty());
}

void TCyrForm::SetQueue(const TCyrChain& queue) {
  for (const TCyrStep& step : queue) CyrStepName(step);  // refuses a change out of range
  queue_ = queue;
  CueList->Items()->Clear();
  for (const TCyrStep& step : queue_) CueList->Items()->Add(CyrStepName(step));
  UpdateQueueButtons();
}

void TCyrForm::ApplyQueue(std::string& text) const { ApplyCyrChain(text, queue_); }

void TCyrForm::BtnEnqueueClick(TObject*) {
  if (Enc11->ItemIndex() < 0 || Enc12->ItemIndex() < 0) return;
  TCyrChain queue = queue_;
  queue.push_back({Enc11->ItemIndex(), Enc12->ItemIndex()});
  SetQueue(queue);
}

void TCyrForm::CueListSelectItem(TObject*) { UpdateQueueButtons(); }

void TCyrForm::BtnRemoveClick(TObject*) {
  const int index = CueList->ItemIndex();
  if (index < 0 || index >= int(queue_.size())) return;
  TCyrChain queue = queue_;
  queue.erase(queue.begin() + index);
  SetQueue(queue);
}

void TCyrForm::BtnClearClick(TObject*) { SetQueue({}); }

void TCyrForm::Button2Click(TObject* Sender) {
  if (OnOptions) OnOptions(Sender);
}

std::string TCyrForm::Message(const std::string& key) const { return OnGetMessage ? OnGetMessage(key) : std::string(); }

TAutoForm& TCyrForm::StatusDialog() {
  if (!AutoForm) AutoForm = new TAutoForm(this);
  return *AutoForm;
}

bool TCyrForm::AutoDecode(std::string& text, int maxDepth, bool silent) {
  TCyrSearchEvents events;
  events.IsKnownWord = OnKnownWord;
  events.WordClass = OnWordClass;
  // A silent search is one step deep and short: it reports no progress (it runs also outside
  // the operation frame, while a file opens or text is pasted).
  if (OnProgress && !silent) events.Progress = [this](int percent) { return OnProgress(this, percent); };
  events.Pass = [this](int depth, int limit) {
    if (OnProgressCaption) OnProgressCaption(FormatCounts(Message("StatAutoDecode"), {depth, limit}));
  };
  if (!silent) {
    events.Variant = [this](const TCyrChain& chain, std::string_view decoded, int& limit) {
      TAutoForm& dialog = StatusDialog();
      dialog.ShowVariant(Message("AutoDecodeVariant1") + "\r\r" + CyrChainText(chain) + "\r" + Message("AutoDecodeVariant2"),
                         decoded);
      if (dialog.ShowModal() == mrAccept) return true;
      limit = DecodeDepth->Position();
      return false;
    };
    events.Fail = [this](int limit) {
      TAutoForm& dialog = StatusDialog();
      dialog.ShowFail(FormatCounts(Message("AutoDecodeFail"), {limit}), limit < kCyrMaxDepth);
      if (dialog.ShowModal() != mrContinue || limit >= kCyrMaxDepth) return 0;
      if (DecodeDepth->Position() < kCyrMaxDepth) DecodeDepth->SetPosition(DecodeDepth->Position() + 1);
      return std::max(DecodeDepth->Position(), limit + 1);
    };
  }
  lastSearch_ = SearchCyrChain(text, maxDepth, events);
  std::string message;
  switch (lastSearch_.Outcome) {
    case TCyrSearchOutcome::Accepted:
      SetQueue(lastSearch_.Chain);
      ApplyQueue(text);
      message = Message("AutoDecodeSuccess1") + "\r\r" + CyrChainText(lastSearch_.Chain) + "\r" +
                FormatCounts(Message("AutoDecodeSuccess2"), {lastSearch_.ElapsedMs / 1000, lastSearch_.CandidatesTested});
      break;
    case TCyrSearchOutcome::AlreadyRight:
      SetQueue({});
      message = Message("AutoDecodeSuccess3");
      break;
    default:
      // Nothing found or stopped: the text stays as it was; the queue is not applied to it.
      break;
  }
  if (!silent && !message.empty()) MessageDlg(message, mtInformation, mbOK);
  return lastSearch_.Outcome == TCyrSearchOutcome::Accepted;
}
