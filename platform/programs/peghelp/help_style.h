// The viewer's own style sheet: how each element looks before a help file's styles apply.
// litehtml knows no defaults of its own, so every element the help files use is here.
#pragma once

namespace handheld::peghelp {

inline constexpr const char* kHelpStyleSheet = R"css(
html, address, blockquote, body, center, dd, dir, div, dl, dt, form, h1, h2, h3, h4, h5, h6, hr,
menu, ol, p, pre, ul { display: block; }
head, style, script, title, meta, link, base { display: none; }
li { display: list-item; }
table { display: table; border-spacing: 2px; }
thead { display: table-header-group; } tbody { display: table-row-group; }
tfoot { display: table-footer-group; } tr { display: table-row; }
td, th { display: table-cell; padding: 1px 2px; vertical-align: top; }
th { font-weight: bold; }
img { display: inline-block; }
body { margin: 4px 6px; color: black; background-color: white; line-height: 1.2; }
h1 { font-size: 1.5em; font-weight: bold; margin: 0.5em 0 0.3em 0; }
h2 { font-size: 1.3em; font-weight: bold; margin: 0.5em 0 0.3em 0; }
h3 { font-size: 1.15em; font-weight: bold; margin: 0.4em 0 0.2em 0; }
h4, h5, h6 { font-size: 1em; font-weight: bold; margin: 0.4em 0 0.2em 0; }
p, dl, pre { margin: 0.4em 0; }
ul, ol, dir, menu { margin: 0.3em 0; padding-left: 1.6em; }
ul, dir, menu { list-style-type: disc; }
ul ul { list-style-type: circle; }
ul ul ul { list-style-type: square; }
ol { list-style-type: decimal; }
dd { margin-left: 1.6em; }
blockquote { margin: 0.4em 1.2em; }
center { text-align: center; }
hr { border-top: 1px solid #808080; margin: 0.3em 0; }
b, strong, dt { font-weight: bold; }
i, em, cite, var, dfn, address { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
pre, code, tt, kbd, samp { font-family: "Courier New", monospace; }
pre { white-space: pre; }
sub { vertical-align: sub; font-size: 0.8em; }
sup { vertical-align: super; font-size: 0.8em; }
small { font-size: 0.85em; } big { font-size: 1.15em; }
a[href] { color: #0000C0; text-decoration: underline; }
)css";

}  // namespace handheld::peghelp
