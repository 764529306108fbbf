// The user hears once when this session's settings cannot be saved (the settings store is
// session-only: written by a newer version, unreadable, or in a folder that cannot be written).
#pragma once

#include <string>

// The message about the settings store, "" while settings are saved normally.
std::string SettingsNoticeText();
// Shows SettingsNoticeText once the message loop runs, when there is one to show.
void ScheduleSettingsNotice();
