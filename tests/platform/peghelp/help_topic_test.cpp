// Topics cut from help files: where each begins and ends, what the page keeps of the file,
// and how broken or hostile markup is read or refused.
#include <gtest/gtest.h>

#include <gumbo.h>

#include <fstream>
#include <sstream>

#include "help_topic.h"

namespace handheld::peghelp {
namespace {

std::string testFile() {
  std::ifstream in(std::string(HELP_TEST_FILES) + "/test.htm");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool has(const std::string& html, std::string_view text) { return html.find(text) != std::string::npos; }

// How deep the parser really nests the markup's elements.
size_t parsedDepth(std::string_view html) {
  GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, html.data(), html.size());
  size_t deepest = 0;
  std::vector<std::pair<const GumboNode*, size_t>> stack{{output->root, 1}};
  while (!stack.empty()) {
    auto [node, depth] = stack.back();
    stack.pop_back();
    if (node->type != GUMBO_NODE_ELEMENT) continue;
    deepest = std::max(deepest, depth);
    for (unsigned i = 0; i < node->v.element.children.length; ++i)
      stack.push_back({static_cast<const GumboNode*>(node->v.element.children.data[i]), depth + 1});
  }
  gumbo_destroy_output(&kGumboDefaultOptions, output);
  return deepest;
}

TEST(HelpTopic, RunsFromItsAnchorToTheNextOfTheSameOrAnOuterLevel) {
  const std::string file = testFile();
  ASSERT_FALSE(file.empty());

  // An anchor right before a heading: the topic holds the deeper headings that follow.
  HelpTopic a = extractTopic(file, "A");
  EXPECT_TRUE(a.found);
  EXPECT_EQ(a.title, "Viewer test");
  EXPECT_TRUE(has(a.html, "Topic A") && has(a.html, "Part of A") && has(a.html, "<li>three</li>"));
  EXPECT_FALSE(has(a.html, "Topic B") || has(a.html, "Text before"));

  // An anchor inside a heading: the heading's text before the anchor is kept too.
  HelpTopic b = extractTopic(file, "B");
  EXPECT_TRUE(has(b.html, "<h2><a name=\"B\">Topic B</a></h2>") && has(b.html, "Tap <i>Help</i>"));
  EXPECT_FALSE(has(b.html, "Topic A") || has(b.html, "Topic C</h2>") || has(b.html, "The last topic"));

  // A part of a topic ends where the next topic of its own or an outer level begins.
  HelpTopic part = extractTopic(file, "A1");
  EXPECT_TRUE(has(part.html, "Part of A") && has(part.html, "<li>one</li>"));
  EXPECT_FALSE(has(part.html, "The first topic") || has(part.html, "Topic B"));

  // The last topic runs to the end of the file; the lists and the file's style stay whole.
  HelpTopic c = extractTopic(file, "C");
  EXPECT_TRUE(has(c.html, "The last topic") && has(c.html, "<style>h2 { color: #004080; }</style>"));
  EXPECT_FALSE(has(c.html, "Topic B"));

  // No anchor: the whole body.
  HelpTopic whole = extractTopic(file, "");
  EXPECT_TRUE(whole.found);
  EXPECT_TRUE(has(whole.html, "Text before") && has(whole.html, "The last topic"));
}

TEST(HelpTopic, FindsAnchorsExactlyFirstThenWithoutCase) {
  const std::string file = "<a name=\"x\"></a><h2>small</h2><a name=\"X\"></a><h2>capital</h2>";
  EXPECT_TRUE(has(extractTopic(file, "X").html, "capital"));
  EXPECT_FALSE(has(extractTopic(file, "X").html, "small"));
  EXPECT_TRUE(has(extractTopic(file, "x").html, "small"));
  HelpTopic loose = extractTopic("<h2><a name=\"PToday\">Today</a></h2>", "ptoday");
  EXPECT_TRUE(loose.found);
  HelpTopic missing = extractTopic(testFile(), "Nowhere");
  EXPECT_FALSE(missing.found);
  EXPECT_EQ(missing.refusal, "");
  EXPECT_FALSE(has(missing.html, "Topic"));
}

TEST(HelpTopic, WritesASoundPageFromBrokenMarkup) {
  // Unterminated tags: shown as far as they go.
  HelpTopic open = extractTopic("<title>T <b>x</title><h2><a name=B>Bee<p>one<p>two <b>bold <a href='#B", "B");
  EXPECT_TRUE(open.found);
  EXPECT_EQ(open.title, "T <b>x");
  EXPECT_TRUE(has(open.html, "<title>T &lt;b&gt;x</title>"));
  EXPECT_TRUE(has(open.html, "one") && has(open.html, "two") && has(open.html, "bold"));
  // Attribute values and text are escaped again; scripts and foreign content go.
  HelpTopic escaped = extractTopic(
      "<p title='say \"hi\" & <go>'>1 &lt; 2</p><script>alert(1)</script><svg><text>s</text></svg><p bad\"name=1>x</p>", "");
  EXPECT_TRUE(has(escaped.html, "title=\"say &quot;hi&quot; &amp; &lt;go&gt;\""));
  EXPECT_TRUE(has(escaped.html, "1 &lt; 2"));
  EXPECT_FALSE(has(escaped.html, "alert") || has(escaped.html, "<svg") || has(escaped.html, "bad\""));
  // Every result parses back to the same text.
  EXPECT_EQ(extractTopic(escaped.html, "").html, escaped.html);
}

TEST(HelpTopic, RefusesMarkupNestedTooDeeply) {
  EXPECT_EQ(kMaxNesting, 1000u);
  std::string deep;
  for (int i = 0; i < 1001; ++i) deep += "<div>";
  HelpTopic refused = extractTopic(deep, "");
  EXPECT_EQ(refused.refusal, "the file's markup nests more than 1000 levels deep");
  EXPECT_EQ(refused.html, "");
  std::string fine;
  for (int i = 0; i < 990; ++i) fine += "<div>";
  EXPECT_EQ(extractTopic(fine + "end", "").refusal, "");
  // Long flat runs of elements that close themselves are not deep.
  std::string flat = "<ul>";
  for (int i = 0; i < 3000; ++i) flat += "<li>item<p>para<dt>t<dd>d";
  EXPECT_LT(markupNesting(flat), 10u);
  EXPECT_EQ(extractTopic(flat, "").refusal, "");
}

TEST(HelpTopic, TablesNestedTooDeeplyLoseTheirStructure) {
  EXPECT_EQ(kMaxTableNesting, 8u);
  std::string nested;
  for (int i = 0; i < 12; ++i) nested += "<table><tr><td>cell " + std::to_string(i);
  const std::string html = extractTopic(nested, "").html;
  size_t tables = 0, cells = 0;
  for (size_t at = 0; (at = html.find("<table>", at)) != std::string::npos; ++at) ++tables;
  for (size_t at = 0; (at = html.find("<td>", at)) != std::string::npos; ++at) ++cells;
  EXPECT_EQ(tables, 8u);
  EXPECT_EQ(cells, 8u);
  EXPECT_TRUE(has(html, "cell 11"));  // the content stays
}

TEST(HelpTopic, NestingScanCountsNoLessThanTheParserBuilds) {
  EXPECT_EQ(markupNesting("<br><img src=x><hr/><!-- <div><div> --><script><div></script>"), 0u);
  EXPECT_EQ(markupNesting("<div><p>a<p>b</div><div>"), 2u);
  EXPECT_EQ(markupNesting("<div title='a>b'><span>"), 2u);
  // Markup a parser nests ever deeper, however it is written.
  const std::vector<std::string> growing{"<div><table></div>", "<b><div></b>", "<li><ul>", "<p><b>x",
                                         "<div x\"><span>", "<table><td><table><td>", "<font><i></font>",
                                         "<a><p></a>", "<dl><dd><dl><dt>", "<select><option><optgroup>",
                                         "<div/>", "<li><h2>", "<h2></h1><q)x>", "<x =\"><div>", "<div></body>",
                                         "<p><b><i><u></p><div>x"};
  for (const auto& unit : growing) {
    std::string html;
    for (int i = 0; i < 120; ++i) html += unit;
    // The parser adds the html and body elements and a table's sections of its own.
    EXPECT_GE(2 * markupNesting(html) + 4, parsedDepth(html)) << unit;
  }
}

}  // namespace
}  // namespace handheld::peghelp
