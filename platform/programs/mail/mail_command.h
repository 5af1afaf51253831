// The composer's command line: `-to "<address>"` names the recipient; other switches (such
// as -OId) are accepted and ignored.
#pragma once

#include <string>
#include <string_view>

namespace handheld::mail {

// The address after -to (quoted, or up to the next space); empty when there is none.
std::u16string recipientFrom(std::u16string_view commandLine);

}  // namespace handheld::mail
