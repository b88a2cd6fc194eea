#include "formats/RtfWriter.h"

#include "core/TextEncoding.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QStringList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>

#include <cmath>

namespace {

constexpr double TwipsPerPixel = 15.0;

void appendNumber(QByteArray& out, qint64 value)
{
    out += QByteArray::number(value);
}

// Escapes text for a rich text file. Characters outside ASCII become \uN followed by the Windows-1252
// byte, or "?" where that code page has none, for readers that do not know \u.
void appendEscaped(QByteArray& out, QStringView text)
{
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        switch (c) {
        case u'\\':
        case u'{':
        case u'}':
            out += '\\';
            out += static_cast<char>(c);
            continue;
        case u'\t':
            out += "\\tab ";
            continue;
        case QChar::LineSeparator:
        case QChar::ParagraphSeparator:
        case u'\n':
            out += "\\line ";
            continue;
        case QChar::Nbsp:
            out += "\\~";
            continue;
        case QChar::ObjectReplacementCharacter:
        case 0xFDD0: // frame markers of tables
        case 0xFDD1:
            continue;
        default:
            break;
        }
        if (c < 0x20)
            continue;
        if (c < 0x80) {
            out += static_cast<char>(c);
            continue;
        }
        out += "\\u";
        appendNumber(out, c > 32767 ? int(c) - 65536 : int(c));
        const int fallback = windows1252Byte(c);
        if (fallback < 0) {
            out += '?';
        } else {
            out += "\\'";
            out += QByteArray::number(fallback, 16).rightJustified(2, '0');
        }
    }
}

class Writer
{
public:
    explicit Writer(const QTextDocument* document) : mDocument(document), mDefaultFont(document->defaultFont())
    {
        fontIndex(mDefaultFont.family());
    }

