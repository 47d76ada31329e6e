// A picture box on its own: the user scale, the circle primitive, the assigned picture and the
// drawing surface that keeps what is drawn.

#include "support/images.h"
#include "widgets/picture_box.h"

#include <QApplication>
#include <QPainter>
#include <QTest>

#include <cmath>
#include <memory>

using desk::PictureBox;
using desk::testing::inkCount;
using desk::testing::inked;
using desk::testing::solid;

namespace {

// Pixel distances are allowed this much slack for the rasterised outline.
constexpr double slack = 1.5;

// Outermost inked pixels along row y, or along column x for columnExtent (-1, -1 if none).
std::pair<int, int> extent(const QImage& image, int fixed, bool alongRow)
{
    int first = -1, last = -1;
    for (int i = 0; i < (alongRow ? image.width() : image.height()); ++i)
        if (alongRow ? inked(image, i, fixed) : inked(image, fixed, i)) {
            first = first < 0 ? i : first;
            last = i;
        }
    return {first, last};
}

std::pair<int, int> rowExtent(const QImage& image, int y)
{
    return extent(image, y, true);
}
std::pair<int, int> columnExtent(const QImage& image, int x)
{
    return extent(image, x, false);
}

std::unique_ptr<PictureBox> makeBox(QSize outer, double scaleWidth = 1000,
                                    double scaleHeight = 1000)
{
    auto box = std::make_unique<PictureBox>();
    box->resize(outer);
    box->setScaleWidth(scaleWidth);
    box->setScaleHeight(scaleHeight);
    return box;
}

} // namespace

class TestPictureBox : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void circleOnTheScale_data();
    void circleOnTheScale();
    void radiusZeroDrawsAtMostADot();
    void clippedAtTheInnerEdges();
    void pictureAndDrawingAreSeparate();
    void drawingIsShownAndKeptOnRepaint();
};

void TestPictureBox::circleOnTheScale_data()
{
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<double>("scaleWidth");
    QTest::addColumn<double>("scaleHeight");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("radius");

    QTest::newRow("centre of a wide box")
        << QSize(404, 204) << 1000.0 << 1000.0 << 500.0 << 500.0 << 200.0;
    QTest::newRow("off centre") << QSize(404, 204) << 1000.0 << 1000.0 << 250.0 << 750.0 << 100.0;
    QTest::newRow("Picture1's size")
        << QSize(345, 92) << 1000.0 << 1000.0 << 500.0 << 500.0 << 100.0;
    QTest::newRow("tall box") << QSize(104, 304) << 1000.0 << 1000.0 << 500.0 << 500.0 << 300.0;
    QTest::newRow("uneven scale") << QSize(404, 204) << 2000.0 << 500.0 << 1000.0 << 250.0 << 100.0;
}

void TestPictureBox::circleOnTheScale()
{
    QFETCH(QSize, outer);
    QFETCH(double, scaleWidth);
    QFETCH(double, scaleHeight);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, radius);

    auto box = makeBox(outer, scaleWidth, scaleHeight);
    box->circle(x, y, radius);

    const QRect inner = box->contentsRect();
    const QImage drawing = box->drawing();
    QCOMPARE(drawing.size(), inner.size());

    // The scale spans the inner area; the radius counts in horizontal units in both directions.
    const double cx = x * inner.width() / scaleWidth;
    const double cy = y * inner.height() / scaleHeight;
    const double r = radius * inner.width() / scaleWidth;

    const auto [left, right] = rowExtent(drawing, int(cy));
    QVERIFY2(std::abs(left - (cx - r)) <= slack, qPrintable(QString::number(left)));
    QVERIFY2(std::abs(right - (cx + r)) <= slack, qPrintable(QString::number(right)));
    const auto [top, bottom] = columnExtent(drawing, int(cx));
    QVERIFY2(std::abs(top - (cy - r)) <= slack, qPrintable(QString::number(top)));
    QVERIFY2(std::abs(bottom - (cy + r)) <= slack, qPrintable(QString::number(bottom)));

    // An unfilled outline: every inked pixel lies on the circle, in the foreground colour.
    const QRgb ink = box->palette().color(QPalette::WindowText).rgba();
    int count = 0;
    for (int py = 0; py < drawing.height(); ++py)
        for (int px = 0; px < drawing.width(); ++px) {
            if (!inked(drawing, px, py))
                continue;
            ++count;
            const double d = std::hypot(px - cx, py - cy);
            QVERIFY2(
                std::abs(d - r) <= slack,
                qPrintable(QStringLiteral("pixel %1,%2 at distance %3").arg(px).arg(py).arg(d)));
            QCOMPARE(drawing.pixel(px, py), ink);
        }
    QVERIFY(count > 4 * r); // the whole outline, not a few stray pixels
    QVERIFY(!inked(drawing, int(cx), int(cy)));
}

void TestPictureBox::radiusZeroDrawsAtMostADot()
{
    auto box = makeBox(QSize(404, 204));
    box->circle(500, 500, 0);
    const QImage drawing = box->drawing();
    QCOMPARE(drawing.size(), box->contentsRect().size());
    QVERIFY(inkCount(drawing) <= 4);
    for (int py = 0; py < drawing.height(); ++py)
        for (int px = 0; px < drawing.width(); ++px)
            if (inked(drawing, px, py))
                QVERIFY(std::hypot(px - 200.0, py - 100.0) <= slack);
}

