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

constexpr double kTwipsPerPixel = 15.0;

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
    explicit Writer(const QTextDocument* document) : m_document(document), m_defaultFont(document->defaultFont())
    {
        fontIndex(m_defaultFont.family());
    }

    QByteArray write()
    {
        for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next())
            writeBlock(block);

        QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
        for (qsizetype i = 0; i < m_fonts.size(); ++i) {
            out += "{\\f";
            appendNumber(out, i);
            out += "\\fnil\\fcharset0 ";
            QString name = m_fonts[i];
            name.remove(QLatin1Char(';'));
            appendEscaped(out, name);
            out += ";}";
        }
        out += "}\r\n{\\colortbl ;";
        for (const QRgb rgb : std::as_const(m_colours)) {
            out += "\\red";
            appendNumber(out, qRed(rgb));
            out += "\\green";
            appendNumber(out, qGreen(rgb));
            out += "\\blue";
            appendNumber(out, qBlue(rgb));
            out += ';';
        }
        out += "}\r\n{\\*\\generator Parlivo;}\\viewkind4\r\n";
        out += m_body;
        out += "}\r\n";
        return out;
    }

private:
    void writeBlock(const QTextBlock& block)
    {
        const QTextBlockFormat format = block.blockFormat();
        m_body += "\\pard";
        const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
        if (alignment & Qt::AlignHCenter)
            m_body += "\\qc";
        else if (alignment & Qt::AlignJustify)
            m_body += "\\qj";
        else if (alignment & Qt::AlignRight)
            m_body += "\\qr";
        appendTwips("\\li", format.leftMargin());
        appendTwips("\\ri", format.rightMargin());
        appendTwips("\\fi", format.textIndent());
        appendTwips("\\sb", format.topMargin());
        appendTwips("\\sa", format.bottomMargin());
        m_body += "\\plain";
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
                    m_body += "}}}";
                if (!link.isEmpty())
                    openField(link);
                openLink = link;
            }
            m_body += "{\\plain";
            appendCharacterFormat(charFormat);
            m_body += ' ';
            appendEscaped(m_body, fragment.text());
            m_body += '}';
        }
        if (!openLink.isEmpty())
            m_body += "}}}";
        m_body += "\\par\r\n";
    }

    void openField(const QString& link)
    {
        // Inside the quoted address a backslash and a quote are escaped for the field as well.
        QString quoted = link;
        quoted.replace(QLatin1String("\\"), QLatin1String("\\\\"));
        quoted.replace(QLatin1String("\""), QLatin1String("\\\""));
        m_body += "{\\field{\\*\\fldinst{HYPERLINK \"";
        appendEscaped(m_body, quoted);
        m_body += "\"}}{\\fldrslt{";
    }

    void appendTwips(const char* word, qreal pixels)
    {
        const qint64 twips = std::llround(pixels * kTwipsPerPixel);
        if (twips == 0)
            return;
        m_body += word;
        appendNumber(m_body, twips);
    }

    void appendCharacterFormat(const QTextCharFormat& format)
    {
        m_body += "\\f";
        appendNumber(m_body, fontIndex(familyOf(format)));
        m_body += "\\fs";
        appendNumber(m_body, std::max<qint64>(1, std::llround(pointSizeOf(format) * 2)));
        if (format.fontWeight() > QFont::Medium)
            m_body += "\\b";
        if (format.fontItalic())
            m_body += "\\i";
        if (format.fontUnderline())
            m_body += "\\ul";
        if (format.fontStrikeOut())
            m_body += "\\strike";
        if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
            m_body += "\\super";
        else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
            m_body += "\\sub";
        if (format.foreground().style() != Qt::NoBrush) {
            m_body += "\\cf";
            appendNumber(m_body, colourIndex(format.foreground().color()));
        }
        if (format.background().style() != Qt::NoBrush) {
            // WordPad knows the highlight; LibreOffice exports only the character background onwards.
            const int colour = colourIndex(format.background().color());
            m_body += "\\chcbpat";
            appendNumber(m_body, colour);
            m_body += "\\highlight";
            appendNumber(m_body, colour);
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
        return m_defaultFont.family();
    }

    double pointSizeOf(const QTextCharFormat& format) const
    {
        if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
            return format.fontPointSize();
        if (format.hasProperty(QTextFormat::FontPixelSize) && format.intProperty(QTextFormat::FontPixelSize) > 0)
            return format.intProperty(QTextFormat::FontPixelSize) * 0.75;
        if (m_defaultFont.pointSizeF() > 0)
            return m_defaultFont.pointSizeF();
        if (m_defaultFont.pixelSize() > 0)
            return m_defaultFont.pixelSize() * 0.75;
        return 12;
    }

    int fontIndex(const QString& family)
    {
        const auto found = m_fontIndex.constFind(family);
        if (found != m_fontIndex.constEnd())
            return *found;
        m_fonts.append(family);
        const int index = static_cast<int>(m_fonts.size() - 1);
        m_fontIndex.insert(family, index);
        return index;
    }

    int colourIndex(const QColor& colour)
    {
        const QRgb rgb = colour.rgb() | 0xFF000000u;
        const auto found = m_colourIndex.constFind(rgb);
        if (found != m_colourIndex.constEnd())
            return *found;
        m_colours.append(rgb);
        const int index = static_cast<int>(m_colours.size()); // 0 is the automatic colour
        m_colourIndex.insert(rgb, index);
        return index;
    }

    const QTextDocument* m_document;
    QFont m_defaultFont;
    QStringList m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colours;
    QHash<QRgb, int> m_colourIndex;
    QByteArray m_body;
};

} // namespace

QByteArray writeRtf(const QTextDocument* document)
{
    return Writer(document).write();
}
