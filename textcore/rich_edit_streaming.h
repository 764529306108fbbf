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
// The stream's content from its position to its end, read with the control's load progress
// event; a stop raises EUserInterrupt. The control is left as it is.
std::string ReadRichEditStream(TCustomRichEditW& control, TStream& stream);
// Replaces the text (or the selection, with SelectedInOut) with `data` in the control's
// InputFormat, as LoadRichEditStream does once it has read the stream.
void LoadRichEditData(TCustomRichEditW& control, const std::string& data);
// The same for RTF data only: RTF the reader cannot read raises EConvertError and leaves the
// control as it was, where LoadRichEditData would take it as text.
void LoadRichEditRtf(TCustomRichEditW& control, const std::string& data);
// Replaces the text (or the selection, with SelectedInOut) with UTF-16 text whose lines end in
// CR, LF or CR LF.
void LoadRichEditText(TCustomRichEditW& control, const std::u16string& text);
// Writes the text (or the selection, with SelectedInOut or `selection`) in the control's
// OutputFormat.
void SaveRichEditStream(TCustomRichEditW& control, TStream& stream, bool selection = false);
