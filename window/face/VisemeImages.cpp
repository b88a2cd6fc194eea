#include "window/face/VisemeImages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>

QImage ImageList::Image(int index) const
{
    return index >= 0 && index < Count() ? mImages.at(index) : QImage();
}

void ImageList::Draw(QPainter& painter, QPointF position, int index) const
{
    if (index >= 0 && index < Count())
        painter.drawImage(position, mImages.at(index));
}

namespace {

// The figure stands right of the image's centre: the left 20 columns are clipped where it is shown.
constexpr qreal CentreX = 78;
const QPointF HeadCentre(CentreX, 48);
constexpr qreal HeadRx = 37;
constexpr qreal HeadRy = 41;
const QPointF LeftEye(63, 47);
const QPointF RightEye(93, 47);
constexpr qreal EyeRx = 8.5;
constexpr qreal EyeRy = 10;
const QPointF MouthCentre(CentreX, 72);
constexpr qreal MouthRegionRx = 22;
constexpr qreal MouthRegionRy = 13.5;

const QColor Outline(0x6b, 0x40, 0x2a);
const QColor Skin(0xfb, 0xd3, 0xae);
const QColor SkinLight(0xff, 0xe6, 0xcf);
const QColor SkinShade(0xef, 0xb4, 0x86);
const QColor Hair(0x8a, 0x4b, 0x22);
const QColor HairDark(0x5e, 0x30, 0x14);
const QColor Lip(0xd8, 0x5c, 0x70);
const QColor LipLine(0xa0, 0x33, 0x48);
const QColor MouthInside(0x6e, 0x1c, 0x2c);
const QColor Tongue(0xf2, 0x86, 0x96);
const QColor Teeth(0xff, 0xff, 0xfb);
const QColor Iris(0x3f, 0x8f, 0xd8);
const QColor IrisDark(0x1f, 0x55, 0x9c);

QImage EmptyImage(qreal dpr)
{
    const int side = int(std::lround(ReaderImageSize * dpr));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    return image;
}

QPen OutlinePen(qreal width = 1.6)
{
    return QPen(Outline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPainterPath Ellipse(QPointF centre, qreal rx, qreal ry)
{
    QPainterPath path;
    path.addEllipse(centre, rx, ry);
    return path;
}

void DrawStand(QPainter& p)
{
    // Pedestal: a rounded slab with a lighter top edge.
    QLinearGradient wood(0, 112, 0, 127);
    wood.setColorAt(0, QColor(0xb0, 0x7a, 0xd8));
    wood.setColorAt(1, QColor(0x7c, 0x4f, 0xa8));
    p.setPen(OutlinePen(1.4));
    p.setBrush(wood);
    p.drawRoundedRect(QRectF(44, 113, 68, 13.5), 5, 5);
    p.setPen(QPen(QColor(255, 255, 255, 110), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(50, 116.5), QPointF(106, 116.5));

    // Shoulders in a sweater.
    QPainterPath body;
    body.moveTo(47, 114);
    body.cubicTo(47, 100, 56, 93, 68, 91);
    body.lineTo(88, 91);
    body.cubicTo(100, 93, 109, 100, 109, 114);
    body.closeSubpath();
    QLinearGradient sweater(0, 90, 0, 114);
    sweater.setColorAt(0, QColor(0x4c, 0xc7, 0xa8));
    sweater.setColorAt(1, QColor(0x22, 0x9a, 0x80));
    p.setPen(OutlinePen(1.5));
    p.setBrush(sweater);
    p.drawPath(body);

    // Neck with the collar around it.
    p.setBrush(SkinShade);
    p.drawRoundedRect(QRectF(69, 80, 18, 16), 4, 4);
    QPainterPath collar;
    collar.moveTo(64, 92);
    collar.quadTo(CentreX, 104, 92, 92);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xff, 0xf3, 0xc4), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(collar);
    p.setPen(OutlinePen(1.0));
    p.drawPath(collar);
    // A star badge, for a little colour.
    QPainterPath star;
    const QPointF c(96, 104);
    for (int i = 0; i < 10; ++i) {
        const qreal r = i % 2 ? 2.2 : 5;
        const qreal a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        i ? star.lineTo(pt) : star.moveTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(QColor(0xc8, 0x8a, 0x10), 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xff, 0xd2, 0x3f));
    p.drawPath(star);
}

void DrawHead(QPainter& p)
{
    // Ears behind the head.
    p.setPen(OutlinePen());
    p.setBrush(Skin);
    p.drawEllipse(QPointF(42, 52), 6.5, 9);
    p.drawEllipse(QPointF(114, 52), 6.5, 9);
    p.setPen(QPen(SkinShade.darker(112), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(39, 46, 6, 12), 90 * 16, 180 * 16);
    p.drawArc(QRectF(111, 46, 6, 12), -90 * 16, 180 * 16);

    const QPainterPath head = Ellipse(HeadCentre, HeadRx, HeadRy);
    QRadialGradient skin(QPointF(70, 42), 48);
    skin.setColorAt(0, SkinLight);
    skin.setColorAt(0.55, Skin);
    skin.setColorAt(1, SkinShade);
    p.setPen(Qt::NoPen);
    p.setBrush(skin);
    p.drawPath(head);

    // Rosy cheeks.
    QRadialGradient blush(0, 0, 8);
    blush.setColorAt(0, QColor(0xff, 0x7f, 0x8f, 150));
    blush.setColorAt(1, QColor(0xff, 0x7f, 0x8f, 0));
    for (const QPointF& cheek : {QPointF(53, 64), QPointF(103, 64)}) {
        p.save();
        p.translate(cheek);
        p.scale(1.15, 0.75);
        p.setBrush(blush);
        p.drawEllipse(QPointF(0, 0), 8, 8);
        p.restore();
    }

    // Hair: a cap over the top of the head with a fringe, and a tuft.
    QPainterPath cap = Ellipse(QPointF(CentreX, 44), HeadRx + 2.5, HeadRy + 1);
    QPainterPath top;
    top.addRect(QRectF(30, 0, 100, 55));
    cap = cap.intersected(top);
    QPainterPath face;
    face.moveTo(41, 56);
    face.cubicTo(41, 40, 48, 30, 56, 27);
    face.quadTo(62, 33, 68, 27);
    face.quadTo(75, 33, 82, 26);
    face.quadTo(90, 33, 98, 27);
    face.cubicTo(108, 31, 115, 40, 115, 56);
    face.lineTo(115, 95);
    face.lineTo(41, 95);
    face.closeSubpath();
    QPainterPath hair = cap.subtracted(face);
    QPainterPath tuft;
    tuft.moveTo(72, 7);
    tuft.cubicTo(71, 1, 79, -0.5, 85, 3);
    tuft.cubicTo(80.5, 2.5, 78.5, 4.5, 80, 7.5);
    tuft.closeSubpath();
    hair = hair.united(tuft);
    QLinearGradient hairShade(0, 2, 0, 50);
    hairShade.setColorAt(0, Hair.lighter(118));
    hairShade.setColorAt(1, HairDark);
    p.setPen(OutlinePen(1.4));
    p.setBrush(hairShade);
    p.drawPath(hair);
    p.setPen(QPen(QColor(255, 255, 255, 70), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(52, 11, 34, 20), 100 * 16, 60 * 16);

    // Head outline over the skin, but not across the hair.
    p.setPen(OutlinePen(1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(head.subtracted(hair).intersected(head));

    // Eyebrows.
    p.setPen(QPen(HairDark, 2.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(55, 33, 16, 8), 30 * 16, 120 * 16);
    p.drawArc(QRectF(85, 33, 16, 8), 30 * 16, 120 * 16);

    // A small button nose.
    QRadialGradient nose(QPointF(77, 58.5), 5);
    nose.setColorAt(0, SkinLight);
    nose.setColorAt(1, SkinShade.darker(106));
    p.setPen(Qt::NoPen);
    p.setBrush(nose);
    p.drawEllipse(QPointF(CentreX, 59.5), 4.2, 3.3);
    p.setPen(QPen(SkinShade.darker(125), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(73.5, 57, 9, 5.5), 200 * 16, 140 * 16);
}

void DrawEyeWhite(QPainter& p, QPointF c)
{
    p.setPen(OutlinePen(1.3));
    p.setBrush(Qt::white);
    p.drawEllipse(c, EyeRx, EyeRy);
}

void DrawIris(QPainter& p, QPointF c)
{
    const QPointF irisCentre = c + QPointF(1, 1.5);
    QRadialGradient iris(irisCentre, 6);
    iris.setColorAt(0, Iris.lighter(115));
    iris.setColorAt(1, IrisDark);
    p.setPen(Qt::NoPen);
    p.setBrush(iris);
    p.drawEllipse(irisCentre, 5.8, 6.2);
    p.setBrush(QColor(0x16, 0x16, 0x2a));
    p.drawEllipse(irisCentre, 3, 3.2);
    p.setBrush(Qt::white);
    p.drawEllipse(irisCentre + QPointF(2.1, -2.3), 1.9, 1.9);
    p.drawEllipse(irisCentre + QPointF(-2.2, 2.4), 0.8, 0.8);
}

void DrawOpenEyes(QPainter& p)
{
    for (const QPointF& c : {LeftEye, RightEye}) {
        DrawEyeWhite(p, c);
        DrawIris(p, c);
        p.setPen(OutlinePen(1.3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, EyeRx, EyeRy);
    }
}

void DrawHalfClosedEyes(QPainter& p)
{
    for (const QPointF& c : {LeftEye, RightEye}) {
        DrawEyeWhite(p, c);
        DrawIris(p, c);
        // The upper lid comes down to just above the middle of the eye.
        const QPainterPath eye = Ellipse(c, EyeRx, EyeRy);
        QPainterPath lid;
        lid.moveTo(c.x() - EyeRx - 1, c.y() - EyeRy - 1);
        lid.lineTo(c.x() + EyeRx + 1, c.y() - EyeRy - 1);
        lid.lineTo(c.x() + EyeRx + 1, c.y() + 0.5);
        lid.quadTo(c.x(), c.y() + 2.5, c.x() - EyeRx - 1, c.y() + 0.5);
        lid.closeSubpath();
        const QPainterPath covered = eye.intersected(lid);
        QLinearGradient lidShade(0, c.y() - EyeRy, 0, c.y() + 2);
        lidShade.setColorAt(0, Skin);
        lidShade.setColorAt(1, SkinShade);
        p.setPen(Qt::NoPen);
        p.setBrush(lidShade);
        p.drawPath(covered);
        p.setPen(OutlinePen(1.3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, EyeRx, EyeRy);
        QPainterPath edge;
        edge.moveTo(c.x() - EyeRx, c.y() + 0.5);
        edge.quadTo(c.x(), c.y() + 2.5, c.x() + EyeRx, c.y() + 0.5);
        p.setPen(OutlinePen(2.2));
        p.drawPath(edge);
    }
}

void DrawClosedEyes(QPainter& p)
{
    for (const QPointF& c : {LeftEye, RightEye}) {
        QPainterPath lash;
        lash.moveTo(c.x() - EyeRx, c.y());
        lash.quadTo(c.x(), c.y() + 7, c.x() + EyeRx, c.y());
        p.setPen(OutlinePen(2.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(lash);
        const qreal side = c.x() < CentreX ? -1 : 1;
        p.setPen(OutlinePen(1.6));
        p.drawLine(QPointF(c.x() + side * EyeRx, c.y()), QPointF(c.x() + side * (EyeRx + 3), c.y() - 2.5));
        p.drawLine(QPointF(c.x() + side * (EyeRx - 3.5), c.y() + 2.6),
                   QPointF(c.x() + side * (EyeRx - 2), c.y() + 6.5));
    }
}

// An open mouth: dark inside with optional teeth and tongue, framed by the lips.
struct OpenMouth
{
    QPainterPath shape;
    qreal upperTeeth = 0; // depth of the upper teeth strip
    qreal lowerTeeth = 0;
    qreal tongue = 0; // height of the tongue rising from the bottom
    qreal lips = 2.2; // lip thickness
};

void DrawOpenMouth(QPainter& p, const OpenMouth& m)
{
    const QRectF box = m.shape.boundingRect();
    QLinearGradient inside(0, box.top(), 0, box.bottom());
    inside.setColorAt(0, MouthInside.darker(130));
    inside.setColorAt(1, MouthInside);
    p.setPen(Qt::NoPen);
    p.setBrush(inside);
    p.drawPath(m.shape);
    p.save();
    p.setClipPath(m.shape);
    if (m.tongue > 0) {
        p.setBrush(Tongue);
        p.drawEllipse(QPointF(box.center().x(), box.bottom() + box.height() * 0.15), box.width() * 0.38,
                      m.tongue + box.height() * 0.15);
    }
    p.setBrush(Teeth);
    if (m.upperTeeth > 0)
        p.drawRect(QRectF(box.left(), box.top() - 1, box.width(), m.upperTeeth + 1));
    if (m.lowerTeeth > 0)
        p.drawRect(QRectF(box.left(), box.bottom() - m.lowerTeeth, box.width(), m.lowerTeeth + 1));
    p.restore();
    p.setPen(QPen(Lip, m.lips, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(m.shape);
    p.setPen(QPen(LipLine, 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPathStroker stroker;
    stroker.setWidth(m.lips);
    stroker.setJoinStyle(Qt::RoundJoin);
    p.drawPath(stroker.createStroke(m.shape).united(m.shape).simplified());
}

// A mouth with a flat top and a rounded bottom, wider than high.
QPainterPath Smile(qreal halfWidth, qreal depth, qreal lift = 0)
{
    const qreal x0 = MouthCentre.x() - halfWidth;
    const qreal x1 = MouthCentre.x() + halfWidth;
    const qreal top = MouthCentre.y() - depth * 0.35;
    QPainterPath path;
    path.moveTo(x0, top - lift);
    path.quadTo(MouthCentre.x(), top + 1.5, x1, top - lift);
    path.cubicTo(x1 - 1, top + depth * 0.9, MouthCentre.x() + halfWidth * 0.45, top + depth * 1.05, MouthCentre.x(),
                 top + depth * 1.05);
    path.cubicTo(MouthCentre.x() - halfWidth * 0.45, top + depth * 1.05, x0 + 1, top + depth * 0.9, x0, top - lift);
    path.closeSubpath();
    return path;
}

void DrawMouth(QPainter& p, int shape)
{
    const qreal cx = MouthCentre.x();
    const qreal cy = MouthCentre.y();
    switch (shape) {
    case MouthRest: {
        QPainterPath smile;
        smile.moveTo(cx - 10, cy - 2.5);
        smile.quadTo(cx, cy + 5, cx + 10, cy - 2.5);
        p.setPen(QPen(LipLine, 2.3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(smile);
        p.setPen(QPen(SkinShade.darker(115), 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(cx - 13.5, cy - 5, 4, 4), 200 * 16, 110 * 16);
        p.drawArc(QRectF(cx + 9.5, cy - 5, 4, 4), 230 * 16, 110 * 16);
        break;
    }
    case MouthPBM: {
        // Lips pressed together, a little pouted.
        QPainterPath lips;
        lips.moveTo(cx - 9, cy);
        lips.cubicTo(cx - 6, cy - 4.5, cx - 2, cy - 4.5, cx, cy - 3);
        lips.cubicTo(cx + 2, cy - 4.5, cx + 6, cy - 4.5, cx + 9, cy);
        lips.cubicTo(cx + 6, cy + 5, cx - 6, cy + 5, cx - 9, cy);
        lips.closeSubpath();
        p.setPen(QPen(LipLine, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Lip);
        p.drawPath(lips);
        p.setPen(QPen(LipLine.darker(120), 1.5, Qt::SolidLine, Qt::RoundCap));
        QPainterPath seam;
        seam.moveTo(cx - 9, cy);
        seam.quadTo(cx, cy + 1.2, cx + 9, cy);
        p.setBrush(Qt::NoBrush);
        p.drawPath(seam);
        break;
    }
    case MouthW:
        DrawOpenMouth(p, {Ellipse(QPointF(cx, cy), 3.6, 4.2), 0, 0, 0, 3.4});
        break;
    case MouthR: {
        QPainterPath path;
        path.addRoundedRect(QRectF(cx - 6.5, cy - 4, 13, 8), 4, 4);
        DrawOpenMouth(p, {path, 2.2, 0, 0, 2.8});
        break;
    }
    case MouthFV: {
        // Upper teeth resting on the lower lip.
        DrawOpenMouth(p, {Smile(9.5, 6), 3.2, 0, 0, 2.2});
        QPainterPath lower;
        lower.moveTo(cx - 8.5, cy + 0.5);
        lower.quadTo(cx, cy - 1.5, cx + 8.5, cy + 0.5);
        lower.quadTo(cx, cy + 6, cx - 8.5, cy + 0.5);
        p.setPen(QPen(LipLine, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Lip);
        p.drawPath(lower);
        break;
    }
    case MouthTh: {
        // The tip of the tongue between the teeth.
        DrawOpenMouth(p, {Smile(9.5, 7), 2.8, 1.6, 0, 2.2});
        p.setPen(QPen(Tongue.darker(125), 1, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Tongue);
        p.drawChord(QRectF(cx - 5, cy - 1, 10, 10), 180 * 16, 180 * 16);
        p.drawLine(QPointF(cx - 5, cy + 4), QPointF(cx + 5, cy + 4));
        p.setPen(QPen(Tongue.darker(140), 0.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(cx, cy + 5), QPointF(cx, cy + 7.5));
        break;
    }
    case MouthL: {
        // Open, with the tongue lifted towards the upper teeth.
        const QPainterPath shape = Ellipse(QPointF(cx, cy + 0.5), 8.5, 7);
        DrawOpenMouth(p, {shape, 2.4, 0, 0, 2.2});
        p.save();
        p.setClipPath(shape);
        p.setPen(Qt::NoPen);
        p.setBrush(Tongue);
        p.drawEllipse(QPointF(cx, cy + 7), 6.5, 9);
        p.restore();
        p.setPen(QPen(Lip, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
        break;
    }
    case MouthS:
        // Teeth closed, lips drawn back.
        DrawOpenMouth(p, {Smile(11, 6.5, 0.5), 3.4, 3.4, 0, 2.0});
        p.setPen(QPen(QColor(0xc8, 0xc4, 0xc0), 0.8));
        p.drawLine(QPointF(cx - 9.5, cy - 0.3), QPointF(cx + 9.5, cy - 0.3));
        break;
    case MouthSh: {
        // Lips pushed forward, teeth showing.
        QPainterPath shape;
        shape.addRoundedRect(QRectF(cx - 6.5, cy - 4.5, 13, 9), 4.5, 4.5);
        DrawOpenMouth(p, {shape, 3.2, 2.8, 0, 3.6});
        p.setPen(QPen(QColor(0xc8, 0xc4, 0xc0), 0.8));
        p.drawLine(QPointF(cx - 4, cy - 0.6), QPointF(cx + 4, cy - 0.6));
        break;
    }
    case MouthOpenMid:
        DrawOpenMouth(p, {Smile(10, 9), 2.6, 0, 3.2, 2.2});
        break;
    case MouthEh:
        DrawOpenMouth(p, {Smile(12.5, 9.5, 1), 2.8, 0, 3.6, 2.2});
        break;
    case MouthWide:
        DrawOpenMouth(p, {Ellipse(QPointF(cx, cy + 1), 10, 9.5), 2.8, 0, 5, 2.3});
        break;
    case MouthOy: {
        QPainterPath shape = Ellipse(QPointF(cx, cy + 1), 6.5, 8.5);
        DrawOpenMouth(p, {shape, 2.0, 0, 4.5, 3.0});
        break;
    }
    default:
        break;
    }
}

using Painting = std::function<void(QPainter&)>;

QImage Paint(qreal dpr, const Painting& painting)
{
    QImage image = EmptyImage(dpr);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    painting(p);
    return image;
}

// The pixels of full inside region, transparent elsewhere. Region edges are hard: inside the region the
// part image is pixel for pixel the figure it is drawn on, so no seam shows.
QImage Cut(const QImage& full, const std::function<bool(QPointF)>& inside)
{
    QImage part = full;
    const qreal dpr = full.devicePixelRatio();
    for (int y = 0; y < part.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            if (!inside(QPointF((x + 0.5) / dpr, (y + 0.5) / dpr)))
                line[x] = 0;
    }
    return part;
}

bool InMouthRegion(QPointF pt)
{
    const qreal dx = (pt.x() - MouthCentre.x()) / MouthRegionRx;
    const qreal dy = (pt.y() - MouthCentre.y()) / MouthRegionRy;
    return dx * dx + dy * dy <= 1;
}

} // namespace

QRectF ReaderEyeRegion()
{
    return QRectF(50, 34, 57, 25);
}

QRectF ReaderMouthRegion()
{
    return QRectF(MouthCentre.x() - MouthRegionRx, MouthCentre.y() - MouthRegionRy, 2 * MouthRegionRx,
                  2 * MouthRegionRy);
}

ImageList MakeReaderFaceImages(qreal devicePixelRatio)
{
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const auto bare = [](QPainter& p) {
        DrawStand(p);
        DrawHead(p);
    };
    QList<QImage> images;
    images.append(Paint(dpr, [&](QPainter& p) {
        bare(p);
        DrawOpenEyes(p);
        DrawMouth(p, MouthRest);
    }));
    for (int mouth = MouthPBM; mouth <= MouthOy; ++mouth)
        images.append(Cut(Paint(dpr,
                                [&](QPainter& p) {
                                    bare(p);
                                    DrawMouth(p, mouth);
                                }),
                          InMouthRegion));
    const QRectF eyes = ReaderEyeRegion();
    const auto inEyes = [&](QPointF pt) { return eyes.contains(pt); };
    images.append(Cut(Paint(dpr,
                            [&](QPainter& p) {
                                bare(p);
                                DrawHalfClosedEyes(p);
                            }),
                      inEyes));
    images.append(Cut(Paint(dpr,
                            [&](QPainter& p) {
                                bare(p);
                                DrawClosedEyes(p);
                            }),
                      inEyes));
    return ImageList(images);
}
