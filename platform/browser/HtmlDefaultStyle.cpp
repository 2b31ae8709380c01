// The look of HTML elements before a page's own rules: the usual defaults
// of desktop browsers (block elements, margins, heading sizes, lists,
// tables, links in blue and underlined), with the head, scripts and other
// content this view never runs hidden.
#include "platform/browser/HtmlContainer_p.h"

const char* const HtmlDefaultStyleSheet = R"CSS(
html { display: block; height: 100%; }
head, script, style, title, meta, link, base, noscript, template, param, datalist,
applet, noembed, noframes, area, map { display: none; }
body { display: block; margin: 8px; }
address, blockquote, center, div, figure, figcaption, footer, form, header, hr, legend,
listing, main, nav, p, plaintext, pre, section, xmp, article, aside, dd, dl, dt, fieldset,
details, summary, frameset, frame, menu, dir, ul, ol, h1, h2, h3, h4, h5, h6, optgroup { display: block; }
p, dl, multicol { margin-top: 1em; margin-bottom: 1em; }
blockquote, figure { margin: 1em 40px; }
address, i, em, cite, dfn, var { font-style: italic; }
b, strong, th { font-weight: bold; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
center { text-align: center; }
big { font-size: larger; }
small { font-size: smaller; }
sub { vertical-align: sub; font-size: smaller; }
sup { vertical-align: super; font-size: smaller; }
tt, code, kbd, samp, pre, listing, xmp, plaintext { font-family: "Courier New", monospace; }
pre, listing, xmp, plaintext { white-space: pre; margin-top: 1em; margin-bottom: 1em; }
nobr { white-space: nowrap; }
h1 { font-size: 2em; margin: 0.67em 0; font-weight: bold; }
h2 { font-size: 1.5em; margin: 0.83em 0; font-weight: bold; }
h3 { font-size: 1.17em; margin: 1em 0; font-weight: bold; }
h4 { margin: 1.33em 0; font-weight: bold; }
h5 { font-size: 0.83em; margin: 1.67em 0; font-weight: bold; }
h6 { font-size: 0.67em; margin: 2.33em 0; font-weight: bold; }
hr { border: 1px inset #808080; height: 0; margin: 0.5em auto; }
ul, menu, dir { list-style-type: disc; margin-top: 1em; margin-bottom: 1em; padding-left: 40px; }
ol { list-style-type: decimal; margin-top: 1em; margin-bottom: 1em; padding-left: 40px; }
ul ul, ol ul, ul ol, ol ol { margin-top: 0; margin-bottom: 0; }
ul ul, ol ul { list-style-type: circle; }
ul ul ul, ul ol ul, ol ul ul, ol ol ul { list-style-type: square; }
li { display: list-item; }
dd { margin-left: 40px; }
table { display: table; border-spacing: 2px; border-collapse: separate; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { text-align: center; }
col { display: table-column; }
colgroup { display: table-column-group; }
caption { display: table-caption; text-align: center; }
a:link, a:visited, a[href] { color: #0000EE; text-decoration: underline; cursor: pointer; }
img { display: inline-block; }
br { display: block; }
input, select, textarea, button { display: inline-block; }
)CSS";
