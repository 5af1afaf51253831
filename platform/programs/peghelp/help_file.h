// A help topic read from the device: the file through the platform's file API, then decoded
// and cut to its topic. Whatever goes wrong becomes a page that says so.
#pragma once

#include <string>

#include "help_address.h"

namespace handheld::peghelp {

struct LoadedTopic {
  std::string html;     // the page to show: the topic, or the message
  std::string title;    // the file's title, empty for a message
  std::string message;  // what went wrong, empty when the topic is shown
};

LoadedTopic loadTopic(const HelpAddress& address);
// A page that shows `message` alone.
LoadedTopic messagePage(const std::string& message);
bool helpFileExists(const std::u16string& path);

}  // namespace handheld::peghelp
