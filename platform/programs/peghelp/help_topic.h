// One topic of a help file. A file holds several topics; each begins at an <a name="...">
// anchor and runs to the next anchor of the same or an outer level (see docs/device-programs.md,
// "Help viewer"), so the page shown is the file's head plus that part of its body.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace handheld::peghelp {

// Markup nested deeper than this is refused: the parser's cost grows with the square of the
// depth, and the layout recurses once per level.
inline constexpr size_t kMaxNesting = 1000;

// Tables inside more tables than this show their cells as plain blocks: the layout's cost
// grows exponentially with the nesting of tables.
inline constexpr size_t kMaxTableNesting = 8;

// How deeply the markup nests as a quick scan counts it: no less than a conforming parser
// would build for it, more for some broken markup.
size_t markupNesting(std::string_view html);

struct HelpTopic {
  std::string html;     // the page to lay out; a complete, well-formed document
  std::string title;    // the file's <title>, white space collapsed
  bool found = false;   // the anchor exists (always, when none is asked for)
  std::string refusal;  // why the file is not shown at all; empty when it is
};

// The topic of `anchor` (matched exactly, else without regard to ASCII case); the whole body
// for an empty anchor.
HelpTopic extractTopic(std::string_view html, std::string_view anchor);

}  // namespace handheld::peghelp