void TestPictureBox::clippedAtTheInnerEdges()
{
    // A blank box of the same size gives the frame as the style paints it.
    auto blank = makeBox(QSize(404, 204));
    const QImage blankShot = blank->grab().toImage();

    auto box = makeBox(QSize(404, 204));
    const QRect inner = box->contentsRect();
    box->circle(500, 500, 400); // 160 pixels: runs past the top and bottom edges
    QImage drawing = box->drawing();
    QCOMPARE(drawing.size(), inner.size());
    // Where the circle leaves through the top and bottom edges.
    const double dx = std::sqrt(160.0 * 160.0 - 100.0 * 100.0);
    for (int row : {0, drawing.height() - 1}) {
        const auto [left, right] = rowExtent(drawing, row);
        QVERIFY2(std::abs(left - (200 - dx)) <= 2 && std::abs(right - (200 + dx)) <= 2,
                 qPrintable(QStringLiteral("row %1: %2..%3").arg(row).arg(left).arg(right)));
    }

    box->circle(0, 0, 100);      // centred on the top-left corner: a quarter shows
    box->circle(500, 500, 5000); // wholly outside
    box->circle(-2000, 3000, 10);
    drawing = box->drawing();
    QCOMPARE(drawing.size(), inner.size());
    QVERIFY(std::abs(rowExtent(drawing, 0).first - 40) <= 2);
    QVERIFY(std::abs(columnExtent(drawing, 0).first - 40) <= 2);

    // Nothing spills onto the frame around the inner area.
    const QImage shot = box->grab().toImage();
    QCOMPARE(shot.size(), blankShot.size());
    for (int py = 0; py < shot.height(); ++py)
        for (int px = 0; px < shot.width(); ++px)
            if (!inner.contains(px, py))
                QCOMPARE(shot.pixel(px, py), blankShot.pixel(px, py));
}

void TestPictureBox::pictureAndDrawingAreSeparate()
{
    auto box = makeBox(QSize(204, 104));
    QVERIFY(box->picture().isNull());
    box->circle(500, 500, 300);
    QVERIFY(box->picture().isNull());

    const QImage first = solid(QSize(30, 20), Qt::red);
    box->setPicture(first);
    QCOMPARE(box->picture(), first);
    const QImage drawn = box->drawing();
    box->circle(500, 500, 100);
    QCOMPARE(box->picture(), first);
    QVERIFY(box->drawing() != drawn);

    // A new picture replaces the old one; what was drawn stays.
    const QImage second = solid(QSize(10, 50), Qt::blue);
    const QImage drawnBefore = box->drawing();
    box->setPicture(second);
    QCOMPARE(box->picture(), second);
    QCOMPARE(box->drawing(), drawnBefore);
    box->setPicture(QImage());
    QVERIFY(box->picture().isNull());
    QCOMPARE(box->drawing(), drawnBefore);
}

void TestPictureBox::drawingIsShownAndKeptOnRepaint()
{
    auto box = makeBox(QSize(404, 204));
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    const QRect inner = box->contentsRect();
    const QImage before = box->grab().toImage();

    box->setPicture(solid(QSize(50, 50), Qt::green));
    box->circle(500, 500, 200);
    const QImage drawing = box->drawing();
    const QRgb ink = box->palette().color(QPalette::WindowText).rgba();
    const QRgb white = qRgb(255, 255, 255);

    // The first pixel of `shot` that does not show the drawing over the picture, described.
    auto wrongPixel = [&](const QImage& shot) {
        int checked = 0;
        for (int py = 0; py < drawing.height(); ++py)
            for (int px = 0; px < drawing.width(); ++px) {
                const QRgb shown = shot.pixel(inner.left() + px, inner.top() + py);
                // Ink, the picture at the inner top-left, or the box's white background.
                const QRgb expected = inked(drawing, px, py) ? ink
                    : px < 50 && py < 50                     ? qRgb(0, 255, 0)
                                                             : white;
                checked += inked(drawing, px, py);
                if (shown != expected)
                    return QStringLiteral("pixel %1,%2 is %3").arg(px).arg(py).arg(shown, 0, 16);
            }
        return checked > 0 ? QString() : QStringLiteral("nothing inked");
    };

    // Before anything was drawn, the circle's pixels showed the white background.
    const auto [left, right] = rowExtent(drawing, 100);
    QCOMPARE(before.pixel(inner.left() + left, inner.top() + 100), white);

    const QImage drawnShot = box->grab().toImage();
    QVERIFY2(wrongPixel(drawnShot).isEmpty(), qPrintable(wrongPixel(drawnShot)));
    box->update();
    QCoreApplication::processEvents();
    box->repaint();
    QCOMPARE(box->grab().toImage(), drawnShot);

    // Covered and uncovered again.
    box->hide();
    QCoreApplication::processEvents();
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    QCOMPARE(box->drawing(), drawing);
    const QImage uncovered = box->grab().toImage();
    QVERIFY2(wrongPixel(uncovered).isEmpty(), qPrintable(wrongPixel(uncovered)));

    // Made larger: the circles already drawn stay where they were.
    box->resize(504, 254);
    QCoreApplication::processEvents();
    const QImage grown = box->drawing();
    QCOMPARE(grown.size(), box->contentsRect().size());
    QCOMPARE(grown.copy(QRect(QPoint(0, 0), drawing.size())), drawing);
    QCOMPARE(box->grab().toImage().pixel(inner.left() + right, inner.top() + 100), ink);
}

QTEST_MAIN(TestPictureBox)
#include "test_picture_box.moc"
