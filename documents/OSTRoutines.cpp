#include "documents/OSTRoutines.h"
#include "documents/HtmlEntities.h"
#include "platform/TextEncoding.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <climits>
#include <span>
#include <string_view>
#include <vector>

#include <signal.h>
#include <unistd.h>

namespace {

bool isControl(QChar c)
{
    return c.unicode() <= 32;
}

// White space between the parts of a tag.
bool isMarkupSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r' || u == u'\f';
}

bool isAsciiAlpha(char16_t u)
{
    return (u | 0x20) >= u'a' && (u | 0x20) <= u'z';
}

char16_t asciiLower(char16_t u)
{
    return isAsciiAlpha(u) ? u | 0x20 : u;
}

bool isAsciiAlnum(char16_t u)
{
    return isAsciiAlpha(u) || (u >= u'0' && u <= u'9');
}

// The one line a page is read as: each run of white space (the no-break space too, which only keeps words
// together on screen) and each break between blocks become one space between words.
class LineWriter
{
public:
    explicit LineWriter(qsizetype capacity) { mText.reserve(capacity); }

    void put(QChar c)
    {
        if (isMarkupSpace(c) || c.unicode() == 0xA0) {
            breakWords();
            return;
        }
        if (mSpace)
            mText.append(QLatin1Char(' '));
        mSpace = false;
        mText.append(c);
    }

    void put(char32_t c)
    {
        if (QChar::requiresSurrogates(c)) {
            put(QChar(QChar::highSurrogate(c)));
            put(QChar(QChar::lowSurrogate(c)));
        } else {
            put(QChar(char16_t(c)));
        }
    }

    void breakWords() { mSpace = !mText.isEmpty(); }

    QString take() { return TrimControl(mText); }

private:
    QString mText;
    bool mSpace = false;
};

const HtmlEntity* findEntity(std::string_view name)
{
    const std::span<const HtmlEntity> table = HtmlEntityTable();
    const auto found =
        std::lower_bound(table.begin(), table.end(), name,
                         [](const HtmlEntity& entity, std::string_view key) { return entity.name < key; });
    return found != table.end() && found->name == name ? &*found : nullptr;
}

// The longest name of the table that a page may write without its ";".
qsizetype longestBareEntityName()
{
    static const qsizetype longest = [] {
        qsizetype result = 0;
        for (const HtmlEntity& entity : HtmlEntityTable()) {
            if (!entity.name.ends_with(';'))
                result = std::max(result, qsizetype(entity.name.size()));
        }
        return result;
    }();
    return longest;
}

// The character a numeric reference stands for. Codes that cannot be characters become the replacement
// character, and 0x80 to 0x9F are read as Windows-1252, as the pages that write them mean them.
char32_t numericCharacter(char32_t code)
{
    if (code == 0 || code > 0x10FFFF || QChar::isSurrogate(code))
        return 0xFFFD;
    if (code >= 0x80 && code <= 0x9F) {
        const char byte = char(code);
        return decodeCodePage(QByteArrayView(&byte, 1), 1252).at(0).unicode();
    }
    return code;
}

// Reads a page in one pass from the first character to the last. Every search ahead either ends in what it
// consumes or is remembered to have failed, so no stretch of the page is searched again and again.
class HtmlReader
{
public:
    explicit HtmlReader(QStringView page)
        : mPage(page), mSize(page.size()), mOut(page.size()),
          mLastGt(page.lastIndexOf(u'>')), mLastQuote{page.lastIndexOf(u'"'), page.lastIndexOf(u'\'')}
    {
    }

    QString read()
    {
        qsizetype i = 0;
        while (i < mSize) {
            const QChar c = mPage[i];
            if (c == u'&') {
                i = reference(i);
            } else if (c == u'<' && i >= mTextOnlyUntil) {
                i = markup(i);
            } else {
                put(c);
                ++i;
            }
        }
        return mOut.take();
    }

private:
    static constexpr qsizetype LongestEntityName = 32;
    static constexpr qsizetype LongestKnownTag = 10;

