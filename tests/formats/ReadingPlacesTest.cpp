#include "formats/ReadingPlaces.h"

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
