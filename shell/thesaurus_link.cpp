#include "shell/thesaurus_link.h"

#include <dlfcn.h>

#include <cstring>

#include "textcore/app_files.h"

const char* const kThesaurusDownloadAddress = "https://quillomark.example/thesaurus/";

namespace {

// parent window, close-on-copy (-1 or 0), 256-character result buffer, word to look up.
using TShowModalWordWeb = int (*)(void*, int, char*, const char*);

struct TLibrary {
  void* handle;
  ~TLibrary() {
    if (handle) dlclose(handle);
  }
};

}  // namespace

TThesaurusLink::TThesaurusLink(TComponent* AOwner)
    : TComponent(AOwner), LibraryName(AppDirFile("libqmthesaurus.so")) {}

bool TThesaurusLink::Execute() {
  TLibrary lib{dlopen(LibraryName.c_str(), RTLD_NOW | RTLD_LOCAL)};
  auto entry = lib.handle ? reinterpret_cast<TShowModalWordWeb>(dlsym(lib.handle, "ShowModalWordWeb")) : nullptr;
  if (!entry)
    throw EThesaurusLinkError(
        "WordWeb Thesaurus is not found. Please install the free version of WordWeb Thesaurus from " +
        std::string(kThesaurusDownloadAddress));
  char buffer[257] = {};
  int answer = entry(nullptr, CloseOnCopy ? -1 : 0, buffer, LookupWord.c_str());
  if ((answer & 0xFFFF) == 0) return false;
  // The library need not end the buffer with a zero: at most 255 characters are taken.
  ReturnWord.assign(buffer, strnlen(buffer, 255));
  return true;
}
