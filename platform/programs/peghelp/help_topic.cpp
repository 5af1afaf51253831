#include "help_topic.h"

#include <gumbo.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_map>

namespace handheld::peghelp {

namespace {

// ---- the nesting scan ----

using Names = std::initializer_list<std::string_view>;

bool among(std::string_view name, Names names) { return std::find(names.begin(), names.end(), name) != names.end(); }

const Names kVoid{"area", "base", "basefont", "bgsound", "br", "col", "embed", "frame", "hr", "img", "input",
                  "keygen", "link", "meta", "param", "source", "track", "wbr"};
const Names kRawText{"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes"};
const Names kScope{"applet", "caption", "html", "table", "td", "th", "marquee", "object", "template"};
const Names kFormatting{"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small", "strike", "strong", "tt", "u"};
const Names kClosesParagraph{"address", "article", "aside", "blockquote", "center", "details", "dialog", "dir",
                             "div", "dl", "fieldset", "figcaption", "figure", "footer", "form", "h1", "h2", "h3",
                             "h4", "h5", "h6", "header", "hgroup", "hr", "li", "main", "menu", "nav", "ol", "p",
                             "pre", "section", "summary", "table", "ul"};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

const Names kSpecial{"address", "applet", "area", "article", "aside", "base", "basefont", "bgsound", "blockquote",
                     "body", "br", "button", "caption", "center", "col", "colgroup", "dd", "details", "dir", "div",
                     "dl", "dt", "embed", "fieldset", "figcaption", "figure", "footer", "form", "frame", "frameset",
                     "h1", "h2", "h3", "h4", "h5", "h6", "head", "header", "hgroup", "hr", "html", "iframe", "img",
                     "input", "keygen", "li", "link", "listing", "main", "marquee", "menu", "meta", "nav", "noembed",
                     "noframes", "noscript", "object", "ol", "p", "param", "plaintext", "pre", "script", "section",
                     "select", "source", "style", "summary", "table", "tbody", "td", "template", "textarea", "tfoot",
                     "th", "thead", "title", "tr", "track", "ul", "wbr", "xmp"};
const Names kHeadings{"h1", "h2", "h3", "h4", "h5", "h6"};
const Names kTableParts{"table", "tbody", "thead", "tfoot", "tr", "td", "th", "caption", "colgroup"};

// Where the tag whose name ends at `from` ends ('>'), or npos: its attributes read as a
// parser reads them, so a quote counts only around a value.
size_t tagEnd(std::string_view html, size_t from) {
  size_t i = from;
  auto at = [&](size_t k) { return k < html.size() ? html[k] : '\0'; };
  while (i < html.size()) {
    while (i < html.size() && (isSpace(html[i]) || html[i] == '/')) ++i;
    if (i >= html.size() || html[i] == '>') return i < html.size() ? i : std::string_view::npos;
    ++i;  // an attribute name's first character may be anything, '=' too
    while (i < html.size() && !isSpace(html[i]) && html[i] != '/' && html[i] != '>' && html[i] != '=') ++i;
    while (isSpace(at(i))) ++i;
    if (at(i) != '=') continue;
    ++i;
    while (isSpace(at(i))) ++i;
    if (at(i) == '"' || at(i) == '\'') {
      size_t close = html.find(html[i], i + 1);
      if (close == std::string_view::npos) return close;
      i = close + 1;
    } else {
      while (i < html.size() && !isSpace(html[i]) && html[i] != '>') ++i;
    }
  }
  return std::string_view::npos;
}

std::string lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isNameChar(char c) { return isLetter(c) || (c >= '0' && c <= '9'); }

// The open elements as a parser keeps them, roughly and never too few: end tags close only
// where a parser's would, and formatting elements closed with their container open again
// before the next text or element, as a parser reopens them.
class NestingScan {
 public:
  size_t deepest() const { return deepest_; }

  void text() { reopenFormatting(); }