    template <typename Character> void put(Character c)
    {
        if (mHidden == 0)
            mOut.put(c);
    }

    // A character reference at `amp`: what it stands for is read, or the "&" alone when it is none.
    // Returns where reading goes on.
    qsizetype reference(qsizetype amp)
    {
        const qsizetype start = amp + 1;
        if (start < mSize && mPage[start] == u'#')
            return numericReference(amp);
        qsizetype end = start;
        char name[LongestEntityName];
        while (end < mSize && end - start < LongestEntityName && isAsciiAlnum(mPage[end].unicode())) {
            name[end - start] = char(mPage[end].unicode());
            ++end;
        }
        const qsizetype length = end - start;
        if (length < LongestEntityName && end < mSize && mPage[end] == u';') {
            name[length] = ';';
            if (const HtmlEntity* entity = findEntity(std::string_view(name, length + 1)))
                return putEntity(*entity, end + 1);
        }
        // Without its ";" only an older name counts, the longest one the letters begin with ("&copy2024").
        for (qsizetype k = std::min(length, longestBareEntityName()); k > 0; --k) {
            if (const HtmlEntity* entity = findEntity(std::string_view(name, k)))
                return putEntity(*entity, start + k);
        }
        put(QChar(u'&'));
        return start;
    }

    qsizetype putEntity(const HtmlEntity& entity, qsizetype next)
    {
        put(entity.first);
        if (entity.second)
            put(entity.second);
        return next;
    }

    qsizetype numericReference(qsizetype amp)
    {
        qsizetype p = amp + 2;
        const bool hex = p < mSize && (mPage[p] == u'x' || mPage[p] == u'X');
        if (hex)
            ++p;
        const qsizetype digits = p;
        char32_t code = 0;
        for (; p < mSize; ++p) {
            const char16_t u = mPage[p].unicode();
            int digit = -1;
            if (u >= u'0' && u <= u'9')
                digit = u - u'0';
            else if (hex && (u | 0x20) >= u'a' && (u | 0x20) <= u'f')
                digit = (u | 0x20) - u'a' + 10;
            if (digit < 0)
                break;
            // Past the last code point the value only needs to stay too large.
            code = std::min<char32_t>(code * (hex ? 16 : 10) + char32_t(digit), 0x110000);
        }
        if (p == digits) {
            put(QChar(u'&'));
            return amp + 1;
        }
        if (p < mSize && mPage[p] == u';')
            ++p;
        put(numericCharacter(code));
        return p;
    }

    // Markup at a "<": a tag, a comment or a declaration, none of which is read. A "<" that starts none of them
    // is text ("2 < 3"). Returns where reading goes on.
    qsizetype markup(qsizetype lt)
    {
        const char16_t next = lt + 1 < mSize ? mPage[lt + 1].unicode() : 0;
        if (next == u'!')
            return mPage.sliced(lt).startsWith(u"<!--") ? comment(lt) : bogusComment(lt);
        if (next == u'?')
            return bogusComment(lt);
        if (next == u'/') {
            const char16_t after = lt + 2 < mSize ? mPage[lt + 2].unicode() : 0;
            if (isAsciiAlpha(after))
                return tag(lt, true);
            if (after == u'>')
                return lt + 3;
            if (lt + 2 < mSize)
                return bogusComment(lt);
        } else if (isAsciiAlpha(next)) {
            return tag(lt, false);
        }
        put(QChar(u'<'));
        return lt + 1;
    }

    // Markup that never ends loses only its "<", so no text after it is lost.
    qsizetype bogusComment(qsizetype lt)
    {
        const qsizetype end = nextGt(lt);
        return end < 0 ? lt + 1 : end + 1;
    }

    qsizetype comment(qsizetype lt)
    {
        const qsizetype body = lt + 4;
        if (body < mSize && mPage[body] == u'>')
            return body + 1;
        if (body + 1 < mSize && mPage[body] == u'-' && mPage[body + 1] == u'>')
            return body + 2;
        if (!mNoCommentEnd) {
            for (qsizetype dash = mPage.indexOf(u"--", body); dash >= 0; dash = mPage.indexOf(u"--", dash + 1)) {
                if (dash + 2 < mSize && mPage[dash + 2] == u'>')
                    return dash + 3;
                if (dash + 3 < mSize && mPage[dash + 2] == u'!' && mPage[dash + 3] == u'>')
                    return dash + 4;
            }
            mNoCommentEnd = true;
        }
        return bogusComment(lt);
    }

