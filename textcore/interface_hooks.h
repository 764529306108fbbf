// What text routines need from the interface without depending on it: the progress callback
// type of long operations and the hook that processes pending interface messages.
#pragma once

#include <functional>

class TObject;

// Progress of a long operation: the sender and a percentage; true asks the operation to stop.
using TProgressCallback = std::function<bool(TObject* sender, int percent)>;

// Processes pending interface messages; set by the GUI layer, empty when there is none.
extern std::function<void()> ProcessMessagesHook;

// Calls ProcessMessagesHook when it is set.
void ProcessMessages();
