// The windows the program makes at start-up, one instance each, in the order they are made, and
// those made when first needed. A window class joins its list here once it exists.
#pragma once

#include <vector>

class TApplication;

struct TStartupForm {
  const char* ClassName;
  // Makes the one instance, owned by the application, and stores its global reference; for a
  // window made on first use, only when there is none yet.
  void (*Create)(TApplication& application);
};

// Made first, before the splash window (the main window leads).
const std::vector<TStartupForm>& FormsBeforeSplash();
// Made while the splash window shows.
const std::vector<TStartupForm>& FormsAfterSplash();
// Made by the commands that first need them (the same call each time makes one only).
const std::vector<TStartupForm>& FormsOnFirstUse();
