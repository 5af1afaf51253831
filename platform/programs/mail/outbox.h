// The Outbox: messages the composer keeps, one file per message in the folder Outbox of
// \My Documents (made when missing), named Message0001.txt, Message0002.txt, ...: UTF-8
// text with a "To:" and a "Subject:" line, an empty line and the body.
#pragma once

#include <string>
#include <string_view>

namespace handheld::mail {

struct Message {
  std::u16string to;
  std::u16string subject;
  std::u16string body;
};

// The file's bytes. Line breaks in the header fields become spaces, so that a field cannot
// add header lines of its own.
std::string messageText(const Message& message);

// Writes the message as a new file of the Outbox; its device path, or empty on failure
// (GetLastError says why).
std::u16string keepInOutbox(const Message& message);

}  // namespace handheld::mail
