// Opening an object of the text with the desktop's program: a linked file at its own path, an
// embedded file or a picture through a private copy of its bytes.
#pragma once

#include <string>

struct TRichObject;

// The file name a copy of the object's bytes takes: "object" with the extension its bytes or
// picture format call for (".bin" when nothing tells).
std::string ObjectCopyName(const TRichObject& object);
// The file the object opens as (system code page): a link's file, else a new private copy of the
// object's bytes in "quillomark-objects" (mode 0700) of the user's runtime folder. Raises
// EFCreateError when the copy cannot be written safely.
std::string ObjectOpenPath(const TRichObject& object);
// Opens the object through ShellOpen; false when the desktop has no program for it.
bool OpenObject(const TRichObject& object);
