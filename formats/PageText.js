// Runs in the page, in a world of its own, after Readability.js: gives the text that "Read web page" reads as
// { source, text }. The source is "selection" (what the user selected), "article" (the main content that
// Readability finds, headings and paragraphs in order, one a line) or "page" (the page's visible text).
(function (useSelection) {
    "use strict";

    function clean(text) {
        return text.replace(/\s+/g, " ").trim();
    }

    function selectionText() {
        var focused = document.activeElement;
        if (focused && (focused.tagName === "TEXTAREA" || focused.tagName === "INPUT")) {
            try {
                if (typeof focused.selectionStart === "number" && focused.selectionEnd > focused.selectionStart)
                    return focused.value.substring(focused.selectionStart, focused.selectionEnd);
            } catch (e) {
                // Inputs without a text selection (check boxes) throw here.
            }
        }
        var selection = window.getSelection();
        return selection ? selection.toString() : "";
    }

    var BLOCK = /^(ADDRESS|ARTICLE|ASIDE|BLOCKQUOTE|CAPTION|DD|DETAILS|DIV|DL|DT|FIGCAPTION|FIGURE|FOOTER|H[1-6]|HEADER|HR|LI|MAIN|OL|P|PRE|SECTION|SUMMARY|TABLE|TBODY|TD|TFOOT|TH|THEAD|TR|UL)$/;
    var SKIPPED = /^(SCRIPT|STYLE|NOSCRIPT|TEMPLATE|BUTTON|SELECT|TEXTAREA|INPUT|FORM|NAV|IFRAME|SVG)$/;

    // Each block of the article becomes one paragraph; a line break inside a block starts a new one.
    function paragraphsOf(root) {
        var paragraphs = [];
        var line = "";
        function flush() {
            var text = clean(line);
            if (text)
                paragraphs.push(text);
            line = "";
        }
        function walk(node) {
            if (node.nodeType === 3) {
                line += node.data;
                return;
            }
            if (node.nodeType !== 1)
                return;
            var tag = node.tagName.toUpperCase();
            if (SKIPPED.test(tag) || node.getAttribute("aria-hidden") === "true" || node.hidden)
                return;
            if (tag === "BR") {
                flush();
                return;
            }
            var block = BLOCK.test(tag);
            if (block)
                flush();
            for (var child = node.firstChild; child; child = child.nextSibling)
                walk(child);
            if (block)
                flush();
        }
        walk(root);
        flush();
        return paragraphs;
    }

    // Cookie and consent notices are often plain boxes that Readability cannot tell from content.
    function removeNotices(doc) {
        var notice = /cookie|consent|gdpr/i;
        var all = doc.querySelectorAll("[id], [class], [role], [aria-modal]");
        for (var i = 0; i < all.length; ++i) {
            var element = all[i];
            var role = element.getAttribute("role");
            if (notice.test(element.id || "") || notice.test(element.getAttribute("class") || "") ||
                role === "dialog" || role === "alertdialog" || element.getAttribute("aria-modal") === "true")
                element.remove();
        }
    }

    // The headline: Readability leaves it out of the content when it is the page's title.
    function headline(title) {
        if (!title)
            return "";
        var headings = document.querySelectorAll("h1, h2");
        for (var i = 0; i < headings.length; ++i) {
            if (clean(headings[i].textContent) === title)
                return title;
        }
        return "";
    }

    if (useSelection) {
        var selected = selectionText();
        if (clean(selected))
            return { source: "selection", text: selected };
    }

    var paragraphs = [];
    var title = "";
    if (document.documentElement) {
        var copy = document.cloneNode(true);
        removeNotices(copy);
        var article = new Readability(copy).parse();
        if (article && article.content) {
            // An inert document: nothing of the content runs or loads.
            var holder = document.implementation.createHTMLDocument("");
            holder.body.innerHTML = article.content;
            paragraphs = paragraphsOf(holder.body);
            title = headline(clean(article.title || ""));
        }
    }
    if (paragraphs.length > 0) {
        if (title && paragraphs[0] !== title)
            paragraphs.unshift(title);
        return { source: "article", text: paragraphs.join("\n") };
    }
    return { source: "page", text: document.body ? document.body.innerText : "" };
})