    qsizetype nextGt(qsizetype from) const { return from > mLastGt ? -1 : mPage.indexOf(u'>', from); }

    qsizetype tag(qsizetype lt, bool closing)
    {
        // With no ">" ahead the tag cannot end, and neither can any after it.
        if (lt > mLastGt)
            return lt + 1;
        qsizetype p = lt + (closing ? 2 : 1);
        char name[LongestKnownTag];
        qsizetype length = 0;
        for (; p < mSize && !isMarkupSpace(mPage[p]) && mPage[p] != u'/' && mPage[p] != u'>'; ++p, ++length) {
            const char16_t u = mPage[p].unicode();
            if (length < LongestKnownTag)
                name[length] = u < 0x80 ? char(asciiLower(u)) : '\0';
        }
        qsizetype end = quotedTagEnd(p);
        if (end < 0)
            end = nextGt(lt);
        if (end < 0)
            return lt + 1;
        const std::string_view element = length <= LongestKnownTag ? std::string_view(name, length) : "";
        if (closing) {
            closeElement(element);
            return end + 1;
        }
        return openElement(element, end + 1, mPage[end - 1] == u'/');
    }

    // The ">" that ends a tag whose attributes start at `p`: the first one outside quoted attribute values;
    // -1 when a quoted value is never closed or no ">" follows. What follows an "=" is the same whichever tag
    // reached it, so the "=" signs of a failed walk are remembered and a later walk reaching one fails at once.
    qsizetype quotedTagEnd(qsizetype p)
    {
        mWalk.clear();
        while (p <= mLastGt) {
            if (mPage[p] == u'>')
                return p;
            if (isMarkupSpace(mPage[p]) || mPage[p] == u'/') {
                ++p;
                continue;
            }
            // An attribute's name, which may begin with "=", and its value if it has one.
            ++p;
            while (p < mSize && !isMarkupSpace(mPage[p]) && mPage[p] != u'/' && mPage[p] != u'>' && mPage[p] != u'=')
                ++p;
            while (p < mSize && isMarkupSpace(mPage[p]))
                ++p;
            if (p == mSize || mPage[p] != u'=')
                continue;
            if (!mFailedEquals.empty() && mFailedEquals[size_t(p)])
                break;
            mWalk.push_back(p);
            ++p;
            while (p < mSize && isMarkupSpace(mPage[p]))
                ++p;
            if (p < mSize && (mPage[p] == u'"' || mPage[p] == u'\'')) {
                if (p >= mLastQuote[mPage[p] == u'"' ? 0 : 1])
                    break;
                p = mPage.indexOf(mPage[p], p + 1) + 1;
            } else {
                while (p < mSize && !isMarkupSpace(mPage[p]) && mPage[p] != u'>')
                    ++p;
            }
        }
        if (mFailedEquals.empty())
            mFailedEquals.resize(size_t(mSize));
        for (const qsizetype equals : mWalk)
            mFailedEquals[size_t(equals)] = true;
        return -1;
    }

    // Returns where reading goes on after the start tag that ends before `next`.
    qsizetype openElement(std::string_view element, qsizetype next, bool selfClosing)
    {
        if (mSvgDepth > 0 && isSvgLabel(element)) {
            ++mHidden;
            return next;
        }
        if (isBlock(element))
            mOut.breakWords();
        if (element == "template")
            ++mHidden;
        else if (element == "svg" && !selfClosing)
            ++mSvgDepth;
        else if (isUnreadRawText(element))
            return rawTextEnd(next, element);
        else if (element == "title" || element == "textarea")
            mTextOnlyUntil = rawTextEnd(next, element);
        return next;
    }