  void open(const std::string& name) {
    if (among(name, kVoid) || among(name, kRawText)) {
      reopenFormatting();
      return;  // "<div/>" opens a div all the same; only void elements stay empty
    }
    if (among(name, kClosesParagraph))
      if (auto p = inScope("p", {"applet", "caption", "html", "table", "td", "th", "marquee", "object", "template",
                                 "button"}))
        truncate(*p);
    std::optional<size_t> same;
    if (name == "li") same = listItem({"li"});
    if (name == "dt" || name == "dd") same = listItem({"dt", "dd"});
    if (name == "tr" || name == "td" || name == "th") same = inScope(name, {"table"});
    if (name == "option" && !open_.empty() && open_.back().name == name) same = open_.size() - 1;
    if (same) truncate(*same);
    reopenFormatting();
    // A parser puts the row and the section a cell or row lacks in the table.
    const bool cell = name == "td" || name == "th";
    if ((cell || name == "tr") && inScope("table", kScope)) {
      if (!inScope("tbody", {"table"}) && !inScope("thead", {"table"}) && !inScope("tfoot", {"table"})) push("tbody");
      if (cell && !inScope("tr", {"table"})) push("tr");
    }
    push(name);
  }

  void close(const std::string& name) {
    if (name == "body" || name == "html") return;
    std::optional<size_t> at;
    if (among(name, kFormatting) || name == "form") {
      // The elements inside stay open.
      if ((at = inScope(name, kScope))) {
        if (open_[*at].formatting) forget(name);
        open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(*at));
      }
      return;
    }
    if (among(name, kHeadings)) {
      for (std::string_view heading : kHeadings)
        if (auto found = inScope(heading, kScope)) at = std::max(at.value_or(0), *found);
    } else if (among(name, kTableParts)) {
      at = inScope(name, {"html", "table", "template"});
    } else if (name == "li") {
      at = inScope(name, {"applet", "caption", "html", "table", "td", "th", "marquee", "object", "template", "ol", "ul"});
    } else if (name == "p") {
      at = inScope(name, {"applet", "caption", "html", "table", "td", "th", "marquee", "object", "template", "button"});
    } else if (among(name, kSpecial)) {
      at = inScope(name, kScope);
    } else {
      at = inScope(name, kSpecial);
    }
    if (at) truncate(*at);
  }

 private:
  struct Open {
    std::string name;
    bool formatting;
  };
  struct Active {
    std::string name;
    bool isOpen;
  };

  void push(const std::string& name) {
    const bool formatting = among(name, kFormatting);
    open_.push_back({name, formatting});
    if (formatting) {
      // More formatting elements in effect at once than any page needs: too deep.
      if (active_.size() >= kMaxNesting) deepest_ = kMaxNesting + 1;
      active_.push_back({name, true});
    }
    deepest_ = std::max(deepest_, open_.size());
  }

  void truncate(size_t size) {
    for (size_t k = size; k < open_.size(); ++k)
      if (open_[k].formatting) markClosed(open_[k].name);
    open_.resize(size);
  }

  void markClosed(const std::string& name) {
    for (size_t k = active_.size(); k-- > 0;)
      if (active_[k].name == name && active_[k].isOpen) {
        active_[k].isOpen = false;
        return;
      }
  }

  void forget(const std::string& name) {
    for (size_t k = active_.size(); k-- > 0;)
      if (active_[k].name == name && active_[k].isOpen) {
        active_.erase(active_.begin() + static_cast<std::ptrdiff_t>(k));
        return;
      }
  }

  // The formatting elements closed since the last one still open, opened again.
  void reopenFormatting() {
    size_t first = active_.size();
    while (first > 0 && !active_[first - 1].isOpen) --first;
    for (size_t k = first; k < active_.size(); ++k) {
      active_[k].isOpen = true;
      open_.push_back({active_[k].name, true});
    }
    deepest_ = std::max(deepest_, open_.size());
  }

  // The highest open element named `name` below no element of `barriers`.
  std::optional<size_t> inScope(std::string_view name, Names barriers) const {
    for (size_t k = open_.size(); k-- > 0;) {
      if (open_[k].name == name) return k;
      if (among(open_[k].name, barriers)) return std::nullopt;
    }
    return std::nullopt;
  }

