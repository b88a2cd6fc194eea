#include "speech/SpeechMarkup.h"

#include <gtest/gtest.h>

namespace {

// The source text behind each spoken character, joined with '|' where the source skips something.
QString sources(const QString& source, const SpokenText& spoken)
{
    QString out;
    for (int i = 0; i < spoken.text.size(); ++i) {
        if (i > 0 && spoken.from[i] != spoken.to[i - 1])
            out += u'|';
        out += source.mid(spoken.from[i], spoken.to[i] - spoken.from[i]);
    }
    return out;
}

TEST(SpeechMarkup, SilenceTagsBecomeSilencesAndOtherTagsAreSkipped)
{
    const QString source = QStringLiteral("<speak version=\"1.0\">One <silence msec='250'/>two<silence MSEC=\"1500\" />"
                                          "<!-- not this --><?pi x?>three</speak>");
    const SpokenText spoken = spokenText(source, true);
    EXPECT_EQ(spoken.text, QStringLiteral("One twothree"));
    ASSERT_EQ(spoken.silences.size(), 2);
    EXPECT_EQ(spoken.silences[0].at, 4);
    EXPECT_EQ(spoken.silences[0].msec, 250);
    EXPECT_EQ(spoken.silences[1].at, 7);
    EXPECT_EQ(spoken.silences[1].msec, 1500);
    EXPECT_EQ(sources(source, spoken), QStringLiteral("One |two|three"));
}

TEST(SpeechMarkup, AnAngleBracketThatBeginsNoWellFormedTagIsText)
{
    for (const QString& text :
         {QStringLiteral("a < b and c > d"), QStringLiteral("if a<b then c>d"), QStringLiteral("x <y"),
          QStringLiteral("<3 love"), QStringLiteral("<a href=x>"), QStringLiteral("<a b='1' c>"),
          QStringLiteral("</b c='1'>"), QStringLiteral("<!-- never closed")}) {
        const SpokenText spoken = spokenText(text, true);
        EXPECT_EQ(spoken.text, text) << text.toStdString();
    }
}

TEST(SpeechMarkup, BrokenOrHugeSilencesAreHandledSafely)
{
    EXPECT_TRUE(spokenText(QStringLiteral("<silence msec='soon'/>x"), true).silences.isEmpty());
    EXPECT_TRUE(spokenText(QStringLiteral("<silence msec='-5'/>x"), true).silences.isEmpty());
    EXPECT_TRUE(spokenText(QStringLiteral("<silence/>x"), true).silences.isEmpty());
    const SpokenText huge = spokenText(QStringLiteral("<silence msec='99999999999999999999'/>"), true);
    ASSERT_EQ(huge.silences.size(), 1);
    EXPECT_EQ(huge.silences[0].msec, MaxSilenceMsec);
    // Without the markup flag a silence tag is only text.
    EXPECT_EQ(spokenText(QStringLiteral("<silence msec='5'/>"), false).text, QStringLiteral("<silence msec='5'/>"));
}

TEST(SpeechMarkup, EntitiesAreDecodedAndKeepTheirWholeSourceExtent)
{
    const QString source = QStringLiteral("Tom &amp; Jerry &lt;3 &#233;t&#xE9; &#128512; &bogus; & more");
    const SpokenText spoken = spokenText(source, true);
    EXPECT_EQ(spoken.text, QStringLiteral("Tom & Jerry <3 été 😀 &bogus; & more"));
    const int amp = int(spoken.text.indexOf(u'&'));
    EXPECT_EQ(source.mid(spoken.from[amp], spoken.to[amp] - spoken.from[amp]), QStringLiteral("&amp;"));
    const int emoji = int(spoken.text.indexOf(QStringLiteral("😀")));
    EXPECT_EQ(spoken.from[emoji], spoken.from[emoji + 1]);
    EXPECT_EQ(source.mid(spoken.from[emoji], spoken.to[emoji] - spoken.from[emoji]), QStringLiteral("&#128512;"));
    EXPECT_EQ(spokenText(QStringLiteral("&#0; &#xD800; &#x110000;"), true).text,
              QStringLiteral("&#0; &#xD800; &#x110000;"));
}

TEST(SpeechMarkup, CdataIsSpokenAsIsAndPlainTextKeepsEveryCharacter)
{
    EXPECT_EQ(spokenText(QStringLiteral("<![CDATA[a <b> & c]]>!"), true).text, QStringLiteral("a <b> & c!"));
    const QString plain = QStringLiteral("<b>bold</b> &amp;\r\n");
    const SpokenText spoken = spokenText(plain, false);
    EXPECT_EQ(spoken.text, plain);
    EXPECT_EQ(spoken.from.last(), plain.size() - 1);
}

TEST(SpeechMarkup, TextIsTakenForMarkupOnlyWhenItBeginsWithATag)
{
    EXPECT_TRUE(looksLikeMarkup(u"  <speak>Hello</speak>"));
    EXPECT_TRUE(looksLikeMarkup(u"<silence msec='10'/> then"));
    EXPECT_FALSE(looksLikeMarkup(u"Hello <b>there</b>"));
    EXPECT_FALSE(looksLikeMarkup(u"<3 you"));
    EXPECT_FALSE(looksLikeMarkup(u""));
}

TEST(SpeechMarkup, ReadsAStretchAtATimeWithTheSameResult)
{
    const QString source = QStringLiteral("<p>Para &amp; one.</p><silence msec='10'/>").repeated(50);
    const SpokenText whole = spokenText(source, true);
    SpokenText pieces;
    MarkupReader reader(source, true);
    while (reader.read(pieces, 7)) {
    }
    EXPECT_EQ(pieces.text, whole.text);
    EXPECT_EQ(pieces.from, whole.from);
    EXPECT_EQ(pieces.silences.size(), 50);
    pieces.removeFront(20);
    EXPECT_EQ(pieces.text, whole.text.mid(20));
    EXPECT_EQ(pieces.silences.size(), 49);
    EXPECT_EQ(pieces.silences[0].at, whole.silences[1].at - 20);
}

} // namespace
