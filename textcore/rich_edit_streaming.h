// Loading and saving the text of a TRichEditW as plain text (in the code page of its
// Language), Unicode text (UTF-16LE; a byte order mark is skipped on loading, none is written)
// and RTF, with progress events and a program-wide way to stop a running load or save.
// A load that fails or is stopped leaves the control's text as it was.
#pragma once

#include <string>

#include "platform/exceptions.h"

class TCustomRichEditW;
class TStream;

// "Process interrupted by user".
class EUserInterrupt : public Exception {
public:
  EUserInterrupt() : Exception("Process interrupted by user") {}
};

// The class library's error for a failed stream operation ("Failed to Load Stream", ...).
class EOutOfResources : public Exception { using Exception::Exception; };

// Asks a running load or save to stop at its next buffer.
void InterruptRichEditStreaming();

// Replaces the text (or the selection, with SelectedInOut) with the stream's content from its
// position to its end, read in the control's InputFormat. RTF that cannot be read is taken as
// plain text.
void LoadRichEditStream(TCustomRichEditW& control, TStream& stream);
// Writes the text (or the selection, with SelectedInOut or `selection`) in the control's
// OutputFormat.
void SaveRichEditStream(TCustomRichEditW& control, TStream& stream, bool selection = false);
