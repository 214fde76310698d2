// The LED digit control: geometry, setter rules, drawn pixels, auto size, repaint and clicks.
#include "controls/ledfont.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

const QColor kBG(74, 66, 74);
const QColor kLight(247, 255, 0);
const QColor kDark(99, 99, 99);

std::vector<QPoint> points(const QPolygon& p) {
    return {p.begin(), p.end()};
}

// Paints the control twice: the first paint may resize it to fit its text.
QImage settle(TLEDFontNum& led) {
    led.grab();
    return led.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A pixel inside a segment (the polygons are convex, so the mean of the corners is inside).
QColor segmentColor(const QImage& img, const TLEDFontNum& led, int cell, int seg) {
    const int x = led.offSetX() + cell * (led.wordWidth() + led.space());
    const QPolygon p = TLEDFontNum::cellPolygons(x, led.offSetY(), led.wordWidth(),
                                                 led.wordHeight(), led.thick())[seg];
    QPoint sum;
    for (const QPoint& q : p) sum += q;
    return img.pixelColor(sum / p.size());
}

std::set<QRgb> colours(const QImage& img) {
    std::set<QRgb> out;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) out.insert(img.pixel(x, y));
    return out;
}

}  // namespace

TEST(LedFont, NewControlHasItsDefaults) {
    TLEDFontNum led;
    EXPECT_EQ(led.size(), QSize(47, 38));
    EXPECT_EQ(led.property("OffSetX").toInt(), 4);
    EXPECT_EQ(led.property("OffSetY").toInt(), 4);
    EXPECT_EQ(led.property("WordWidth").toInt(), 17);
    EXPECT_EQ(led.property("WordHeight").toInt(), 29);
    EXPECT_EQ(led.property("Thick").toInt(), 3);
    EXPECT_EQ(led.property("Space").toInt(), 4);
    EXPECT_EQ(led.property("Text").toString(), QStringLiteral("00"));
    EXPECT_EQ(led.property("BGColor").value<QColor>(), kBG);
    EXPECT_EQ(led.property("LightColor").value<QColor>(), kLight);
    EXPECT_EQ(led.property("DarkColor").value<QColor>(), kDark);
    EXPECT_TRUE(led.property("AutoSize").toBool());
}

TEST(LedFont, FirstCellPointsWithDefaults) {
    const auto cell = TLEDFontNum::cellPolygons(4, 4, 17, 29, 3);
    EXPECT_EQ(points(cell[0]), (std::vector<QPoint>{{6, 4}, {8, 6}, {12, 6}, {14, 4}}));
    EXPECT_EQ(points(cell[6]),
              (std::vector<QPoint>{{7, 17}, {6, 18}, {7, 19}, {13, 19}, {14, 18}, {13, 17}}));
    EXPECT_EQ(points(cell[TLEDFontNum::kDecimalPoint]),
              (std::vector<QPoint>{{18, 30}, {18, 33}, {21, 33}, {21, 30}}));
}

TEST(LedFont, OnePixelMiddleBarLiesOnTheCentreRow) {
    struct Case {
        int x, y, w, h;
    };
    for (const Case c : {Case{0, 0, 9, 13}, Case{5, 2, 17, 29}, Case{-3, 7, 12, 21}}) {
        SCOPED_TRACE(c.w);
        const QPolygon mid = TLEDFontNum::cellPolygons(c.x, c.y, c.w, c.h, 1)[6];
        const int row = c.y + (c.h + 1) / 2 - 1;
        int left = mid[0].x(), right = mid[0].x();
        for (const QPoint& p : mid) {
            EXPECT_EQ(p.y(), row);
            left = std::min(left, p.x());
            right = std::max(right, p.x());
        }
        EXPECT_EQ(left, c.x + 2);
        EXPECT_EQ(right, c.x + c.w - 5);
    }
}

TEST(LedFont, SettersKeepOnlyValidValues) {
    struct Case {
        const char* property;
        int value;
        int stored;
    };
    // Defaults: WordWidth 17, WordHeight 29, Thick 3.
    const Case cases[] = {
        {"WordHeight", 30, 31},                        // kept odd
        {"WordHeight", 12, 13},                        // just above 4 * Thick - 1
        {"WordHeight", 11, 29},                        // not above 4 * Thick - 1: dropped
        {"WordHeight", 33, 33}, {"WordWidth", 6, 17},  // not above 2 * Thick
        {"WordWidth", 7, 7},    {"Thick", 7, 7},       // 14 < 17 and 27 < 29
        {"Thick", 8, 3},                               // 31 is not below 29
        {"Thick", 9, 3},                               // 18 is not below 17
        {"OffSetX", -3, -3},    {"OffSetY", 0, 0},    {"Space", 12, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.property) + " " + std::to_string(c.value));
        TLEDFontNum led;
        led.setProperty(c.property, c.value);
        EXPECT_EQ(led.property(c.property).toInt(), c.stored);
    }
}

