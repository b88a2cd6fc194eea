#include "documents/ReadingPlaces.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QString document(int i)
{
    return QStringLiteral("/books/shelf/book %1.pdf").arg(i);
}
} // namespace

TEST(ReadingPlaces, TheMostRecentComeFirstTenAreListedAndAHundredKept)
{
    ReadingPlaces places(QString{});
    for (int i = 0; i < 120; ++i)
        places.remember(document(i), i * 10);
    places.remember(QStringLiteral("/books/shelf/../shelf/book 115.pdf"), 7); // the same document again

    QStringList expected{document(115)};
    for (int i = 119; expected.size() < ReadingPlaces::RecentCount; --i)
        if (i != 115)
            expected << document(i);
    EXPECT_EQ(places.recent(), expected);
    EXPECT_EQ(places.place(document(115)), 7);
    EXPECT_EQ(places.place(document(20)), 200); // the hundredth most recent
    EXPECT_EQ(places.place(document(19)), std::nullopt);

    places.forget(document(115));
    EXPECT_EQ(places.recent().first(), document(119));
    EXPECT_EQ(places.place(document(115)), std::nullopt);
}

TEST(ReadingPlaces, TheFileRoundTripsAndABadFileGivesNoPlaces)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("places.json"));
    ReadingPlaces written(path);
    const QString odd = QStringLiteral("/home/ana/Léa's = \"notes\"\n[1].txt");
    written.remember(document(1), 1234567);
    written.remember(odd, 42);
    written.save();

    ReadingPlaces read(path);
    read.load();
    EXPECT_EQ(read.recent(), (QStringList{odd, document(1)}));
    EXPECT_EQ(read.place(odd), 42);
    EXPECT_EQ(read.place(document(1)), 1234567);

    for (const QByteArray& bad :
         {QByteArray("{\"documents\": [{\"path\": \"/a.txt\", \"caret\": 3"), QByteArray("[1, 2]"),
          QByteArray("{\"documents\": [{\"path\": \"/a.txt\", \"caret\": -3}, {\"caret\": 5}, 7]}")}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bad);
        file.close();
        read.load();
        EXPECT_TRUE(read.recent().isEmpty()) << bad.constData();
    }
}

TEST(ReadingPlaces, AnEditedDocumentResumesAtTheSameWords)
{
    const QString story = QStringLiteral("The river ran to the sea past the mill and the old stone bridge.\n"
                                         "By the bridge a grey heron stood in the reeds and watched the water.\n"
                                         "Children came at noon to throw bread to the ducks.");
    const int heron = int(story.indexOf(u"heron"));
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("places.json"));
    ReadingPlaces written(path); // the words are kept in the file
    written.remember(document(1), heron, story);
    written.save();
    ReadingPlaces places(path);
    places.load();

    // A paragraph written in above the place, and a word changed just after it.
    const QString longer = QStringLiteral("A new first paragraph, added by the teacher.\n") + story;
    EXPECT_EQ(places.place(document(1), longer), longer.indexOf(u"heron"));
    QString changed = longer;
    changed.replace(QStringLiteral("stood"), QStringLiteral("waited"));
    EXPECT_EQ(places.place(document(1), changed), changed.indexOf(u"heron"));
    // Of two copies of the words, the one nearer the old place is the place.
    const QString twice = story + QLatin1Char('\n') + story;
    places.remember(document(2), int(story.size()) + 1 + heron, twice);
    EXPECT_EQ(places.place(document(2), QStringLiteral("Added.\n") + twice), 7 + story.size() + 1 + heron);

    // The words are gone: the old offset, moved back to the start of the word it now falls in.
    const QString rewritten = QString(heron - 3, QLatin1Char(' ')) + QStringLiteral("kingfisher flew by");
    EXPECT_EQ(places.place(document(1), rewritten), heron - 3);
    EXPECT_EQ(places.place(document(1), QStringLiteral("Short.")), 6);

    // An entry kept before the words were: its offset is the place, as it always was.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("{\"documents\": [{\"path\": \"/books/shelf/book 1.pdf\", \"caret\": 6}]}");
    file.close();
    places.load();
    EXPECT_EQ(places.place(document(1), story), 6); // in the middle of "river"
}
