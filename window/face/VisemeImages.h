#pragma once

#include <QImage>
#include <QList>
#include <QPointF>

class QPainter;

// The reader figure's image list. All images share one frame of reference and are drawn transparently, so
// a part image changes only the pixels of its own region:
//   0      the whole figure at rest (open eyes, closed mouth, on a stand)
//   1-12   the mouth region, one mouth shape each
//   13, 14 the eye region with half-closed and with closed eyes
class ImageList
{
public:
    ImageList() = default;
    explicit ImageList(QList<QImage> images) : mImages(std::move(images)) {}

    int Count() const { return int(mImages.size()); }
    // The image at index, or a null image when the list does not hold one.
    QImage Image(int index) const;
    // Draws image index with its top-left corner at position; an index the list does not hold draws nothing.
    void Draw(QPainter& painter, QPointF position, int index) const;

private:
    QList<QImage> mImages;
};

// Side of the square images, in device-independent pixels.
constexpr int ReaderImageSize = 128;

// The figure's mouth images, in the order of the image list.
enum ReaderMouth
{
    MouthRest = 0,    // closed, smiling
    MouthPBM = 1,     // lips pressed together
    MouthW = 2,       // small and rounded
    MouthR = 3,       // slightly open, rounded
    MouthFV = 4,      // upper teeth on the lower lip
    MouthTh = 5,      // tongue between the teeth
    MouthL = 6,       // tongue up behind the teeth
    MouthS = 7,       // teeth together
    MouthSh = 8,      // lips pushed forward, teeth showing
    MouthOpenMid = 9, // half open
    MouthEh = 10,     // wide and half open
    MouthWide = 11,   // wide open
    MouthOy = 12,     // open and rounded
};

// Paints the fifteen images of the reader figure. devicePixelRatio > 1 paints them sharper for dense
// screens; they keep their size of 128 x 128 device-independent pixels.
ImageList MakeReaderFaceImages(qreal devicePixelRatio = 1.0);

// Regions of the figure that the part images cover, in image coordinates: tests and tools look at them.
QRectF ReaderEyeRegion();
QRectF ReaderMouthRegion(); // the bounding box of the elliptic mouth region
