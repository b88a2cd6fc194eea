#include "formats/RtfReader.h"

#include "core/TextEncoding.h"

#include <QColor>
#include <QHash>
#include <QList>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <climits>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// 1440 twips to the inch and 96 document pixels to the inch.
constexpr double TwipsPerPixel = 15.0;
// Margins and indents beyond 22 inches are nonsense that only a hostile file carries.
constexpr int MaxIndentTwips = 31680;

enum class Dest : quint8
{
    Text,
    FontTable,
    ColourTable,
    FieldInstruction,
    Hold
};

struct CharState
{
    int font = -1;
    int halfPoints = 0; // 0: the reading area's own size
    int foreground = 0;
    int background = 0;
    int link = -1;
    quint8 verticalAlign = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    bool operator==(const CharState&) const = default;
};

struct ParaState
{
    Qt::Alignment alignment = Qt::AlignLeft;
    int left = 0;
    int right = 0;
    int first = 0;
    int before = 0;
    int after = 0;
};

struct GroupState
{
    CharState ch;
    ParaState para;
    Dest dest = Dest::Text;
    Dest heldDest = Dest::Text; // what \result or \ud brings back inside a held group
    int uc = 1;
};

struct FontEntry
{
    QString name;
    int codePage = 0; // 0: the document's
};

enum class Kw : quint8
{
    Ignore,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    FontTable,
    ColourTable,
    Red,
    Green,
    Blue,
    Font,
    FontCharset,
    FontCodePage,
    FontSize,
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Hidden,
    Foreground,
    Background,
    Super,
    Sub,
    NoSuperSub,
    Pard,
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    Par,
    Line,
    Tab,
    Cell,
    Row,
    Page,
    Char,
    Unicode,
    UnicodeSkip,
    Bin,
    Field,
    FieldInstruction,
    FieldResult,
    Hold,
    Result,
    Skip,
};

struct Keyword
{
    Kw kw;
    char16_t ch = 0;
};