  // The list item a new one closes: the nearest open one, unless an element of the special
  // kind other than address, div and p lies above it.
  std::optional<size_t> listItem(Names items) const {
    for (size_t k = open_.size(); k-- > 0;) {
      if (among(open_[k].name, items)) return k;
      if (among(open_[k].name, kSpecial) && !among(open_[k].name, {"address", "div", "p"})) return std::nullopt;
    }
    return std::nullopt;
  }

  std::vector<Open> open_;
  std::vector<Active> active_;
  size_t deepest_ = 0;
};

// ---- the topic ----

std::string_view tagName(const GumboNode* node) {
  if (node->type != GUMBO_NODE_ELEMENT || node->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) return {};
  return gumbo_normalized_tagname(node->v.element.tag);
}

int headingLevel(const GumboNode* node) {
  std::string_view name = tagName(node);
  return name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6' ? name[1] - '0' : 0;
}

// The nodes in document order, with where each one's subtree ends in that order. Walked
// without recursion: the tree is as deep as the markup makes it.
struct DocumentOrder {
  std::vector<const GumboNode*> nodes;
  std::vector<size_t> subtreeEnd;
  std::unordered_map<const GumboNode*, size_t> position;

  static const GumboVector* childrenOf(const GumboNode* node) {
    if (node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE) return &node->v.element.children;
    if (node->type == GUMBO_NODE_DOCUMENT) return &node->v.document.children;
    return nullptr;
  }

  explicit DocumentOrder(const GumboNode* root) {
    struct Frame {
      const GumboNode* node;
      size_t index;
      unsigned next;
    };
    std::vector<Frame> stack;
    auto enter = [&](const GumboNode* node) {
      stack.push_back({node, nodes.size(), 0});
      position.emplace(node, nodes.size());
      nodes.push_back(node);
      subtreeEnd.push_back(0);
    };
    enter(root);
    while (!stack.empty()) {
      Frame& top = stack.back();
      const GumboVector* children = childrenOf(top.node);
      if (children && top.next < children->length) {
        enter(static_cast<const GumboNode*>(children->data[top.next++]));
        continue;
      }
      subtreeEnd[top.index] = nodes.size();
      stack.pop_back();
    }
  }
};

struct Anchor {
  std::string name;
  int level;     // 1-6 for a heading's, 7 for one outside headings
  size_t start;  // where its topic begins in document order
};

// An anchor inside a heading, or right before one, has the heading's level; its topic begins
// with the heading.
std::vector<Anchor> findAnchors(const DocumentOrder& order) {
  std::vector<Anchor> anchors;
  for (size_t i = 0; i < order.nodes.size(); ++i) {
    const GumboNode* node = order.nodes[i];
    if (tagName(node) != "a") continue;
    const GumboAttribute* name = gumbo_get_attribute(&node->v.element.attributes, "name");
    if (!name || !*name->value) continue;
    Anchor anchor{name->value, 7, i};
    for (const GumboNode* up = node->parent; up; up = up->parent) {
      if (int level = headingLevel(up)) {
        anchor.level = level;
        anchor.start = order.position.at(up);
        break;
      }
    }
    if (anchor.level == 7) {
      size_t next = order.subtreeEnd[i];
      while (next < order.nodes.size() && (order.nodes[next]->type == GUMBO_NODE_WHITESPACE ||
                                           order.nodes[next]->type == GUMBO_NODE_COMMENT))
        ++next;
      if (next < order.nodes.size())
        if (int level = headingLevel(order.nodes[next])) anchor.level = level;
    }
    anchors.push_back(std::move(anchor));
  }
  return anchors;
}

void appendEscaped(std::string& out, std::string_view text, bool attribute) {
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"':
        if (attribute) {
          out += "&quot;";
          break;
        }
        [[fallthrough]];
      default: out += c;
    }
  }
}

bool isAttributeName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name)
    if (!isNameChar(c) && c != '-' && c != '_' && c != ':' && c != '.') return false;
  return true;
}

