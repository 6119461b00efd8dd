#pragma once
// What every window of the program is given: where its messages go, the busy cursor, help, and
// the settings file that keeps window positions. main builds one set for the program; tests build
// one with a recording sink, a recording cursor and a settings file of their own.

#include "platform/messages.h"
#include "platform/settings_file.h"
#include "platform/ui/core/busy_cursor.h"
#include "platform/ui/core/help.h"

namespace ui {

struct WindowServices {
    platform::MessageSink& messages;
    BusyCursor& busy;
    HelpService& help;
    platform::SettingsFile& settings;
};

}  // namespace ui
