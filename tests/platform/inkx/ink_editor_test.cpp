// The editor's changes and their undo, the stroke selection and eraser, and the text layout.
#include <gtest/gtest.h>

#include "ink_editor.h"
#include "page_layout.h"

namespace handheld::inkx {
namespace {

void draw(InkEditor& editor, std::initializer_list<InkPoint> points) {
  auto it = points.begin();
  editor.beginStroke(*it);
  for (++it; it != points.end(); ++it) editor.extendStroke(*it);
  editor.endStroke();
}

TEST(InkEditor, UndoRestoresEachKindOfChangeStepByStep) {
  InkEditor editor;
  EXPECT_FALSE(editor.canUndo());
  std::vector<InkDocument> states{editor.document()};
  draw(editor, {{0, 0}, {160, 160}});
  states.push_back(editor.document());
  EXPECT_EQ(editor.insertText(u"a", true), Change::content);
  editor.insertText(u"b", true);  // typed on: one step with the "a"
  states.push_back(editor.document());
  editor.addRecording({0, 0}, {1, 2, 3});
  states.push_back(editor.document());
  editor.pen.eraserReach = 4 * kSubUnits;
  EXPECT_EQ(editor.eraseAt({80, 80}, true), Change::ink);
  EXPECT_EQ(editor.eraseAt({80, 80}, false), Change::none);
  states.push_back(editor.document());
  editor.setCaret(0, false);
  editor.setCaret(1, true);
  editor.deleteSelection();
  states.push_back(editor.document());
  InkDocument clip;
  clip.strokes.push_back({0, 32, {{1, 1}}});
  editor.paste(clip);
  ASSERT_EQ(editor.document().strokes.size(), 1u);
  EXPECT_EQ(editor.selectedStrokes(), std::vector<size_t>{0});
  while (!states.empty()) {
    ASSERT_TRUE(editor.canUndo());
    EXPECT_EQ(editor.undo(), Change::content);
    EXPECT_EQ(editor.document(), states.back()) << states.size();
    states.pop_back();
    if (states.size() == 1) break;
  }
  EXPECT_EQ(editor.undo(), Change::content);
  EXPECT_TRUE(editor.document().empty());
  EXPECT_FALSE(editor.canUndo());
  EXPECT_EQ(editor.undo(), Change::none);
}

TEST(InkEditor, UndoBringsBackTheZoomOfItsStep) {
  InkEditor editor;
  editor.zoom = 150;
  draw(editor, {{0, 0}});
  editor.zoom = 300;
  editor.undo();
  EXPECT_EQ(editor.zoom, 150);
}

TEST(InkEditor, BackspaceTakesPairsAndLineBreaksWhole) {
  InkEditor editor;
  editor.insertText(u"x\r\n\xD83D\xDE00", false);
  editor.backspace();
  EXPECT_EQ(editor.document().text.chars, u"x\r\n");
  editor.backspace();
  EXPECT_EQ(editor.document().text.chars, u"x");
  editor.setCaret(0, false);
  editor.deleteForward();
  EXPECT_EQ(editor.document().text.chars, u"");
}

TEST(InkEditor, EraserAndSelectionTakeOnlyWhatTheyReach) {
  InkEditor editor;
  editor.pen.eraserReach = 2 * kSubUnits;
  draw(editor, {{0, 0}, {320, 0}});      // along the top
  draw(editor, {{0, 800}, {320, 800}});  // 50 pixels lower
  editor.selectStrokesIn({-16, -16}, {400, 100});
  EXPECT_EQ(editor.selectedStrokes(), std::vector<size_t>{0});
  editor.selectStrokesIn({-16, -16}, {200, 1000});  // neither lies wholly inside
  EXPECT_TRUE(editor.selectedStrokes().empty());
  EXPECT_EQ(editor.eraseAt({160, 400}, true), Change::none);
  EXPECT_EQ(editor.eraseAt({160, 790}, true), Change::ink);
  ASSERT_EQ(editor.document().strokes.size(), 1u);
  EXPECT_EQ(editor.document().strokes[0].points[0].y, 0);
}

TEST(PageLayout, TextWrapsAtWordsInsideTheFrameAndBreaksAtReturns) {
  InkText text{u"one two three four five six seven eight nine ten eleven twelve\rlast", 16, 0};
  const TextFrame frame = textFrame(16, 16);
  const TextLayout layout(text, frame);
  ASSERT_GE(layout.lines().size(), 3u);
  for (const auto& line : layout.lines()) {
    EXPECT_LE(layout.xOf(line.end), frame.right + 0.01);
    // Lines start at a word.
    if (line.start > 0 && text.chars[line.start - 1] != u'\r') EXPECT_EQ(text.chars[line.start - 1], u' ');
  }
  EXPECT_EQ(text.chars.substr(layout.lines().back().start), u"last");
  EXPECT_EQ(layout.indexAt(frame.left - 5, frame.top + 1), 0u);
  // A return at the end opens an empty line for the caret.
  InkText ended{u"a\r", 16, 0};
  EXPECT_EQ(TextLayout(ended, frame).lines().size(), 2u);
}

TEST(PageLayout, MarginsMoveTheTextAndThePageGrowsWithContent) {
  EXPECT_EQ(textFrame(16, 16).left, 6);
  EXPECT_EQ(textFrame(0, 16).left, 30);   // left margin
  EXPECT_EQ(textFrame(1, 16).top, 30);    // top margin
  EXPECT_EQ(textFrame(8, 16).left, 30);   // both
  EXPECT_EQ(textFrame(8, 16).top, 30);
  EXPECT_EQ(textFrame(16, 16).lineHeight, 20);
  InkDocument document;
  EXPECT_EQ(pageHeight(document, 0), 320);
  document.strokes.push_back({0, 32, {{0, 400 * kSubUnits}}});
  EXPECT_EQ(pageHeight(document, 0), 640);
}

}  // namespace
}  // namespace handheld::inkx
