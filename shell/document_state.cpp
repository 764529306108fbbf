#include "shell/document_state.h"

void TDocumentState::Set(bool value) {
  const bool changed = modified_ != value;
  modified_ = value;
  if (changed && onChange_) onChange_(value);
}