const std::unordered_map<std::string_view, Keyword>& keywords()
{
    static const std::unordered_map<std::string_view, Keyword> table = [] {
        std::unordered_map<std::string_view, Keyword> t = {
            {"ansi", {Kw::Ansi}},
            {"mac", {Kw::Mac}},
            {"pc", {Kw::Pc}},
            {"pca", {Kw::Pca}},
            {"ansicpg", {Kw::AnsiCpg}},
            {"deff", {Kw::Deff}},
            {"fonttbl", {Kw::FontTable}},
            {"colortbl", {Kw::ColourTable}},
            {"red", {Kw::Red}},
            {"green", {Kw::Green}},
            {"blue", {Kw::Blue}},
            {"f", {Kw::Font}},
            {"fcharset", {Kw::FontCharset}},
            {"cpg", {Kw::FontCodePage}},
            {"fs", {Kw::FontSize}},
            {"plain", {Kw::Plain}},
            {"b", {Kw::Bold}},
            {"i", {Kw::Italic}},
            {"ulnone", {Kw::UnderlineNone}},
            {"strike", {Kw::Strike}},
            {"striked", {Kw::Strike}},
            {"v", {Kw::Hidden}},
            {"cf", {Kw::Foreground}},
            {"cb", {Kw::Background}},
            {"highlight", {Kw::Background}},
            {"chcbpat", {Kw::Background}},
            {"super", {Kw::Super}},
            {"sub", {Kw::Sub}},
            {"nosupersub", {Kw::NoSuperSub}},
            {"pard", {Kw::Pard}},
            {"ql", {Kw::AlignLeft}},
            {"qc", {Kw::AlignCentre}},
            {"qr", {Kw::AlignRight}},
            {"qj", {Kw::AlignJustify}},
            {"qd", {Kw::AlignJustify}},
            {"li", {Kw::LeftIndent}},
            {"lin", {Kw::LeftIndent}},
            {"ri", {Kw::RightIndent}},
            {"rin", {Kw::RightIndent}},
            {"fi", {Kw::FirstIndent}},
            {"sb", {Kw::SpaceBefore}},
            {"sa", {Kw::SpaceAfter}},
            {"par", {Kw::Par}},
            {"line", {Kw::Line}},
            {"tab", {Kw::Tab}},
            {"cell", {Kw::Cell}},
            {"nestcell", {Kw::Cell}},
            {"row", {Kw::Row}},
            {"nestrow", {Kw::Row}},
            {"page", {Kw::Page}},
            {"sect", {Kw::Page}},
            {"emdash", {Kw::Char, 0x2014}},
            {"endash", {Kw::Char, 0x2013}},
            {"bullet", {Kw::Char, 0x2022}},
            {"lquote", {Kw::Char, 0x2018}},
            {"rquote", {Kw::Char, 0x2019}},
            {"ldblquote", {Kw::Char, 0x201C}},
            {"rdblquote", {Kw::Char, 0x201D}},
            {"emspace", {Kw::Char, 0x2003}},
            {"enspace", {Kw::Char, 0x2002}},
            {"qmspace", {Kw::Char, 0x2005}},
            {"zwj", {Kw::Char, 0x200D}},
            {"zwnj", {Kw::Char, 0x200C}},
            {"zwbo", {Kw::Char, 0x200B}},
            {"ltrmark", {Kw::Char, 0x200E}},
            {"rtlmark", {Kw::Char, 0x200F}},
            {"u", {Kw::Unicode}},
            {"uc", {Kw::UnicodeSkip}},
            {"bin", {Kw::Bin}},
            {"field", {Kw::Field}},
            {"fldinst", {Kw::FieldInstruction}},
            {"fldrslt", {Kw::FieldResult}},
            {"object", {Kw::Hold}},
            {"upr", {Kw::Hold}},
            {"result", {Kw::Result}},
            {"ud", {Kw::Result}},
        };
        for (const char* name :
             {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth", "ulthd", "ulthdash",
              "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"})
            t.emplace(name, Keyword{Kw::Underline});
        // Destinations whose content is not text of the document.
        for (const char* name : {"stylesheet",
                                 "info",
                                 "pict",
                                 "header",
                                 "headerl",
                                 "headerr",
                                 "headerf",
                                 "footer",
                                 "footerl",
                                 "footerr",
                                 "footerf",
                                 "footnote",
                                 "annotation",
                                 "listtable",
                                 "listoverridetable",
                                 "revtbl",
                                 "rsidtbl",
                                 "filetbl",
                                 "template",
                                 "xe",
                                 "tc",
                                 "txe",
                                 "nonshppict",
                                 "objdata",
                                 "themedata",
                                 "colorschememapping",
                                 "latentstyles",
                                 "datastore",
                                 "generator",
                                 "pgdsctbl",
                                 "userprops",
                                 "docvar",
                                 "bkmkstart",
                                 "bkmkend",
                                 "atnid",
                                 "atnauthor",
                                 "atndate",
                                 "atnref",
                                 "atrfstart",
                                 "atrfend",
                                 "fldtype",
                                 "datafield",
                                 "ftnsep",
                                 "ftnsepc",
                                 "ftncn",
                                 "aftnsep",
                                 "aftnsepc",
                                 "aftncn",
                                 "pn",
                                 "pntxta",
                                 "pntxtb",
                                 "falt",
                                 "panose",
                                 "fontemb",
                                 "fontfile",
                                 "shpinst",
                                 "shppict",
                                 "sp",
                                 "sn",
                                 "sv",
                                 "xmlnstbl",
                                 "listpicture",
                                 "mmathPr",
                                 "do",
                                 "private",
                                 "blipuid"})
            t.emplace(name, Keyword{Kw::Skip});
        return t;
    }();
    return table;
}

