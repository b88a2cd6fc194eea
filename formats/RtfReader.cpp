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
constexpr double kTwipsPerPixel = 15.0;
// Margins and indents beyond 22 inches are nonsense that only a hostile file carries.
constexpr int kMaxIndentTwips = 31680;

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
        : m_data(data.data()), m_size(data.size()), m_limits(limits), m_cursor(document)
    {
    }

    void run()
    {
        m_cursor.beginEditBlock();
        while (m_pos < m_size && !m_done) {
            const char c = m_data[m_pos];
            switch (c) {
            case '{':
                m_starred = false;
                ++m_pos;
                openGroup();
                break;
            case '}':
                m_starred = false;
                ++m_pos;
                closeGroup();
                break;
            case '\\':
                ++m_pos;
                controlSequence();
                break;
            case '\r':
            case '\n':
                ++m_pos;
                break;
            default:
                m_starred = false;
                literalText();
                break;
            }
        }
        finish();
        m_cursor.endEditBlock();
    }

private:
    // ---- groups

    void openGroup()
    {
        flushBytes();
        m_ucSkip = 0;
        if (static_cast<int>(m_stack.size()) >= m_limits.maxDepth) {
            ++m_overflow;
            return;
        }
        m_stack.push_back(m_state);
    }

    void closeGroup()
    {
        flushBytes();
        m_ucSkip = 0;
        if (m_overflow > 0) {
            // A destination, \uc or hidden text set past the depth limit ends with its group, like any other.
            if (!m_overflowDests.empty() && m_overflowDests.back().level == m_overflow) {
                if (m_state.dest == Dest::FontTable)
                    commitFontName();
                m_state.dest = m_overflowDests.back().dest;
                m_state.heldDest = m_overflowDests.back().heldDest;
                m_state.uc = m_overflowDests.back().uc;
                m_state.ch.hidden = m_overflowDests.back().hidden;
                m_overflowDests.pop_back();
            }
            --m_overflow;
            return;
        }
        if (m_stack.empty())
            return; // a stray brace before the document's group
        if (m_state.dest == Dest::FontTable)
            commitFontName();
        if (m_stack.size() == 1) {
            // The document's own group ends here; whatever follows it is not part of the document.
            m_done = true;
            return;
        }
        m_state = m_stack.back();
        m_stack.pop_back();
    }

    // Consumes the rest of the current group without interpreting it, except for the lengths of
    // binary data that may hold braces.
    void skipGroup()
    {
        flushBytes();
        qint64 depth = 1;
        while (m_pos < m_size) {
            const char c = m_data[m_pos++];
            if (c == '{') {
                ++depth;
            } else if (c == '}') {
                if (--depth == 0) {
                    closeGroup();
                    return;
                }
            } else if (c == '\\' && m_pos < m_size) {
                if (isLetter(m_data[m_pos])) {
                    const ControlWord word = readControlWord();
                    if (word.name == "bin")
                        skipBinary(word);
                } else {
                    ++m_pos;
                }
            }
        }
    }

    // ---- tokens

    ControlWord readControlWord()
    {
        ControlWord word;
        const qsizetype start = m_pos;
        while (m_pos < m_size && isLetter(m_data[m_pos]))
            ++m_pos;
        word.name = std::string_view(m_data + start, static_cast<size_t>(m_pos - start));
        bool negative = false;
        if (m_pos + 1 < m_size && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        qint64 value = 0;
        while (m_pos < m_size && isDigit(m_data[m_pos])) {
            word.hasParam = true;
            value = std::min<qint64>(value * 10 + (m_data[m_pos] - '0'), INT_MAX);
            ++m_pos;
        }
        word.param = static_cast<int>(negative ? -value : value);
        if (m_pos < m_size && m_data[m_pos] == ' ')
            ++m_pos;
        return word;
    }

    void skipBinary(const ControlWord& word)
    {
        if (word.param > 0)
            m_pos += std::min<qsizetype>(word.param, m_size - m_pos);
    }

    void controlSequence()
    {
        const bool starred = std::exchange(m_starred, false);
        if (m_pos >= m_size)
            return;
        const char c = m_data[m_pos];
        if (isLetter(c)) {
            controlWord(starred);
            return;
        }
        ++m_pos;
        switch (c) {
        case '\'':
            hexByte();
            break;
        case '*':
            m_starred = true;
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
            if (m_ucSkip > 0)
                --m_ucSkip;
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
        while (digits < 2 && m_pos < m_size) {
            const int h = hexValue(m_data[m_pos]);
            if (h < 0)
                break;
            value = value * 16 + h;
            ++digits;
            ++m_pos;
        }
        if (digits == 0)
            return;
        if (m_ucSkip > 0) {
            --m_ucSkip;
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
            else if (m_ucSkip > 0)
                --m_ucSkip;
            return;
        }
        const Keyword keyword = found->second;
        if (starred && keyword.kw != Kw::FieldInstruction && keyword.kw != Kw::Result) {
            skipGroup();
            return;
        }
        if (m_ucSkip > 0 && keyword.kw != Kw::Unicode) {
            // A control word standing in for a \u character counts as one skipped character.
            --m_ucSkip;
            if (keyword.kw == Kw::Bin)
                skipBinary(word);
            return;
        }
        const OverflowDest before{m_overflow, m_state.dest, m_state.heldDest, m_state.uc, m_state.ch.hidden};
        apply(keyword, word);
        // Past the depth limit the groups share the deepest tracked state. What decides where text goes, whether
        // it shows and how much of it \u skips is kept aside, once per group, so that it ends with the group and the
        // text after it still arrives. A word that skipped the rest of its group has ended that group already.
        if (m_overflow > 0 && m_overflow == before.level &&
            (m_state.dest != before.dest || m_state.heldDest != before.heldDest || m_state.uc != before.uc ||
             m_state.ch.hidden != before.hidden) &&
            (m_overflowDests.empty() || m_overflowDests.back().level != m_overflow))
            m_overflowDests.push_back(before);
    }

    void apply(const Keyword& keyword, const ControlWord& word)
    {
        const bool on = !word.hasParam || word.param != 0;
        CharState& ch = m_state.ch;
        ParaState& para = m_state.para;
        switch (keyword.kw) {
        case Kw::Ignore:
            break;
        case Kw::Ansi:
            m_codePage = 1252;
            break;
        case Kw::Mac:
            m_codePage = 10000;
            break;
        case Kw::Pc:
            m_codePage = 437;
            break;
        case Kw::Pca:
            m_codePage = 850;
            break;
        case Kw::AnsiCpg:
            if (word.param > 0)
                m_codePage = word.param;
            break;
        case Kw::Deff:
            m_defaultFont = word.param;
            ch.font = word.param;
            break;
        case Kw::FontTable:
            m_state.dest = Dest::FontTable;
            m_fontEntry = -1;
            m_fontName.clear();
            break;
        case Kw::ColourTable:
            m_state.dest = Dest::ColourTable;
            resetColour();
            break;
        case Kw::Red:
            setColourPart(m_red, word);
            break;
        case Kw::Green:
            setColourPart(m_green, word);
            break;
        case Kw::Blue:
            setColourPart(m_blue, word);
            break;
        case Kw::Font:
            if (m_state.dest == Dest::FontTable) {
                commitFontName();
                m_fontEntry = word.param;
                if (!m_fonts.contains(m_fontEntry))
                    m_fonts.insert(m_fontEntry, FontEntry{});
            } else {
                ch.font = word.param;
            }
            break;
        case Kw::FontCharset:
            if (m_state.dest == Dest::FontTable && m_fontEntry >= 0 && m_fonts[m_fontEntry].codePage == 0)
                m_fonts[m_fontEntry].codePage = codePageForCharset(word.param);
            break;
        case Kw::FontCodePage:
            if (m_state.dest == Dest::FontTable && m_fontEntry >= 0 && word.param > 0)
                m_fonts[m_fontEntry].codePage = word.param;
            break;
        case Kw::FontSize:
            ch.halfPoints = word.hasParam ? std::clamp(word.param, 0, 3276) : 24;
            break;
        case Kw::Plain: {
            const int link = ch.link;
            ch = CharState{};
            ch.font = m_defaultFont;
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
            para.left = std::clamp(word.param, 0, kMaxIndentTwips);
            break;
        case Kw::RightIndent:
            para.right = std::clamp(word.param, 0, kMaxIndentTwips);
            break;
        case Kw::FirstIndent:
            para.first = std::clamp(word.param, -kMaxIndentTwips, kMaxIndentTwips);
            break;
        case Kw::SpaceBefore:
            para.before = std::clamp(word.param, 0, kMaxIndentTwips);
            break;
        case Kw::SpaceAfter:
            para.after = std::clamp(word.param, 0, kMaxIndentTwips);
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
            if (m_state.dest == Dest::Text && m_run.endsWith(QLatin1Char('\t')))
                m_run.chop(1);
            paragraph();
            break;
        case Kw::Page:
            // A page or section break starts a new paragraph only where text stands before it.
            flushText();
            if (!m_paragraphPending && m_cursor.block().length() > 1)
                paragraph();
            break;
        case Kw::Char:
            emitChar(keyword.ch);
            break;
        case Kw::Unicode:
            flushBytes();
            emitUnit(static_cast<char16_t>(word.param < 0 ? word.param + 65536 : word.param));
            m_ucSkip = m_state.uc;
            break;
        case Kw::UnicodeSkip:
            m_state.uc = std::clamp(word.param, 0, 32);
            break;
        case Kw::Bin:
            skipBinary(word);
            break;
        case Kw::Field:
            m_fieldInstruction.clear();
            break;
        case Kw::FieldInstruction:
            m_state.dest = Dest::FieldInstruction;
            m_fieldInstruction.clear();
            break;
        case Kw::FieldResult:
            if (m_state.dest == Dest::Text) {
                const QString target = hyperlinkTarget(m_fieldInstruction);
                if (!target.isEmpty()) {
                    m_links.append(target);
                    ch.link = static_cast<int>(m_links.size() - 1);
                }
            }
            break;
        case Kw::Hold:
            if (m_state.dest != Dest::Hold)
                m_state.heldDest = m_state.dest;
            m_state.dest = Dest::Hold;
            break;
        case Kw::Result:
            if (m_state.dest == Dest::Hold)
                m_state.dest = m_state.heldDest;
            break;
        case Kw::Skip:
            skipGroup();
            break;
        }
    }

    // ---- text

    void literalText()
    {
        const auto c = static_cast<unsigned char>(m_data[m_pos]);
        if (c >= 0x80) {
            ++m_pos;
            if (m_ucSkip > 0)
                --m_ucSkip;
            else
                addByte(static_cast<char>(c));
            return;
        }
        if (c < 0x20) {
            ++m_pos;
            if (c == '\t')
                emitChar(u'\t');
            return; // other control bytes, a zero byte among them, carry nothing
        }
        flushBytes();
        qsizetype start = m_pos;
        while (m_pos < m_size) {
            const auto d = static_cast<unsigned char>(m_data[m_pos]);
            if (d < 0x20 || d >= 0x80 || d == '\\' || d == '{' || d == '}')
                break;
            ++m_pos;
        }
        if (m_ucSkip > 0) {
            const qsizetype skipped = std::min<qsizetype>(m_ucSkip, m_pos - start);
            start += skipped;
            m_ucSkip -= static_cast<int>(skipped);
        }
        if (start == m_pos)
            return;
        const QLatin1StringView text(m_data + start, m_pos - start);
        if (m_state.dest == Dest::Text) {
            if (prepareRun())
                m_run.append(text);
        } else {
            output(QString(text));
        }
    }

    void emitChar(char16_t ch)
    {
        if (m_ucSkip > 0) {
            --m_ucSkip;
            return;
        }
        flushBytes();
        emitUnit(ch);
    }

    void emitUnit(char16_t ch) { output(QStringView(&ch, 1)); }

    void output(QStringView text)
    {
        switch (m_state.dest) {
        case Dest::Text:
            if (prepareRun())
                m_run.append(text);
            break;
        case Dest::FontTable:
            for (const QChar c : text) {
                if (c == QLatin1Char(';'))
                    commitFontName();
                else if (m_fontName.size() < m_limits.maxNameLength)
                    m_fontName += c;
            }
            break;
        case Dest::ColourTable:
            for (const QChar c : text) {
                if (c == QLatin1Char(';'))
                    commitColour();
            }
            break;
        case Dest::FieldInstruction:
            if (m_fieldInstruction.size() < m_limits.maxNameLength)
                m_fieldInstruction += text.left(m_limits.maxNameLength - m_fieldInstruction.size());
            break;
        case Dest::Hold:
            break;
        }
    }

    // Makes the buffered run ready to take text in the current character state; false for hidden text.
    bool prepareRun()
    {
        if (m_state.ch.hidden)
            return false;
        if (!(m_state.ch == m_runState)) {
            flushText();
            m_runState = m_state.ch;
        }
        return true;
    }

    int currentCodePage() const
    {
        const int font = m_state.dest == Dest::FontTable ? m_fontEntry : m_state.ch.font;
        const auto found = m_fonts.constFind(font);
        if (found != m_fonts.constEnd() && found->codePage > 0)
            return found->codePage;
        return m_codePage;
    }

    // Bytes of the code page are gathered so that double-byte characters arrive whole.
    void addByte(char b)
    {
        const int codePage = currentCodePage();
        if (!m_bytes.isEmpty() && codePage != m_bytesCodePage)
            flushBytes();
        m_bytesCodePage = codePage;
        m_bytes.append(b);
    }

    void flushBytes()
    {
        if (m_bytes.isEmpty())
            return;
        const QString text = decodeCodePage(m_bytes, m_bytesCodePage);
        m_bytes.clear();
        output(text);
    }

    // ---- document output

    void paragraph()
    {
        flushBytes();
        if (m_state.dest != Dest::Text) {
            emitUnit(u' ');
            return;
        }
        flushText();
        if (m_paragraphPending)
            insertPendingBlock();
        m_cursor.setBlockFormat(blockFormat(m_state.para));
        m_cursor.setBlockCharFormat(charFormat(m_state.ch));
        // The break goes in when more content follows, so the \par that ends the last paragraph does not
        // leave an empty one behind.
        m_paragraphPending = true;
    }

    void insertPendingBlock()
    {
        m_cursor.insertBlock();
        m_paragraphPending = false;
    }

    void flushText()
    {
        if (m_run.isEmpty())
            return;
        if (m_paragraphPending)
            insertPendingBlock();
        sanitize(m_run);
        m_cursor.insertText(m_run, charFormat(m_runState));
        m_run.resize(0);
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
        if (m_state.dest == Dest::FontTable)
            commitFontName();
        flushText();
        if (!m_paragraphPending) {
            m_cursor.setBlockFormat(blockFormat(m_state.para));
            m_cursor.setBlockCharFormat(charFormat(m_state.ch));
        }
    }

    QTextCharFormat charFormat(const CharState& state)
    {
        if (m_formatCached && state == m_cachedState)
            return m_cachedFormat;
        QTextCharFormat format;
        const auto font = m_fonts.constFind(state.font);
        if (font != m_fonts.constEnd() && !font->name.isEmpty())
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
            format.setAnchorHref(m_links[state.link]);
        }
        m_cachedState = state;
        m_cachedFormat = format;
        m_formatCached = true;
        return format;
    }

    static QTextBlockFormat blockFormat(const ParaState& para)
    {
        QTextBlockFormat format;
        if (para.alignment != Qt::AlignLeft)
            format.setAlignment(para.alignment);
        if (para.left != 0)
            format.setLeftMargin(para.left / kTwipsPerPixel);
        if (para.right != 0)
            format.setRightMargin(para.right / kTwipsPerPixel);
        if (para.first != 0)
            format.setTextIndent(para.first / kTwipsPerPixel);
        if (para.before != 0)
            format.setTopMargin(para.before / kTwipsPerPixel);
        if (para.after != 0)
            format.setBottomMargin(para.after / kTwipsPerPixel);
        return format;
    }

    // ---- tables

    QColor tableColour(int index) const
    {
        // Index 0 is normally the automatic colour, which stays invalid.
        if (index < 0 || index >= m_colours.size())
            return {};
        return m_colours[index];
    }

    void resetColour() { m_red = m_green = m_blue = -1; }

    static void setColourPart(int& part, const ControlWord& word) { part = std::clamp(word.param, 0, 255); }

    void commitColour()
    {
        if (m_red < 0 && m_green < 0 && m_blue < 0)
            m_colours.append(QColor());
        else
            m_colours.append(QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
        resetColour();
        m_formatCached = false;
    }

    void commitFontName()
    {
        if (m_fontEntry >= 0 && !m_fontName.trimmed().isEmpty())
            m_fonts[m_fontEntry].name = m_fontName.trimmed();
        m_fontName.clear();
        m_formatCached = false;
    }

    // input
    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
    RtfReadLimits m_limits;
    bool m_done = false;

    // groups
    std::vector<GroupState> m_stack;
    GroupState m_state;
    qint64 m_overflow = 0;
    struct OverflowDest
    {
        qint64 level; // the m_overflow of the group
        Dest dest;
        Dest heldDest;
        int uc;
        bool hidden;
    };
    std::vector<OverflowDest> m_overflowDests;
    int m_ucSkip = 0;
    bool m_starred = false;

    // tables
    int m_codePage = 1252;
    int m_defaultFont = -1;
    QHash<int, FontEntry> m_fonts;
    int m_fontEntry = -1;
    QString m_fontName;
    QList<QColor> m_colours;
    int m_red = -1;
    int m_green = -1;
    int m_blue = -1;
    QString m_fieldInstruction;
    QStringList m_links;

    // output
    QTextCursor m_cursor;
    QString m_run;
    CharState m_runState;
    bool m_paragraphPending = false;
    QByteArray m_bytes;
    int m_bytesCodePage = 1252;
    CharState m_cachedState;
    QTextCharFormat m_cachedFormat;
    bool m_formatCached = false;
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