    void closeElement(std::string_view element)
    {
        if (element == "template" || (mSvgDepth > 0 && isSvgLabel(element))) {
            mHidden = std::max(mHidden - 1, 0);
            return;
        }
        if (isBlock(element))
            mOut.breakWords();
        if (element == "svg")
            mSvgDepth = std::max(mSvgDepth - 1, 0);
    }

    // Where the text of a script, style or title that starts at `from` ends: at "</name" (letters A to Z in
    // either case) followed by white space, "/" or ">", or else at the end of the page.
    qsizetype rawTextEnd(qsizetype from, std::string_view element) const
    {
        const qsizetype length = qsizetype(element.size());
        for (qsizetype p = mPage.indexOf(u"</", from); p >= 0; p = mPage.indexOf(u"</", p + 1)) {
            const qsizetype after = p + 2 + length;
            if (after >= mSize || !(isMarkupSpace(mPage[after]) || mPage[after] == u'/' || mPage[after] == u'>'))
                continue;
            qsizetype k = 0;
            while (k < length && asciiLower(mPage[p + 2 + k].unicode()) == char16_t(element[size_t(k)]))
                ++k;
            if (k == length)
                return p;
        }
        return mSize;
    }

    // Elements whose ends separate words, as a browser lays them out on lines of their own or in cells.
    static bool isBlock(std::string_view element)
    {
        static constexpr std::string_view blocks[] = {
            "address",    "article", "aside",     "blockquote", "body",     "br",      "caption", "center",
            "dd",         "details", "dialog",    "dir",        "div",      "dl",      "dt",      "fieldset",
            "figcaption", "figure",  "footer",    "form",       "frameset", "h1",      "h2",      "h3",
            "h4",         "h5",      "h6",        "head",       "header",   "hgroup",  "hr",      "html",
            "legend",     "li",      "listing",   "main",       "menu",     "nav",     "ol",      "optgroup",
            "option",     "p",       "plaintext", "pre",        "section",  "summary", "table",   "tbody",
            "td",         "tfoot",   "th",        "thead",      "title",    "tr",      "ul"};
        static_assert(std::is_sorted(std::begin(blocks), std::end(blocks)));
        return std::binary_search(std::begin(blocks), std::end(blocks), element);
    }

    // Elements whose text is never shown: scripts, styles, what a browser shows without scripts or frames.
    static bool isUnreadRawText(std::string_view element)
    {
        return element == "script" || element == "style" || element == "noscript" || element == "iframe" ||
               element == "noembed" || element == "noframes" || element == "xmp";
    }

    // A drawing's title and description are for tools, not shown with the page.
    static bool isSvgLabel(std::string_view element) { return element == "title" || element == "desc"; }

    QStringView mPage;
    qsizetype mSize;
    LineWriter mOut;
    qsizetype mLastGt;
    qsizetype mLastQuote[2];
    qsizetype mTextOnlyUntil = 0; // before it, "<" is text (the inside of a title)
    int mHidden = 0;              // inside a template or a drawing's title: nothing is read
    int mSvgDepth = 0;
    bool mNoCommentEnd = false;
    std::vector<bool> mFailedEquals;
    std::vector<qsizetype> mWalk;
};

QString collapseRuns(const QString& text, QChar ch)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == ch && i > 0 && text.at(i - 1) == ch)
            continue;
        out.append(c);
    }
    return out;
}

bool wildcardMatch(QStringView name, QStringView pattern)
{
    // Iterative "*" and "?" matching without letter case, as file masks behave on the desktop the files
    // come from; "[" is an ordinary character there.
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern.at(p) == QLatin1Char('?') || pattern.at(p).toCaseFolded() == name.at(n).toCaseFolded())) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

// The folder as it exists on disk: each part that does not exist as written is looked up without regard
// to letter case ("Schemes" finds "schemes"). Empty when some part cannot be found.
QString existingFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return folder;
    const QString clean = QDir::cleanPath(QDir(folder).absolutePath());
    const QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString current = QStringLiteral("/");
    for (const QString& part : parts) {
        QDir dir(current);
        if (QFileInfo(dir.filePath(part)).isDir()) {
            current = dir.filePath(part);
            continue;
        }
        const QStringList entries =
            dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
        auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const QString& entry) { return entry.compare(part, Qt::CaseInsensitive) == 0; });
        if (found == entries.end())
            return {};
        current = dir.filePath(*found);
    }
    return current;
}

