#pragma once

// Web pages as a browser saves them, made for the tests: a short page of the usual parts, a news story written
// with character references throughout, and a documentation page with its own styles, scripts, tables and lists.

#include <QByteArray>
#include <QString>

namespace fixtures {

inline QByteArray shortSavedPage()
{
    return QByteArrayLiteral(
        "<html><head><title>T</title><style>p{margin:0;color:red}</style><script>var a=1;</script></head>\n"
        "<body><p>The R&D team met; then they left.</p><p>Don&rsquo;t stop &mdash; caf&eacute; &#233;t&#xE9;.</p>\n"
        "<ul><li>One</li><li>Two</li></ul></body></html>\n");
}

// What the short page reads as.
inline QString shortSavedPageText()
{
    return QStringLiteral(
        "T The R&D team met; then they left. Don\u2019t stop \u2014 caf\u00e9 \u00e9t\u00e9. One Two");
}

inline QByteArray entityNewsPage()
{
    return QByteArray(R"page(<!DOCTYPE html>
<html lang="en-GB">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Caf&eacute; owners &ldquo;hopeful&rdquo; as market re&#8209;opens &ndash; The Valley Post</title>
<link rel="stylesheet" href="/static/site.css?v=3&amp;t=1">
<style>
  .byline{font-size:.8em;color:#555}
  blockquote{border-left:4px solid #ccc;padding-left:1em}
</style>
<script type="application/ld+json">{"@type":"NewsArticle","headline":"Caf\u00e9 owners hopeful"}</script>
<script>
  window.dataLayer = window.dataLayer || [];
  function gtag(){dataLayer.push(arguments);} gtag('js', new Date());
  if (window.innerWidth < 600 && navigator.language.indexOf('en') < 0) { console.log('<p>small</p>'); }
</script>
</head>
<body class="story">
<!-- Header: <nav> is filled in by the menu script -->
<header><a href="/" class="logo" title="Home &gt; The Valley Post">The Valley Post</a>
<nav><ul>
  <li><a href="/news">News</a></li>
  <li><a href="/sport">Sport</a></li>
  <li><a href="/what-s-on" data-label='What&#39;s on > this week'>What&rsquo;s on</a></li>
</ul></nav>
<noscript><p>Please turn on JavaScript to see the menu.</p></noscript>
</header>
<main>
<article>
<h1>Caf&eacute; owners &ldquo;hopeful&rdquo; as market re&#8209;opens</h1>
<p class="byline">By Ren&eacute;e O&rsquo;Connor &middot; 12&nbsp;March&nbsp;2024 &middot; 4&nbsp;min read</p>
<figure><img src="market.jpg" alt="Stalls &amp; shoppers"><figcaption>The covered market on Saturday&#8212;busier than it has been for years.</figcaption></figure>
<p>Traders at the town&#8217;s covered market say they&rsquo;re &ldquo;cautiously hopeful&rdquo; after the hall re-opened on Saturday&nbsp;&mdash; eighteen months after a fire closed it.</p>
<p>&ldquo;We&rsquo;ve waited a long time,&rdquo; said Jos&eacute; Mart&iacute;nez, who runs the caf&eacute; by the north door. &ldquo;People came back on day one. That&#x2019;s all we wanted.&rdquo;</p>
<blockquote><p>It&#146;s like the old days &#150; only the roof doesn&#x27;t leak.</p></blockquote>
<p>Rents rise by 3&percnt; from April; stall holders pay &pound;40&ndash;&pound;65 a week, and the council says the &euro;2&frac12;m repairs came in &#8220;on budget&#8221;. Fish&nbsp;&amp;&nbsp;chips, cr&egrave;me br&ucirc;l&eacute;e and na&iuml;ve art are back, as is AT&T's old payphone &amp the clock&hellip;</p>
<p>Opening hours: 8&nbsp;a.m.&ndash;6&nbsp;p.m., Monday&#x2013;Saturday. Dogs &ne; welcome. 5 &lt; 6 &amp;&amp; 7 &gt; 2.</p>
</article>
<aside><h2>Related</h2><ul><li><a href="/a">Bridge to close for repairs</a></li><li><a href="/b">New bus times from May</a></li></ul></aside>
</main>
<footer><p>&copy; 2024 The Valley Post &bull; <a href="/privacy">Privacy</a> &bull; <a href="/terms">Terms&nbsp;of&nbsp;use</a></p></footer>
<script src="/static/menu.js" defer></script>
<script>document.querySelectorAll('a').forEach(function (a) { if (a.href.indexOf('#') > 0) a.rel = 'x'; });</script>
</body>
</html>
)page");
}

inline QByteArray documentationPage()
{
    return QByteArray(R"page(<!doctype html>
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=utf-8">
<title>tabulate(1) &mdash; Reference Manual</title>
<style type="text/css">
body { font-family: "DejaVu Sans", sans-serif; max-width: 50em; }
table.options td, table.options th { border: 1px solid #999; padding: .2em .5em; }
code, pre { font-family: monospace; background: #f4f4f4; }
</style>
<script>
var sections = ["synopsis", "options"];
function toc() { for (var i = 0; i < sections.length; i++) { /* <li> */ } }
</script>
</head>
<body onload="toc()">
<div id="nav"><a href="index.html">Contents</a> | <a href="install.html">Installing</a> | <a href="faq.html">FAQ</a></div>
<svg width="16" height="16" viewBox="0 0 16 16" aria-hidden="true"><title>Book icon</title><desc>An open book</desc><path d="M1 2h6v12H1z"/></svg>
<h1 id="top">tabulate(1)</h1>
<h2>Name</h2>
<p><b>tabulate</b> &ndash; line up columns of text</p>
<h2>Synopsis</h2>
<pre><code>tabulate [-s SEP] [-w WIDTH] [FILE...]
cat data.csv | tabulate -s ,</code></pre>
<h2>Options</h2>
<table class="options">
<thead><tr><th>Option</th><th>Default</th><th>Meaning</th></tr></thead>
<tbody>
<tr><td><code>-s</code>&nbsp;SEP</td><td>tab</td><td>Split each line at <var>SEP</var>.</td></tr>
<tr><td><code>-w</code>&nbsp;WIDTH</td><td>80</td><td>Wrap cells wider than <var>WIDTH</var>&nbsp;characters.</td></tr>
<tr><td><code>-h</code></td><td>&ndash;</td><td>Print this help &amp; exit.</td></tr>
</tbody>
</table>
<h2>Notes</h2>
<ol>
<li>Input is read as UTF&#8209;8; a byte order mark is skipped.</li>
<li>Lines longer than 2<sup>16</sup> characters are cut.</li>
<li>Exit status: 0 on success, 1 if a file can&#39;t be read, 2 for bad usage<br>(see <a href="#top" title="Back to the top >">above</a>).</li>
</ol>
<dl><dt>Example</dt><dd>Given <kbd>a,b</kbd> and <kbd>-s ,</kbd> the output is <samp>a&nbsp;&nbsp;b</samp>.</dd><dt>Bugs</dt><dd>None known.</dd></dl>
<template id="row"><tr><td>placeholder cell</td></tr></template>
<hr>
<address>Written by the Tabulate authors. Send bugs to &lt;bugs@example.org&gt;.</address>
<script>
  // Highlight the current section when the reader scrolls; 1 < 2 && 3 > 2
  document.addEventListener('scroll', function () {});
</script>
</body>
</html>
)page");
}

} // namespace fixtures
