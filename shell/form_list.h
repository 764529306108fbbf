// The windows the program makes at start-up, one instance each, in the order they are made.
// A window class joins its list here once it exists.
#pragma once

#include <vector>

class TApplication;

struct TStartupForm {
  const char* ClassName;
  // Makes the one instance, owned by the application, and stores its global reference.
  void (*Create)(TApplication& application);
};

// Made first, before the splash window (the main window leads).
const std::vector<TStartupForm>& FormsBeforeSplash();
// Made while the splash window shows.
const std::vector<TStartupForm>& FormsAfterSplash();