std::string textOf(const GumboNode* node) {
  std::string text;
  if (const GumboVector* children = DocumentOrder::childrenOf(node))
    for (unsigned i = 0; i < children->length; ++i) {
      auto* child = static_cast<const GumboNode*>(children->data[i]);
      if (child->type == GUMBO_NODE_TEXT || child->type == GUMBO_NODE_WHITESPACE) text += child->v.text.text;
    }
  return text;
}

std::string collapsed(std::string_view text) {
  std::string out;
  bool space = false;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
      space = !out.empty();
      continue;
    }
    if (space) out += ' ';
    space = false;
    out += c;
  }
  return out;
}

// Writes the part of the tree that lies in [begin, end) of document order: nodes wholly
// inside whole, the ancestors of its edges as their tags around what they hold of it.
class RangeWriter {
 public:
  RangeWriter(const DocumentOrder& order, size_t begin, size_t end) : order_(order), begin_(begin), end_(end) {}

  void write(const GumboNode* node, std::string& out, size_t depth) {
    size_t at = order_.position.at(node);
    if (order_.subtreeEnd[at] <= begin_ || at >= end_ || depth > kMaxNesting) return;
    switch (node->type) {
      case GUMBO_NODE_TEXT:
      case GUMBO_NODE_WHITESPACE:
      case GUMBO_NODE_CDATA:
        appendEscaped(out, node->v.text.text, false);
        return;
      case GUMBO_NODE_ELEMENT: break;
      default: return;  // comments, templates
    }
    std::string_view name = tagName(node);
    // Scripts do not run here; style sheets all go to the page's head.
    if (name == "script" || name == "noscript" || name == "style" || node->v.element.tag_namespace != GUMBO_NAMESPACE_HTML)
      return;
    // An unknown element keeps its content only; so do the parts of tables nested too deeply.
    const bool unwrapped = name == "table" && tables_ >= kMaxTableNesting;
    const bool tagged = !name.empty() && !unwrapped && !(unwrappedTables_ > 0 && (among(name, kTableParts) || name == "col"));
    const bool table = tagged && name == "table";
    if (tagged) {
      out += '<';
      out += name;
      const GumboVector& attributes = node->v.element.attributes;
      for (unsigned i = 0; i < attributes.length; ++i) {
        auto* attribute = static_cast<const GumboAttribute*>(attributes.data[i]);
        if (!isAttributeName(attribute->name)) continue;
        out += ' ';
        out += attribute->name;
        out += "=\"";
        appendEscaped(out, attribute->value, true);
        out += '"';
      }
      out += '>';
    }
    const GumboVector& children = node->v.element.children;
    tables_ += table;
    unwrappedTables_ += unwrapped;
    for (unsigned i = 0; i < children.length; ++i) write(static_cast<const GumboNode*>(children.data[i]), out, depth + 1);
    tables_ -= table;
    unwrappedTables_ -= unwrapped;
    if (tagged && !among(name, kVoid)) {
      out += "</";
      out += name;
      out += '>';
    }
  }

 private:
  const DocumentOrder& order_;
  size_t begin_, end_;
  size_t tables_ = 0;           // tables written around the node being written
  size_t unwrappedTables_ = 0;  // tables around it written as their content only
};

bool equalAsciiNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && lowered(a) == lowered(b);
}

struct GumboDeleter {
  void operator()(GumboOutput* output) const { gumbo_destroy_output(&kGumboDefaultOptions, output); }
};

const GumboNode* findElement(const DocumentOrder& order, std::string_view name) {
  for (const GumboNode* node : order.nodes)
    if (tagName(node) == name) return node;
  return nullptr;
}

}  // namespace

