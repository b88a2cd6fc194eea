#include "window/face/ReaderFace.h"
#include "speech/VisemeTable.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <ostream>

// Failures name the image's size rather than dumping its bytes.
void PrintTo(const QImage& image, std::ostream* out)
{
    *out << "QImage " << image.width() << "x" << image.height();
}

namespace {

// Eye and mouth regions of the box: the images are drawn 20 columns to the left.
QRect EyeBox()
{
    return ReaderEyeRegion().translated(ReaderFace::ImageOrigin).toAlignedRect();
}

QRect MouthBox()
{
    return ReaderMouthRegion().translated(ReaderFace::ImageOrigin).toAlignedRect();
}

// What the box shows when these images are drawn one over the other on an empty box.
QImage Drawn(const ImageList& images, std::initializer_list<int> indexes)
{
    QImage canvas(121, 137, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    for (int index : indexes)
        images.Draw(painter, ReaderFace::ImageOrigin, index);
    return canvas;
}

bool SameIn(const QImage& a, const QImage& b, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

// The face painted anew, as after being covered and uncovered, without the window's background.
QImage Rendered(ReaderFace& face)
{
    // The figure as drawn, without the ring that marks the keyboard focus.
    face.clearFocus();
    QImage image(face.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    face.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

class ReaderFaceTest : public ::testing::Test
{
protected:
    ReaderFace face;
    const ImageList& images = face.Images();

    // Shown, so each drawing also goes through the paint handler as it does on screen.
    void SetUp() override
    {
        face.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&face));
        face.DrawRestingFace();
    }

    // The box's mouth and eyes, each compared with the image that should show there.
    void ExpectShown(int mouthImage, int eyeImage)
    {
        const QImage mouth = Drawn(images, {0, mouthImage});
        const QImage eyes = Drawn(images, {0, eyeImage});
        EXPECT_TRUE(SameIn(face.Canvas(), mouth, MouthBox())) << "mouth image " << mouthImage;
        EXPECT_TRUE(SameIn(face.Canvas(), eyes, EyeBox())) << "eye image " << eyeImage;
    }

    // What the box shows once the window system asks it to paint itself again.
    QImage Repainted() { return Rendered(face); }
};

} // namespace

TEST(ReaderFaceImages, PartsChangeOnlyTheirOwnRegionAndAllDiffer)
{
    const ImageList images = MakeReaderFaceImages();
    ASSERT_EQ(images.Count(), 15);
    for (int i = 0; i < images.Count(); ++i)
        EXPECT_EQ(images.Image(i).size(), QSize(128, 128)) << i;
    EXPECT_TRUE(images.Image(15).isNull());

    // Parts are opaque wherever they draw, so drawing one again never darkens it.
    for (int part = 1; part <= 14; ++part) {
        const QImage image = images.Image(part);
        bool opaque = true;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque = opaque && (qAlpha(image.pixel(x, y)) == 0 || qAlpha(image.pixel(x, y)) == 255);
        EXPECT_TRUE(opaque) << "image " << part;
    }

    const QImage rest = Drawn(images, {0});
    const QRect whole(0, 0, 121, 137);
    for (int part = 1; part <= 14; ++part) {
        const QImage drawn = Drawn(images, {0, part});
        const QRect own = part <= 12 ? MouthBox() : EyeBox();
        const QRect other = part <= 12 ? EyeBox() : MouthBox();
        EXPECT_FALSE(SameIn(drawn, rest, own)) << "image " << part << " shows nothing new";
        EXPECT_TRUE(SameIn(drawn, rest, other)) << "image " << part << " reaches into the other region";
        // Outside its region a part must leave the figure untouched, or mouths would leave traces.
        QImage outside = drawn;
        QImage restOutside = rest;
        QPainter(&outside).fillRect(own, Qt::black);
        QPainter(&restOutside).fillRect(own, Qt::black);
        EXPECT_TRUE(SameIn(outside, restOutside, whole)) << "image " << part << " spills out of its region";
    }
    for (int a = 1; a <= 12; ++a)
        for (int b = a + 1; b <= 12; ++b)
            EXPECT_FALSE(SameIn(Drawn(images, {0, a}), Drawn(images, {0, b}), MouthBox()))
                << "mouths " << a << " and " << b << " look the same";
    // A mouth drawn over another replaces it completely.
    EXPECT_EQ(Drawn(images, {0, 11, 1}), Drawn(images, {0, 1}));
}

TEST_F(ReaderFaceTest, StartsAtRestWithTheMouthOfSilence)
{
    ReaderFace fresh;
    EXPECT_EQ(fresh.CurrentViseme(), 0);
    EXPECT_EQ(fresh.objectName(), QStringLiteral("imgReader"));
    EXPECT_EQ(fresh.size(), QSize(121, 137));
    EXPECT_EQ(Rendered(fresh), Drawn(images, {0}));

    // A viseme before the box was ever painted still shows the whole figure around the mouth.
    ReaderFace unpainted;
    unpainted.SpVoiceViseme(7);
    EXPECT_EQ(unpainted.Canvas(), Drawn(images, {0, 2, 14}));
}

TEST_F(ReaderFaceTest, RoundedMouthsCloseTheEyes)
{
    face.SpVoiceViseme(7); // w, uw
    ExpectShown(2, 14);
    face.DrawRestingFace();
    face.SpVoiceViseme(16); // sh, ch
    ExpectShown(8, 14);
}

TEST_F(ReaderFaceTest, OwHalfClosesTheEyesAndKeepsTheMouth)
{
    face.SpVoiceViseme(21); // p, b, m
    face.SpVoiceViseme(8);
    ExpectShown(1, 13);
    EXPECT_EQ(face.CurrentViseme(), 8);
}

TEST_F(ReaderFaceTest, OpenVowelsAndThDrawNoEyes)
{
    for (int viseme : {1, 2, 3, 5, 11, 17}) {
        SCOPED_TRACE(viseme);
        face.DrawRestingFace();
        face.SpVoiceViseme(viseme);
        ExpectShown(VisemeToImage[viseme], 0);
    }
    EXPECT_EQ(VisemeToImage[17], 5);
}

TEST_F(ReaderFaceTest, ClosedEyesStayClosedUntilTheFigureIsDrawnWhole)
{
    face.SpVoiceViseme(7);
    face.SpVoiceViseme(1);
    face.SpVoiceViseme(21);
    ExpectShown(1, 14);
    face.SpVoiceViseme(0); // silence draws the whole figure at rest
    EXPECT_EQ(face.Canvas(), Drawn(images, {0}));
}

TEST_F(ReaderFaceTest, EndOfUtteranceShowsTheRestingFigureAndKeepsTheViseme)
{
    face.SpVoiceViseme(16);
    face.SpVoiceViseme(8);
    face.DrawRestingFace();
    EXPECT_EQ(face.Canvas(), Drawn(images, {0}));
    EXPECT_EQ(face.CurrentViseme(), 8);
}

TEST_F(ReaderFaceTest, RepaintShowsTheLastVisemesMouthWhileSpeakingAndTheRestAfter)
{
    face.SpVoiceViseme(7);
    face.SpVoiceViseme(11); // mouth 11, eyes still closed from viseme 7
    EXPECT_EQ(Repainted(), Drawn(images, {0, 11}));

    face.SpVoiceViseme(16);
    EXPECT_EQ(Repainted(), Drawn(images, {0, 8, 14}));

    // A reading paused on a half blink, then stopped: the face is at rest, and stays so when uncovered.
    face.SpVoiceViseme(8);
    face.DrawRestingFace();
    EXPECT_EQ(Repainted(), Drawn(images, {0}));
    EXPECT_EQ(face.Canvas(), Drawn(images, {0})) << "the canvas holds what was repainted";
    EXPECT_EQ(face.CurrentViseme(), 8);
}

TEST_F(ReaderFaceTest, VisemesOutsideTheTableAreIgnored)
{
    face.SpVoiceViseme(21);
    const QImage before = face.Canvas();
    for (int viseme : {-1, 22, 23, 1000, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        face.SpVoiceViseme(viseme);
        EXPECT_EQ(face.CurrentViseme(), 21);
        EXPECT_EQ(face.Canvas(), before);
    }
    EXPECT_EQ(VisemeImage(-1), -1);
    EXPECT_EQ(VisemeImage(22), -1);
    EXPECT_EQ(Repainted(), Drawn(images, {0, 1}));
}

TEST_F(ReaderFaceTest, ClicksDoubleClicksAndTheMenu)
{
    QSignalSpy clicks(&face, &ReaderFace::clicked);
    QSignalSpy doubles(&face, &ReaderFace::doubleClicked);
    QSignalSpy menus(&face, &ReaderFace::rightClicked);
    const QPointF inside(40, 60);
    const QPointF global(300, 400);
    const auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButton button) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
        QMouseEvent event(type, at, global, button, held, Qt::NoModifier);
        QApplication::sendEvent(&face, &event);
    };

    send(QEvent::MouseButtonPress, inside, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, inside, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);

    // A double click arrives as press, release, double click, release: one click, then the double click.
    send(QEvent::MouseButtonPress, inside, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, inside, Qt::LeftButton);
    send(QEvent::MouseButtonDblClick, inside, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, inside, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(doubles.count(), 1);

    // Released away from the figure: no click. The right button is no click either.
    send(QEvent::MouseButtonPress, inside, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, QPointF(200, 60), Qt::LeftButton);
    send(QEvent::MouseButtonPress, inside, Qt::RightButton);
    send(QEvent::MouseButtonRelease, inside, Qt::RightButton);
    EXPECT_EQ(clicks.count(), 2);

    QContextMenuEvent menu(QContextMenuEvent::Mouse, inside.toPoint(), global.toPoint());
    QApplication::sendEvent(&face, &menu);
    ASSERT_EQ(menus.count(), 1);
    EXPECT_EQ(menus.at(0).at(0).toPoint(), global.toPoint());
}