    QByteArray write()
    {
        for (QTextBlock block = mDocument->begin(); block.isValid(); block = block.next())
            writeBlock(block);

        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
        for (qsizetype i = 0; i < mFonts.size(); ++i) {
            out += "{\\f";
            appendNumber(out, i);
            out += "\\fnil\\fcharset0 ";
            QString name = mFonts[i];
            name.remove(QLatin1Char(';'));
            appendEscaped(out, name);
            out += ";}";
        }
        out += "}\r\n{\\colortbl ;";
        for (const QRgb rgb : std::as_const(mColours)) {
            out += "\\red";
            appendNumber(out, qRed(rgb));
            out += "\\green";
            appendNumber(out, qGreen(rgb));
            out += "\\blue";
            appendNumber(out, qBlue(rgb));
            out += ';';
        }
        out += "}\r\n{\\*\\generator Parlivo;}\\viewkind4\r\n";
        out += mBody;
        out += "}\r\n";
        return out;
    }

private:
    void writeBlock(const QTextBlock& block)
    {
        const QTextBlockFormat format = block.blockFormat();
        mBody += "\\pard";
        const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
        if (alignment & Qt::AlignHCenter)
            mBody += "\\qc";
        else if (alignment & Qt::AlignJustify)
            mBody += "\\qj";
        else if (alignment & Qt::AlignRight)
            mBody += "\\qr";
        appendTwips("\\li", format.leftMargin());
        appendTwips("\\ri", format.rightMargin());
        appendTwips("\\fi", format.textIndent());
        appendTwips("\\sb", format.topMargin());
        appendTwips("\\sa", format.bottomMargin());
        mBody += "\\plain";
        appendCharacterFormat(block.charFormat());

        QString openLink;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat charFormat = fragment.charFormat();
            const QString link = charFormat.isAnchor() ? charFormat.anchorHref() : QString();
            if (link != openLink) {
                if (!openLink.isEmpty())
                    mBody += "}}}";
                if (!link.isEmpty())
                    openField(link);
                openLink = link;
            }
            mBody += "{\\plain";
            appendCharacterFormat(charFormat);
            mBody += ' ';
            appendEscaped(mBody, fragment.text());
            mBody += '}';
        }
        if (!openLink.isEmpty())
            mBody += "}}}";
        mBody += "\\par\r\n";
    }

    void openField(const QString& link)
    {
        // Inside the quoted address a backslash and a quote are escaped for the field as well.
        QString quoted = link;
        quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
        quoted.replace(QLatin1String("\""), QLatin1String("\\\""));
        mBody += "{\\field{\\*\\fldinst{HYPERLINK \"";
        appendEscaped(mBody, quoted);
        mBody += "\"}}{\\fldrslt{";
    }

    void appendTwips(const char* word, qreal pixels)
    {
        const qint64 twips = std::llround(pixels * TwipsPerPixel);
        if (twips == 0)
            return;
        mBody += word;
        appendNumber(mBody, twips);
    }

    void appendCharacterFormat(const QTextCharFormat& format)
    {
        mBody += "\\f";
        appendNumber(mBody, fontIndex(familyOf(format)));
        mBody += "\\fs";
        appendNumber(mBody, std::max<qint64>(1, std::llround(pointSizeOf(format) * 2)));
        if (format.fontWeight() > QFont::Medium)
            mBody += "\\b";
        if (format.fontItalic())
            mBody += "\\i";
        if (format.fontUnderline())
            mBody += "\\ul";
        if (format.fontStrikeOut())
            mBody += "\\strike";
        if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            mBody += "\\super";
        else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
            mBody += "\\sub";
        if (format.foreground().style() != Qt::NoBrush) {
            mBody += "\\cf";
            appendNumber(mBody, colourIndex(format.foreground().color()));
        }
        if (format.background().style() != Qt::NoBrush) {
            // WordPad knows the highlight; LibreOffice exports only the character background onwards.
            const int colour = colourIndex(format.background().color());
            mBody += "\\chcbpat";
            appendNumber(mBody, colour);
            mBody += "\\highlight";
            appendNumber(mBody, colour);
        }
    }

    QString familyOf(const QTextCharFormat& format) const
    {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            return families.first();
        const QString family = format.stringProperty(QTextFormat::FontFamily);
        if (!family.isEmpty())
            return family;
        return mDefaultFont.family();
    }

    double pointSizeOf(const QTextCharFormat& format) const
    {
        if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
            return format.fontPointSize();
        if (format.hasProperty(QTextFormat::FontPixelSize) && format.intProperty(QTextFormat::FontPixelSize) > 0)
            return format.intProperty(QTextFormat::FontPixelSize) * 0.75;
        if (mDefaultFont.pointSizeF() > 0)
            return mDefaultFont.pointSizeF();
        if (mDefaultFont.pixelSize() > 0)
            return mDefaultFont.pixelSize() * 0.75;
        return 12;
    }

    int fontIndex(const QString& family)
    {
        const auto found = mFontIndex.constFind(family);
        if (found != mFontIndex.constEnd())
            return *found;
        mFonts.append(family);
        const int index = static_cast<int>(mFonts.size() - 1);
        mFontIndex.insert(family, index);
        return index;
    }

    int colourIndex(const QColor& colour)
    {
        const QRgb rgb = colour.rgb() | 0xFF000000u;
        const auto found = mColourIndex.constFind(rgb);
        if (found != mColourIndex.constEnd())
            return *found;
        mColours.append(rgb);
        const int index = static_cast<int>(mColours.size()); // 0 is the automatic colour
        mColourIndex.insert(rgb, index);
        return index;
    }

    const QTextDocument* mDocument;
    QFont mDefaultFont;
    QStringList mFonts;
    QHash<QString, int> mFontIndex;
    QList<QRgb> mColours;
    QHash<QRgb, int> mColourIndex;
    QByteArray mBody;
};

} // namespace

QByteArray writeRtf(const QTextDocument* document)
{
    return Writer(document).write();
}