size_t markupNesting(std::string_view html) {
  NestingScan scan;
  size_t i = 0, textFrom = 0;
  auto textBefore = [&](size_t end) {
    if (html.substr(textFrom, end - textFrom).find_first_not_of(" \t\n\r\f") != std::string_view::npos) scan.text();
  };
  while ((i = html.find('<', i)) != std::string_view::npos && scan.deepest() <= kMaxNesting) {
    if (html.substr(i, 4) == "<!--") {
      textBefore(i);
      // "<!-->" and "<!--->" are whole comments; "--!>" ends one too.
      size_t end = std::min(html.find("-->", i + 2), html.find("--!>", i + 2));
      if (end == std::string_view::npos) return scan.deepest();
      i = textFrom = end + (html[end + 2] == '!' ? 4 : 3);
      continue;
    }
    const char next = i + 1 < html.size() ? html[i + 1] : '\0';
    const bool closing = next == '/';
    const size_t nameStart = i + (closing ? 2 : 1);
    if (nameStart >= html.size() || !isLetter(html[nameStart])) {
      if (next == '!' || next == '?' || (closing && nameStart < html.size() && html[nameStart] != '>')) {
        // Declarations, processing instructions, bogus end tags: a comment up to '>'.
        textBefore(i);
        size_t end = html.find('>', i);
        if (end == std::string_view::npos) return scan.deepest();
        i = textFrom = end + 1;
      } else {
        ++i;  // a '<' in text
      }
      continue;
    }
    textBefore(i);
    size_t nameEnd = nameStart;
    while (nameEnd < html.size() && !isSpace(html[nameEnd]) && html[nameEnd] != '/' && html[nameEnd] != '>') ++nameEnd;
    std::string name = lowered(html.substr(nameStart, nameEnd - nameStart));
    size_t end = tagEnd(html, nameEnd);
    if (end == std::string_view::npos) return scan.deepest();
    i = textFrom = end + 1;
    if (closing) {
      scan.close(name);
      continue;
    }
    scan.open(name);
    if (among(name, kRawText)) {
      const std::string closer = "</" + name;
      size_t close = i;
      while ((close = html.find("</", close)) != std::string_view::npos &&
             lowered(html.substr(close, closer.size())) != closer)
        close += 2;
      if (close == std::string_view::npos) return scan.deepest();
      i = textFrom = close;
    }
  }
  if (i == std::string_view::npos) textBefore(html.size());
  return scan.deepest();
}

HelpTopic extractTopic(std::string_view html, std::string_view anchor) {
  HelpTopic topic;
  if (markupNesting(html) > kMaxNesting) {
    topic.refusal = "the file's markup nests more than " + std::to_string(kMaxNesting) + " levels deep";
    return topic;
  }
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;  // the errors are not read; a broken file must not pile them up
  std::unique_ptr<GumboOutput, GumboDeleter> parsed(gumbo_parse_with_options(&options, html.data(), html.size()));
  if (!parsed) {
    topic.refusal = "the file could not be read as HTML";
    return topic;
  }
  const DocumentOrder order(parsed->document);
  if (const GumboNode* title = findElement(order, "title")) topic.title = collapsed(textOf(title));

  const GumboNode* body = findElement(order, "body");
  size_t begin = body ? order.position.at(body) : 0, end = body ? order.subtreeEnd[begin] : 0;
  topic.found = anchor.empty();
  if (!anchor.empty()) {
    auto anchors = findAnchors(order);
    auto match = std::find_if(anchors.begin(), anchors.end(), [&](const Anchor& a) { return a.name == anchor; });
    if (match == anchors.end())
      match = std::find_if(anchors.begin(), anchors.end(), [&](const Anchor& a) { return equalAsciiNoCase(a.name, anchor); });
    topic.found = match != anchors.end();
    if (topic.found) {
      begin = match->start;
      for (auto next = match + 1; next != anchors.end(); ++next)
        if (next->level <= match->level && next->start > begin && next->start < end) {
          end = next->start;
          break;
        }
    }
  }

  std::string& out = topic.html;
  out = "<!DOCTYPE html><html><head><title>";
  appendEscaped(out, topic.title, false);
  out += "</title>";
  for (const GumboNode* node : order.nodes)
    if (tagName(node) == "style") {
      out += "<style>";
      out += textOf(node);  // raw text, which cannot hold its own closing tag
      out += "</style>";
    }
  out += "</head>";
  if (body && topic.found) RangeWriter(order, begin, end).write(body, out, 0);
  out += "</html>";
  return topic;
}

}  // namespace handheld::peghelp
