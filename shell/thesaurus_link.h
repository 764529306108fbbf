// Hands a word to an outside thesaurus library, which shows its own modal window, and takes
// back the word the user chose there.
#pragma once

#include <string>

#include "platform/exceptions.h"
#include "platform/gui/component.h"

class EThesaurusLinkError : public Exception { using Exception::Exception; };

// Where the thesaurus can be had, named by the not-found message.
extern const char* const kThesaurusDownloadAddress;

class TThesaurusLink : public TComponent {
public:
  explicit TThesaurusLink(TComponent* AOwner = nullptr);

  std::string LookupWord, ReturnWord;
  bool CloseOnCopy = false;
  // The shared library holding the entry point "ShowModalWordWeb": by default our own
  // thesaurus in the program folder.
  std::string LibraryName;

  // True when the user chose a word (then in ReturnWord); raises EThesaurusLinkError when the
  // library or its entry point is missing. The library is loaded for the call only.
  bool Execute();
};