// Code pages of the font character sets that Windows writers put in font tables.
int codePageForCharset(int charset)
{
    switch (charset) {
    case 0:
        return 1252;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0; // the document's code page
    }
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

struct ControlWord
{
    std::string_view name;
    bool hasParam = false;
    int param = 0;
};

// The target of a HYPERLINK field instruction: its address, a bookmark given with \l, or both.
QString hyperlinkTarget(QStringView instruction)
{
    instruction = instruction.trimmed();
    const QLatin1StringView keyword("HYPERLINK");
    if (!instruction.startsWith(keyword, Qt::CaseInsensitive))
        return {};
    QStringView rest = instruction.sliced(keyword.size());
    QString address;
    QString bookmark;
    bool nextIsBookmark = false;
    bool nextIsSwitchArgument = false;
    qsizetype i = 0;
    while (i < rest.size()) {
        if (rest[i].isSpace()) {
            ++i;
            continue;
        }
        if (rest[i] == QLatin1Char('\\') && i + 1 < rest.size() && rest[i + 1].isLetter()) {
            const QChar option = rest[i + 1].toLower();
            nextIsBookmark = option == QLatin1Char('l');
            nextIsSwitchArgument =
                option == QLatin1Char('o') || option == QLatin1Char('t') || option == QLatin1Char('m');
            i += 2;
            continue;
        }
        QString token;
        if (rest[i] == QLatin1Char('"')) {
            ++i;
            while (i < rest.size() && rest[i] != QLatin1Char('"')) {
                if (rest[i] == QLatin1Char('\\') && i + 1 < rest.size())
                    ++i;
                token += rest[i++];
            }
            ++i;
        } else {
            while (i < rest.size() && !rest[i].isSpace())
                token += rest[i++];
        }
        if (nextIsBookmark)
            bookmark = token;
        else if (!nextIsSwitchArgument && address.isEmpty())
            address = token;
        nextIsBookmark = false;
        nextIsSwitchArgument = false;
    }
    if (!bookmark.isEmpty())
        address += QLatin1Char('#') + bookmark;
    return address;
}

class Parser
{
public:
    Parser(QByteArrayView data, QTextDocument* document, const RtfReadLimits& limits)
        : mData(data.data()), mSize(data.size()), mLimits(limits), mCursor(document)
    {
    }

    void run()
    {
        mCursor.beginEditBlock();
        while (mPos < mSize && !mDone) {
            const char c = mData[mPos];
            switch (c) {
            case '{':
                mStarred = false;
                ++mPos;
                openGroup();
                break;
            case '}':
                mStarred = false;
                ++mPos;
                closeGroup();
                break;
            case '\\':
                ++mPos;
                controlSequence();
                break;
            case '\r':
            case '\n':
                ++mPos;
                break;
            default:
                mStarred = false;
                literalText();
                break;
            }
        }
        finish();
        mCursor.endEditBlock();
    }

private:
    // ---- groups

    void openGroup()
    {
        flushBytes();
        mUcSkip = 0;
        if (static_cast<int>(mStack.size()) >= mLimits.maxDepth) {
            ++mOverflow;
            return;
        }
        mStack.push_back(mState);
    }

    void closeGroup()
    {
        flushBytes();
        mUcSkip = 0;
        if (mOverflow > 0) {
            // A destination, \uc or hidden text set past the depth limit ends with its group, like any other.
            if (!mOverflowDests.empty() && mOverflowDests.back().level == mOverflow) {
                if (mState.dest == Dest::FontTable)
                    commitFontName();
                mState.dest = mOverflowDests.back().dest;
                mState.heldDest = mOverflowDests.back().heldDest;
                mState.uc = mOverflowDests.back().uc;
                mState.ch.hidden = mOverflowDests.back().hidden;
                mOverflowDests.pop_back();
            }
            --mOverflow;
            return;
        }
        if (mStack.empty())
            return; // a stray brace before the document's group
        if (mState.dest == Dest::FontTable)
            commitFontName();
        if (mStack.size() == 1) {
            // The document's own group ends here; whatever follows it is not part of the document.
            mDone = true;
            return;
        }
        mState = mStack.back();
        mStack.pop_back();
    }

    // Consumes the rest of the current group without interpreting it, except for the lengths of
    // binary data that may hold braces.
    void skipGroup()
    {
        flushBytes();
        qint64 depth = 1;
        while (mPos < mSize) {
            const char c = mData[mPos++];
            if (c == '{') {
                ++depth;
            } else if (c == '}') {
                if (--depth == 0) {
                    closeGroup();
                    return;
                }
            } else if (c == '\\' && mPos < mSize) {
                if (isLetter(mData[mPos])) {
                    const ControlWord word = readControlWord();
                    if (word.name == "bin")
                        skipBinary(word);
                } else {
                    ++mPos;
                }
            }
        }
    }

    // ---- tokens

    ControlWord readControlWord()
    {
        ControlWord word;
        const qsizetype start = mPos;
        while (mPos < mSize && isLetter(mData[mPos]))
            ++mPos;
        word.name = std::string_view(mData + start, static_cast<size_t>(mPos - start));
        bool negative = false;
        if (mPos + 1 < mSize && mData[mPos] == '-' && isDigit(mData[mPos + 1])) {
            negative = true;
            ++mPos;
        }
        qint64 value = 0;
        while (mPos < mSize && isDigit(mData[mPos])) {
            word.hasParam = true;
            value = std::min<qint64>(value * 10 + (mData[mPos] - '0'), INT_MAX);
            ++mPos;
        }
        word.param = static_cast<int>(negative ? -value : value);
        if (mPos < mSize && mData[mPos] == ' ')
            ++mPos;
        return word;
    }

    void skipBinary(const ControlWord& word)
    {
        if (word.param > 0)
            mPos += std::min<qsizetype>(word.param, mSize - mPos);
    }

    void controlSequence()
    {
        const bool starred = std::exchange(mStarred, false);
        if (mPos >= mSize)
            return;
        const char c = mData[mPos];
        if (isLetter(c)) {
            controlWord(starred);
            return;
        }
        ++mPos;
        switch (c) {
        case '\'':
            hexByte();
            break;
        case '*':
            mStarred = true;
            break;
        case '\\':
        case '{':
        case '}':
            emitChar(static_cast<char16_t>(c));
            break;
        case '~':
            emitChar(0x00A0);
            break;
        case '_':
            emitChar(0x2011);
            break;
        case '-': // an optional hyphen shows nothing
            if (mUcSkip > 0)
                --mUcSkip;
            break;
        case '\t':
            emitChar(u'\t');
            break;
        case '\r':
        case '\n':
            paragraph();
            break;
        default:
            break;
        }
    }

    void hexByte()
    {
        int value = 0;
        int digits = 0;
        while (digits < 2 && mPos < mSize) {
            const int h = hexValue(mData[mPos]);
            if (h < 0)
                break;
            value = value * 16 + h;
            ++digits;
            ++mPos;
        }
        if (digits == 0)
            return;
        if (mUcSkip > 0) {
            --mUcSkip;
            return;
        }
        addByte(static_cast<char>(value));
    }

    void controlWord(bool starred)
    {
        const ControlWord word = readControlWord();
        const auto& table = keywords();
        const auto found = table.find(word.name);
        if (found == table.end()) {
            if (starred)
                skipGroup();
            else if (mUcSkip > 0)
                --mUcSkip;
            return;
        }
        const Keyword keyword = found->second;
        if (starred && keyword.kw != Kw::FieldInstruction && keyword.kw != Kw::Result) {
            skipGroup();
            return;
        }
        if (mUcSkip > 0 && keyword.kw != Kw::Unicode) {
            // A control word standing in for a \u character counts as one skipped character.
            --mUcSkip;
            if (keyword.kw == Kw::Bin)
                skipBinary(word);
            return;
        }
        const OverflowDest before{mOverflow, mState.dest, mState.heldDest, mState.uc, mState.ch.hidden};
        apply(keyword, word);
        // Past the depth limit the groups share the deepest tracked state. What decides where text goes, whether
        // it shows and how much of it \u skips is kept aside, once per group, so that it ends with the group and the
        // text after it still arrives. A word that skipped the rest of its group has ended that group already.
        if (mOverflow > 0 && mOverflow == before.level &&
            (mState.dest != before.dest || mState.heldDest != before.heldDest || mState.uc != before.uc ||
             mState.ch.hidden != before.hidden) &&
            (mOverflowDests.empty() || mOverflowDests.back().level != mOverflow))
            mOverflowDests.push_back(before);
    }

    void apply(const Keyword& keyword, const ControlWord& word)
    {
        const bool on = !word.hasParam || word.param != 0;
        CharState& ch = mState.ch;
        ParaState& para = mState.para;
        switch (keyword.kw) {
        case Kw::Ignore:
            break;
        case Kw::Ansi:
            mCodePage = 1252;
            break;
        case Kw::Mac:
            mCodePage = 10000;
            break;
        case Kw::Pc:
            mCodePage = 437;
            break;
        case Kw::Pca:
            mCodePage = 850;
            break;
        case Kw::AnsiCpg:
            if (word.param > 0)
                mCodePage = word.param;
            break;
        case Kw::Deff:
            mDefaultFont = word.param;
            ch.font = word.param;
            break;
        case Kw::FontTable:
            mState.dest = Dest::FontTable;
            mFontEntry = -1;
            mFontName.clear();
            break;
        case Kw::ColourTable:
            mState.dest = Dest::ColourTable;
            resetColour();
            break;
        case Kw::Red:
            setColourPart(mRed, word);
            break;
        case Kw::Green:
            setColourPart(mGreen, word);
            break;
        case Kw::Blue:
            setColourPart(mBlue, word);
            break;
        case Kw::Font:
            if (mState.dest == Dest::FontTable) {
                commitFontName();
                mFontEntry = word.param;
                if (!mFonts.contains(mFontEntry))
                    mFonts.insert(mFontEntry, FontEntry{});
            } else {
                ch.font = word.param;
            }
            break;
        case Kw::FontCharset:
            if (mState.dest == Dest::FontTable && mFontEntry >= 0 && mFonts[mFontEntry].codePage == 0)
                mFonts[mFontEntry].codePage = codePageForCharset(word.param);
            break;
        case Kw::FontCodePage:
            if (mState.dest == Dest::FontTable && mFontEntry >= 0 && word.param > 0)
                mFonts[mFontEntry].codePage = word.param;
            break;
        case Kw::FontSize:
            ch.halfPoints = word.hasParam ? std::clamp(word.param, 0, 3276) : 24;
            break;
        case Kw::Plain: {
            const int link = ch.link;
            ch = CharState{};
            ch.font = mDefaultFont;
            ch.link = link; // a link is not a character property and outlives \plain
            break;
        }
        case Kw::Bold:
            ch.bold = on;
            break;
        case Kw::Italic:
            ch.italic = on;
            break;
        case Kw::Underline:
            ch.underline = on;
            break;
        case Kw::UnderlineNone:
            ch.underline = false;
            break;
        case Kw::Strike:
            ch.strike = on;
            break;
        case Kw::Hidden:
            ch.hidden = on;
            break;
        case Kw::Foreground:
            ch.foreground = word.param;
            break;
        case Kw::Background:
            ch.background = word.param;
            break;
        case Kw::Super:
            ch.verticalAlign = QTextCharFormat::AlignSuperScript;
            break;
        case Kw::Sub:
            ch.verticalAlign = QTextCharFormat::AlignSubScript;
            break;
        case Kw::NoSuperSub:
            ch.verticalAlign = QTextCharFormat::AlignNormal;
            break;
        case Kw::Pard:
            para = ParaState{};
            break;
        case Kw::AlignLeft:
            para.alignment = Qt::AlignLeft;
            break;
        case Kw::AlignCentre:
            para.alignment = Qt::AlignHCenter;
            break;
        case Kw::AlignRight:
            para.alignment = Qt::AlignRight;
            break;
        case Kw::AlignJustify:
            para.alignment = Qt::AlignJustify;
            break;
        case Kw::LeftIndent:
            para.left = std::clamp(word.param, 0, MaxIndentTwips);
            break;
        case Kw::RightIndent:
            para.right = std::clamp(word.param, 0, MaxIndentTwips);
            break;
        case Kw::FirstIndent:
            para.first = std::clamp(word.param, -MaxIndentTwips, MaxIndentTwips);
            break;
        case Kw::SpaceBefore:
            para.before = std::clamp(word.param, 0, MaxIndentTwips);
            break;
        case Kw::SpaceAfter:
            para.after = std::clamp(word.param, 0, MaxIndentTwips);
            break;
        case Kw::Par:
            paragraph();
            break;
        case Kw::Line:
            emitChar(QChar::LineSeparator);
            break;
        case Kw::Tab:
            emitChar(u'\t');
            break;
        case Kw::Cell:
            emitChar(u'\t');
            break;
        case Kw::Row:
            // The tab that ended the row's last cell separates nothing.
            if (mState.dest == Dest::Text && mRun.endsWith(QLatin1Char('\t')))
                mRun.chop(1);
            paragraph();
            break;
        case Kw::Page:
            // A page or section break starts a new paragraph only where text stands before it.
            flushText();
            if (!mParagraphPending && mCursor.block().length() > 1)
                paragraph();
            break;
        case Kw::Char:
            emitChar(keyword.ch);
            break;
        case Kw::Unicode:
            flushBytes();
            emitUnit(static_cast<char16_t>(word.param < 0 ? word.param + 65536 : word.param));
            mUcSkip = mState.uc;
            break;
        case Kw::UnicodeSkip:
            mState.uc = std::clamp(word.param, 0, 32);
            break;
        case Kw::Bin:
            skipBinary(word);
            break;
        case Kw::Field:
            mFieldInstruction.clear();
            break;
        case Kw::FieldInstruction:
            mState.dest = Dest::FieldInstruction;
            mFieldInstruction.clear();
            break;
        case Kw::FieldResult:
            if (mState.dest == Dest::Text) {
                const QString target = hyperlinkTarget(mFieldInstruction);
                if (!target.isEmpty()) {
                    mLinks.append(target);
                    ch.link = static_cast<int>(mLinks.size() - 1);
                }
            }
            break;
        case Kw::Hold:
            if (mState.dest != Dest::Hold)
                mState.heldDest = mState.dest;
            mState.dest = Dest::Hold;
            break;
        case Kw::Result:
            if (mState.dest == Dest::Hold)
                mState.dest = mState.heldDest;
            break;
        case Kw::Skip:
            skipGroup();
            break;
        }
    }

    // ---- text

    void literalText()
    {
        const auto c = static_cast<unsigned char>(mData[mPos]);
        if (c >= 0x80) {
            ++mPos;
            if (mUcSkip > 0)
                --mUcSkip;
            else
                addByte(static_cast<char>(c));
            return;
        }
        if (c < 0x20) {
            ++mPos;
            if (c == '\t')
                emitChar(u'\t');
            return; // other control bytes, a zero byte among them, carry nothing
        }
        flushBytes();
        qsizetype start = mPos;
        while (mPos < mSize) {
            const auto d = static_cast<unsigned char>(mData[mPos]);
            if (d < 0x20 || d >= 0x80 || d == '\\' || d == '{' || d == '}')
                break;
            ++mPos;
        }
        if (mUcSkip > 0) {
            const qsizetype skipped = std::min<qsizetype>(mUcSkip, mPos - start);
            start += skipped;
            mUcSkip -= static_cast<int>(skipped);
        }
        if (start == mPos)
            return;
        const QLatin1StringView text(mData + start, mPos - start);
        if (mState.dest == Dest::Text) {
            if (prepareRun())
                mRun.append(text);
        } else {
            output(QString(text));
        }
    }

    void emitChar(char16_t ch)
    {
        if (mUcSkip > 0) {
            --mUcSkip;
            return;
        }
        flushBytes();
        emitUnit(ch);
    }

    void emitUnit(char16_t ch) { output(QStringView(&ch, 1)); }

    void output(QStringView text)
    {
        switch (mState.dest) {
        case Dest::Text:
            if (prepareRun())
                mRun.append(text);
            break;
        case Dest::FontTable:
            for (const QChar c : text) {
                if (c == QLatin1Char(';'))
                    commitFontName();
                else if (mFontName.size() < mLimits.maxNameLength)
                    mFontName += c;
            }
            break;
        case Dest::ColourTable:
            for (const QChar c : text) {
                if (c == QLatin1Char(';'))
                    commitColour();
            }
            break;
        case Dest::FieldInstruction:
            if (mFieldInstruction.size() < mLimits.maxNameLength)
                mFieldInstruction += text.left(mLimits.maxNameLength - mFieldInstruction.size());
            break;
        case Dest::Hold:
            break;
        }
    }

    // Makes the buffered run ready to take text in the current character state; false for hidden text.
    bool prepareRun()
    {
        if (mState.ch.hidden)
            return false;
        if (!(mState.ch == mRunState)) {
            flushText();
            mRunState = mState.ch;
        }
        return true;
    }

    int currentCodePage() const
    {
        const int font = mState.dest == Dest::FontTable ? mFontEntry : mState.ch.font;
        const auto found = mFonts.constFind(font);
        if (found != mFonts.constEnd() && found->codePage > 0)
            return found->codePage;
        return mCodePage;
    }

    // Bytes of the code page are gathered so that double-byte characters arrive whole.
    void addByte(char b)
    {
        const int codePage = currentCodePage();
        if (!mBytes.isEmpty() && codePage != mBytesCodePage)
            flushBytes();
        mBytesCodePage = codePage;
        mBytes.append(b);
    }

    void flushBytes()
    {
        if (mBytes.isEmpty())
            return;
        const QString text = decodeCodePage(mBytes, mBytesCodePage);
        mBytes.clear();
        output(text);
    }

    // ---- document output

    void paragraph()
    {
        flushBytes();
        if (mState.dest != Dest::Text) {
            emitUnit(u' ');
            return;
        }
        flushText();
        if (mParagraphPending)
            insertPendingBlock();
        mCursor.setBlockFormat(blockFormat(mState.para));
        mCursor.setBlockCharFormat(charFormat(mState.ch));
        // The break goes in when more content follows, so the \par that ends the last paragraph does not
        // leave an empty one behind.
        mParagraphPending = true;
    }

    void insertPendingBlock()
    {
        mCursor.insertBlock();
        mParagraphPending = false;
    }

    void flushText()
    {
        if (mRun.isEmpty())
            return;
        if (mParagraphPending)
            insertPendingBlock();
        sanitize(mRun);
        mCursor.insertText(mRun, charFormat(mRunState));
        mRun.resize(0);
    }

    // Characters the document would take as structure (paragraph breaks, object and frame markers) or
    // that cannot stand alone (unpaired surrogates) are replaced or dropped.
    static void sanitize(QString& run)
    {
        auto special = [](char16_t c) {
            return c < 0x20 || (c >= 0xD800 && c <= 0xDFFF) || c == 0x2029 || c == 0xFFFC || c == 0xFDD0 || c == 0xFDD1;
        };
        const char16_t* data = reinterpret_cast<const char16_t*>(run.constData());
        if (std::none_of(data, data + run.size(), special))
            return;
        QString clean;
        clean.reserve(run.size());
        for (qsizetype i = 0; i < run.size(); ++i) {
            const char16_t c = data[i];
            if (!special(c)) {
                clean += QChar(c);
            } else if (c == u'\t') {
                clean += QChar(c);
            } else if (c == u'\n' || c == 0x2029) {
                clean += QChar(QChar::LineSeparator);
            } else if (QChar::isHighSurrogate(c) && i + 1 < run.size() && QChar::isLowSurrogate(data[i + 1])) {
                clean += QChar(c);
                clean += QChar(data[++i]);
            } else if (QChar::isSurrogate(c)) {
                clean += QChar(QChar::ReplacementCharacter);
            }
        }
        run = clean;
    }

    void finish()
    {
        flushBytes();
        if (mState.dest == Dest::FontTable)
            commitFontName();
        flushText();
        if (!mParagraphPending) {
            mCursor.setBlockFormat(blockFormat(mState.para));
            mCursor.setBlockCharFormat(charFormat(mState.ch));
        }
    }

    QTextCharFormat charFormat(const CharState& state)
    {
        if (mFormatCached && state == mCachedState)
            return mCachedFormat;
        QTextCharFormat format;
        const auto font = mFonts.constFind(state.font);
        if (font != mFonts.constEnd() && !font->name.isEmpty())
            format.setFontFamilies(QStringList{font->name});
        if (state.halfPoints > 0)
            format.setFontPointSize(state.halfPoints / 2.0);
        if (state.bold)
            format.setFontWeight(QFont::Bold);
        if (state.italic)
            format.setFontItalic(true);
        if (state.underline)
            format.setFontUnderline(true);
        if (state.strike)
            format.setFontStrikeOut(true);
        if (state.verticalAlign != QTextCharFormat::AlignNormal)
            format.setVerticalAlignment(static_cast<QTextCharFormat::VerticalAlignment>(state.verticalAlign));
        if (const QColor colour = tableColour(state.foreground); colour.isValid())
            format.setForeground(colour);
        if (state.background > 0) {
            if (const QColor colour = tableColour(state.background); colour.isValid())
                format.setBackground(colour);
        }
        if (state.link >= 0) {
            format.setAnchor(true);
            format.setAnchorHref(mLinks[state.link]);
        }
        mCachedState = state;
        mCachedFormat = format;
        mFormatCached = true;
        return format;
    }

    static QTextBlockFormat blockFormat(const ParaState& para)
    {
        QTextBlockFormat format;
        if (para.alignment != Qt::AlignLeft)
            format.setAlignment(para.alignment);
        if (para.left != 0)
            format.setLeftMargin(para.left / TwipsPerPixel);
        if (para.right != 0)
            format.setRightMargin(para.right / TwipsPerPixel);
        if (para.first != 0)
            format.setTextIndent(para.first / TwipsPerPixel);
        if (para.before != 0)
            format.setTopMargin(para.before / TwipsPerPixel);
        if (para.after != 0)
            format.setBottomMargin(para.after / TwipsPerPixel);
        return format;
    }

    // ---- tables

    QColor tableColour(int index) const
    {
        // Index 0 is normally the automatic colour, which stays invalid.
        if (index < 0 || index >= mColours.size())
            return {};
        return mColours[index];
    }

    void resetColour() { mRed = mGreen = mBlue = -1; }

    static void setColourPart(int& part, const ControlWord& word) { part = std::clamp(word.param, 0, 255); }

    void commitColour()
    {
        if (mRed < 0 && mGreen < 0 && mBlue < 0)
            mColours.append(QColor());
        else
            mColours.append(QColor(std::max(mRed, 0), std::max(mGreen, 0), std::max(mBlue, 0)));
        resetColour();
        mFormatCached = false;
    }

    void commitFontName()
    {
        if (mFontEntry >= 0 && !mFontName.trimmed().isEmpty())
            mFonts[mFontEntry].name = mFontName.trimmed();
        mFontName.clear();
        mFormatCached = false;
    }

    // input
    const char* mData;
    qsizetype mSize;
    qsizetype mPos = 0;
    RtfReadLimits mLimits;
    bool mDone = false;

    // groups
    std::vector<GroupState> mStack;
    GroupState mState;
    qint64 mOverflow = 0;
    struct OverflowDest
    {
        qint64 level; // the mOverflow of the group
        Dest dest;
        Dest heldDest;
        int uc;
        bool hidden;
    };
    std::vector<OverflowDest> mOverflowDests;
    int mUcSkip = 0;
    bool mStarred = false;

    // tables
    int mCodePage = 1252;
    int mDefaultFont = -1;
    QHash<int, FontEntry> mFonts;
    int mFontEntry = -1;
    QString mFontName;
    QList<QColor> mColours;
    int mRed = -1;
    int mGreen = -1;
    int mBlue = -1;
    QString mFieldInstruction;
    QStringList mLinks;

    // output
    QTextCursor mCursor;
    QString mRun;
    CharState mRunState;
    bool mParagraphPending = false;
    QByteArray mBytes;
    int mBytesCodePage = 1252;
    CharState mCachedState;
    QTextCharFormat mCachedFormat;
    bool mFormatCached = false;
};

} // namespace

bool isRtf(QByteArrayView data)
{
    qsizetype i = 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.sliced(i).startsWith("{\\rtf");
}

void readRtf(QByteArrayView data, QTextDocument* document, const RtfReadLimits& limits)
{
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    Parser(data, document, limits).run();
    document->setUndoRedoEnabled(undo);
}