TEST(LedFont, DigitsLightTheirSegments) {
    struct Case {
        QString text;
        std::vector<std::string> lit;  // per cell: lit segments, "7" for the decimal point
    };
    const Case cases[] = {
        {"0", {"012345"}},
        {"1", {"12"}},
        {"0123456789",
         {"012345", "12", "01346", "01236", "1256", "02356", "023456", "012", "0123456", "012356"}},
        {"12.5", {"12", "013467", "02356"}},
        {"1.2.3", {"127", "01346", "", "01236"}},  // the second "." has a cell of its own
        {"-5", {"6", "02356"}},
        {"8 8.", {"0123456", "", "01234567"}},
        {".5", {"02356"}},  // a leading "." has no digit before it
        {"-.", {"6"}},      // only a digit carries the point
        {"A7", {"", "012"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        TLEDFontNum led;
        led.resize(10, 10);
        led.setText(c.text);
        const QImage img = settle(led);
        const int n = static_cast<int>(c.lit.size());
        ASSERT_EQ(led.width(), n * 17 + (n - 1) * 4 + 8);
        for (int cell = 0; cell < n; ++cell) {
            for (int seg = 0; seg < 8; ++seg) {
                const bool lit = c.lit[cell].find(char('0' + seg)) != std::string::npos;
                EXPECT_EQ(segmentColor(img, led, cell, seg), lit ? kLight : kDark)
                    << "cell " << cell << " segment " << seg;
            }
        }
    }
}

TEST(LedFont, PolygonsCoverTheirOutline) {
    TLEDFontNum led;
    led.setDarkColor(kBG);
    led.setText(QStringLiteral("7."));
    QImage img = settle(led);
    // Top segment (6,4) (8,6) (12,6) (14,4); the upper right segment starts at (16,5).
    for (int y = 3; y <= 6; ++y) {
        for (int x = 3; x <= 14; ++x) {
            const bool lit = (y == 4 && x >= 6 && x <= 14) || (y == 5 && x >= 7 && x <= 13) ||
                             (y == 6 && x >= 8 && x <= 12);
            EXPECT_EQ(img.pixelColor(x, y), lit ? kLight : kBG) << x << "," << y;
        }
    }
    // Decimal point: the square (18,30)-(21,33), corners included.
    for (int y = 29; y <= 34; ++y) {
        for (int x = 17; x <= 22; ++x) {
            const bool lit = x >= 18 && x <= 21 && y >= 30 && y <= 33;
            EXPECT_EQ(img.pixelColor(x, y), lit ? kLight : kBG) << x << "," << y;
        }
    }
}

TEST(LedFont, UnlitSegmentsOnlyWhenTheirColourDiffersFromTheBackground) {
    struct Case {
        QString text;
        bool darkIsBackground;
        std::set<QRgb> expected;
    };
    const Case cases[] = {
        {"12.5", true, {kBG.rgb(), kLight.rgb()}},
        {"12.5", false, {kBG.rgb(), kLight.rgb(), kDark.rgb()}},
        {"  ", false, {kBG.rgb(), kDark.rgb()}},
        {"  ", true, {kBG.rgb()}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + (c.darkIsBackground ? " dark=bg" : ""));
        TLEDFontNum led;
        if (c.darkIsBackground) led.setDarkColor(kBG);
        led.setText(c.text);
        EXPECT_EQ(colours(settle(led)), c.expected);
    }
}

TEST(LedFont, LitSegmentsOnlyWhenTheirColourDiffersFromTheBackground) {
    TLEDFontNum led;
    led.setLightColor(kBG);
    led.setText(QStringLiteral("88"));
    EXPECT_EQ(colours(settle(led)), (std::set<QRgb>{kBG.rgb(), kDark.rgb()}));
}

TEST(LedFont, PaintingSizesTheControlToItsText) {
    struct Case {
        QSize before;
        QString text;
        bool autoSize;
        QSize after;
    };
    const Case cases[] = {
        {{47, 38}, "00", true, {47, 38}},  // one wider than the text: kept
        {{47, 50}, "00", true, {47, 50}},  // only the width is compared
        {{60, 50}, "00", true, {46, 37}},
        {{46, 20}, "00", true, {46, 37}},
        {{10, 10}, "12.5", true, {67, 37}},
        {{68, 10}, "12.5", true, {68, 10}},
        {{60, 50}, "00", false, {60, 50}},
        {{60, 50}, "", true, {4, 37}},  // no cells: margins less one gap
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString() + " " + std::to_string(c.before.width()));
        TLEDFontNum led;
        led.setAutoSize(c.autoSize);
        led.setText(c.text);
        led.resize(c.before);
        led.grab();
        EXPECT_EQ(led.size(), c.after);
    }
}

TEST(LedFont, SwitchingAutoSizeOnResizesWhenTheWidthDiffers) {
    struct Case {
        QSize before, after;
    };
    for (const Case c : {Case{{60, 50}, {46, 37}}, Case{{46, 50}, {46, 50}}}) {
        TLEDFontNum led;
        led.setAutoSize(false);
        led.resize(c.before);
        led.setAutoSize(true);
        EXPECT_EQ(led.size(), c.after);
    }
}

TEST(LedFont, AbsurdSizesStayWithinRange) {
    TLEDFontNum led;
    led.setAutoSize(false);
    led.setWordWidth(1 << 30);
    led.setSpace(1 << 30);
    led.setOffSetY(std::numeric_limits<int>::min());
    led.setText(QString(1000, QLatin1Char('8')));
    EXPECT_EQ(led.autoSizeValue(), QSize(QWIDGETSIZE_MAX, 0));
    // Cells too large to rasterise are left out rather than overflowing their coordinates.
    EXPECT_EQ(colours(led.grab().toImage().convertToFormat(QImage::Format_RGB32)),
              (std::set<QRgb>{kBG.rgb()}));
}

namespace {

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace

TEST(LedFont, NewTextIsDrawnAtOnceAndEqualTextDoesNothing) {
    TLEDFontNum led;
    PaintCounter counter;
    led.setText(QStringLiteral("01"));  // hidden: nothing is drawn
    led.installEventFilter(&counter);
    led.setText(QStringLiteral("02"));
    EXPECT_EQ(counter.paints, 0);

    led.show();
    QApplication::processEvents();
    counter.paints = 0;
    led.setText(QStringLiteral("02"));
    EXPECT_EQ(counter.paints, 0);
    led.setText(QStringLiteral("03"));
    EXPECT_EQ(counter.paints, 1);  // without returning to the event loop
    led.setBGColor(QColor(0, 128, 0));
    EXPECT_EQ(counter.paints, 1);  // other properties repaint later
    QApplication::processEvents();
    EXPECT_EQ(counter.paints, 2);
}

TEST(LedFont, MouseClicks) {
    enum Step { Press, Release, ReleaseOutside, DoubleClick, RightPress, RightRelease };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        int clicks, doubleClicks;
    };
    const Case cases[] = {
        {"click", {Press, Release}, 1, 0},
        {"released outside", {Press, ReleaseOutside}, 0, 0},
        {"release without press", {Release}, 0, 0},
        {"double click", {Press, Release, DoubleClick, Release}, 1, 1},
        {"right button", {RightPress, RightRelease}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TLEDFontNum led;
        int clicks = 0, doubleClicks = 0;
        QObject::connect(&led, &TLEDFontNum::clicked, [&] { ++clicks; });
        QObject::connect(&led, &TLEDFontNum::doubleClicked, [&] { ++doubleClicks; });
        for (const Step s : c.steps) {
            const QPointF at = s == ReleaseOutside ? QPointF(100, 100) : QPointF(10, 10);
            const Qt::MouseButton button =
                (s == RightPress || s == RightRelease) ? Qt::RightButton : Qt::LeftButton;
            const QEvent::Type type = (s == Press || s == RightPress) ? QEvent::MouseButtonPress
                                      : s == DoubleClick              ? QEvent::MouseButtonDblClick
                                                                      : QEvent::MouseButtonRelease;
            const Qt::MouseButtons held =
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
            QMouseEvent e(type, at, led.mapToGlobal(at), button, held, Qt::NoModifier);
            QApplication::sendEvent(&led, &e);
        }
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(doubleClicks, c.doubleClicks);
    }
}

TEST(LedFont, ShownControlFitsItsTextAfterPainting) {
    TLEDFontNum led;
    led.resize(60, 50);
    led.show();
    QApplication::processEvents();
    led.setText(QStringLiteral("123"));
    EXPECT_EQ(led.size(), QSize(67, 37));
    QApplication::processEvents();
    EXPECT_EQ(led.size(), QSize(67, 37));
}
