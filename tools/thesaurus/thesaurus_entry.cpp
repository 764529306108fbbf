// The thesaurus library's entry point. The library is a plug-in of the program: it uses the
// program's window classes and dialog service, which the program exports to it.
#include <algorithm>
#include <cstring>

#include "platform/gui/dialogs.h"
#include "tools/thesaurus/thesaurus_form.h"

// parent window (unused), close-on-copy (-1 or 0), a 256-character buffer for the chosen word,
// the word to look up (system code page). Answers 1 when a word was chosen, else 0.
extern "C" __attribute__((visibility("default"))) int ShowModalWordWeb(void* parent, int closeOnCopy,
                                                                      char* buffer, const char* word) {
  try {
    TThesaurusForm form(nullptr, closeOnCopy != 0);
    std::string chosen;
    try {
      chosen = form.Pick(word ? word : "");
    } catch (const EThesaurusData& e) {
      MessageDlg(e.Message, mtError, mbOK);
      return 0;
    }
    if (chosen.empty() || !buffer) return 0;
    const size_t n = std::min<size_t>(chosen.size(), 255);
    std::memcpy(buffer, chosen.data(), n);
    buffer[n] = '\0';
    return 1;
  } catch (...) {
    // Nothing may cross into the calling program.
    return 0;
  }
}
