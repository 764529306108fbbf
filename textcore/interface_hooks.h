// What text routines need from the interface without depending on it: the progress callback
// type of long operations, the hook that processes pending interface messages, and the texts
// of the interface language (the shell points them at its language files).
#pragma once

#include <functional>
#include <initializer_list>
#include <string>

class TObject;

// Progress of a long operation: the sender and a percentage; true asks the operation to stop.
using TProgressCallback = std::function<bool(TObject* sender, int percent)>;

// Processes pending interface messages; set by the GUI layer, empty when there is none.
extern std::function<void()> ProcessMessagesHook;

// Calls ProcessMessagesHook when it is set.
void ProcessMessages();

// The source of message texts by key ("" when it has none); nullptr detaches it.
using TMessageSource = std::string (*)(const std::string& key);
void SetMessageSource(TMessageSource source);
// The text of message `key` from the source, or `english` when it has none.
std::string InterfaceMessage(const std::string& key, const std::string& english);
// The same with each "%s" in turn replaced by the next of `args` (a "%s" without one stays).
std::string InterfaceMessage(const std::string& key, const std::string& english, std::initializer_list<std::string> args);