QString cellText(const QTableWidget* grid, int row, int column)
{
    const QTableWidgetItem* item = grid->item(row, column);
    return item ? item->text() : QString();
}

} // namespace

QString TrimControl(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isControl(text.at(begin)))
        ++begin;
    while (end > begin && isControl(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

QString TrimLeftControl(const QString& text)
{
    qsizetype begin = 0;
    while (begin < text.size() && isControl(text.at(begin)))
        ++begin;
    return text.mid(begin);
}

QString CollapseSpaces(const QString& text)
{
    return collapseRuns(text, QLatin1Char(' '));
}

QString CollapseCharRuns(const QString& text, const QString& ch)
{
    if (ch.size() != 1)
        return text;
    return collapseRuns(text, ch.at(0));
}

QString CrLfToSpace(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            out.append(QLatin1Char(' '));
            ++i;
        } else {
            out.append(text.at(i));
        }
    }
    return out;
}

QString HtmlToText(const QString& text)
{
    return HtmlReader(text).read();
}

RunResult RunProgram(const QString& program, const QStringList& arguments, std::chrono::milliseconds limit)
{
    RunResult result;
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    // Its own process group, so a program that hangs is killed together with any helpers it started.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start();
    if (!process.waitForStarted(-1))
        return result;
    result.started = true;

    if (QCoreApplication::instance()) {
        // Timers and paint events go on while the program runs, so the window never looks frozen; the
        // user's clicks and keys wait until it has finished.
        QEventLoop loop;
        QTimer limitTimer;
        limitTimer.setSingleShot(true);
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&limitTimer, &QTimer::timeout, &loop, [&] {
            result.timedOut = true;
            loop.quit();
        });
        limitTimer.start(limit);
        if (process.state() != QProcess::NotRunning)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    } else if (!process.waitForFinished(int(std::min<qint64>(limit.count(), INT_MAX)))) {
        result.timedOut = true;
    }

    if (result.timedOut && process.state() != QProcess::NotRunning) {
        ::kill(-pid_t(process.processId()), SIGKILL);
        process.kill();
        process.waitForFinished(-1); // reaps the killed program
    }
    if (result.timedOut || process.exitStatus() == QProcess::CrashExit) {
        result.crashed = !result.timedOut;
        result.exitCode = -1;
    } else {
        result.exitCode = process.exitCode();
    }
    return result;
}

int RunAndWait(const QString& program, const QStringList& arguments)
{
    return RunProgram(program, arguments).exitCode;
}

void ListFiles(const QString& mask, QStringList& list)
{
    const QFileInfo maskInfo(mask);
    const QString folder = existingFolder(maskInfo.path());
    if (folder.isEmpty())
        return;
    const QString pattern = maskInfo.fileName();
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        if (wildcardMatch(name, pattern))
            list.append(name);
    }
}

void ShellOpen(const QString& target)
{
    if (target.isEmpty())
        return;
    const QFileInfo file(target);
    if (file.exists())
        QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
    else
        QDesktopServices::openUrl(QUrl::fromUserInput(target));
}

void ClearGridKeepHeader(QTableWidget* grid)
{
    // The header row is the horizontal header, which clearContents leaves alone. The row left behind gets
    // empty items, so callers may read its cells without checking for missing ones.
    grid->clearContents();
    grid->setRowCount(1);
    for (int column = 0; column < grid->columnCount(); ++column)
        grid->setItem(0, column, grid->itemPrototype() ? grid->itemPrototype()->clone() : new QTableWidgetItem);
}

bool GridFirstColumnBlank(const QTableWidget* grid)
{
    if (grid->columnCount() == 0)
        return true;
    for (int row = 0; row < grid->rowCount(); ++row) {
        if (!TrimControl(cellText(grid, row, 0)).isEmpty())
            return false;
    }
    return true;
}
