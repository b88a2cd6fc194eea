#include "window/readingarea/ReadingAids.h"

#include "core/ProfileStrings.h"

#include <QFontDatabase>

ReadingAids ReadingAids::normalised() const
{
    ReadingAids aids = *this;
    aids.LineSpacing = qBound(MinLineSpacing, LineSpacing, MaxLineSpacing);
    aids.LetterSpacing = qBound(MinLetterSpacing, LetterSpacing, MaxLetterSpacing);
    aids.FocusLines = FocusLines <= 0 ? 0 : FocusLines <= 1 ? 1 : FocusLines <= 3 ? 3 : 5;
    aids.FontFamily = FontFamily.trimmed();
    return aids;
}

ReadingAids ReadReadingAids(const ProfileStrings& ini)
{
    const ReadingAids defaults;
    ReadingAids aids;
    const auto flag = [&](QStringView key, bool fallback) {
        return ini.readInteger(ReadingAidsSection, key, fallback ? 1 : 0) != 0;
    };
    aids.FontFamily = ini.readString(ReadingAidsSection, u"FontFamily", defaults.FontFamily);
    aids.OverrideDocumentFonts = flag(u"OverrideDocumentFonts", defaults.OverrideDocumentFonts);
    aids.LineSpacing = ini.readInteger(ReadingAidsSection, u"LineSpacing", defaults.LineSpacing);
    aids.LetterSpacing = ini.readInteger(ReadingAidsSection, u"LetterSpacing", defaults.LetterSpacing);
    aids.FocusLines = ini.readInteger(ReadingAidsSection, u"LineFocus", defaults.FocusLines);
    aids.FocusWhenIdle = flag(u"LineFocusWhenIdle", defaults.FocusWhenIdle);
    aids.Syllables = flag(u"Syllables", defaults.Syllables);
    return aids.normalised();
}

void WriteReadingAids(const ProfileStrings& ini, const ReadingAids& aids)
{
    ini.writeString(ReadingAidsSection, QStringLiteral("FontFamily"), aids.FontFamily);
    ini.writeInteger(ReadingAidsSection, QStringLiteral("OverrideDocumentFonts"), aids.OverrideDocumentFonts ? 1 : 0);
    ini.writeInteger(ReadingAidsSection, QStringLiteral("LineSpacing"), aids.LineSpacing);
    ini.writeInteger(ReadingAidsSection, QStringLiteral("LetterSpacing"), aids.LetterSpacing);
    ini.writeInteger(ReadingAidsSection, QStringLiteral("LineFocus"), aids.FocusLines);
    ini.writeInteger(ReadingAidsSection, QStringLiteral("LineFocusWhenIdle"), aids.FocusWhenIdle ? 1 : 0);
    ini.writeInteger(ReadingAidsSection, QStringLiteral("Syllables"), aids.Syllables ? 1 : 0);
}

QStringList ReadingFontFamilies()
{
    QStringList families;
    const QStringList installed = QFontDatabase::families();
    if (installed.contains(DyslexicFontFamily))
        families.append(DyslexicFontFamily);
    for (const QString& family : installed)
        if (!family.startsWith(DyslexicFontFamily) && !QFontDatabase::isPrivateFamily(family))
            families.append(family);
    return families;
}
