#include "controls/ledfont.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

// Cells whose coordinates would leave this range cannot be rasterised exactly (and their int
// arithmetic could overflow); they lie far outside any picture, so they are skipped.
constexpr qint64 kCoordLimit = qint64{1} << 24;

// Auto size parts are computed wide and clamped, so an absurd text or property cannot overflow.
int clampSize(qint64 v) {
    return static_cast<int>(std::clamp<qint64>(v, 0, QWIDGETSIZE_MAX));
}

// The text without its first "." and the 1-based position of that "." (0 if none).
struct Digits {
    QString text;
    qsizetype dot = 0;
};

Digits splitDot(const QString& text) {
    Digits d{text, 0};
    const qsizetype at = text.indexOf(QLatin1Char('.'));
    if (at >= 0) {
        d.text.remove(at, 1);
        d.dot = at + 1;
    }
    return d;
}

void fill(QPainter& painter, const QColor& color, const QPolygon& polygon) {
    painter.setPen(QPen(color, 1));
    painter.setBrush(color);
    painter.drawPolygon(polygon);
}

}  // namespace

TLEDFontNum::TLEDFontNum(QWidget* parent) : QWidget(parent) {
    resize(47, 38);
}

std::array<QPolygon, 8> TLEDFontNum::cellPolygons(int x, int y, int w, int h, int t) {
    const int m = (h - 1) / 2;
    const int n = (h + 1) / 2;
    std::array<QPolygon, 8> s;
    s[0] << QPoint(x + 2, y) << QPoint(x + t + 1, y + t - 1) << QPoint(x + w - 2 * t - 3, y + t - 1)
         << QPoint(x + w - t - 4, y);
    s[1] << QPoint(x + w - t - 2, y + 1) << QPoint(x + w - 2 * t - 1, y + t)
         << QPoint(x + w - 2 * t - 1, y + m - t) << QPoint(x + w - t - 2, y + m - 1);
    s[2] << QPoint(x + w - t - 2, y + m + 1) << QPoint(x + w - 2 * t - 1, y + m + t)
         << QPoint(x + w - 2 * t - 1, y + h - t - 1) << QPoint(x + w - t - 2, y + h - 2);
    s[3] << QPoint(x + w - t - 4, y + h - 1) << QPoint(x + w - 2 * t - 3, y + h - t)
         << QPoint(x + t + 1, y + h - t) << QPoint(x + 2, y + h - 1);
    s[4] << QPoint(x, y + h - 2) << QPoint(x + t - 1, y + h - t - 1) << QPoint(x + t - 1, y + m + t)
         << QPoint(x, y + m + 1);
    s[5] << QPoint(x, y + m - 1) << QPoint(x + t - 1, y + m - t) << QPoint(x + t - 1, y + t)
         << QPoint(x, y + 1);
    QPoint mid[6] = {{x + t, y + n - t + 1},     {x + 2, y + n - 1},
                     {x + t, y + n + t - 3},     {x + w - 2 * t - 2, y + n + t - 3},
                     {x + w - t - 4, y + n - 1}, {x + w - 2 * t - 2, y + n - t + 1}};
    if (t == 1) {
        // A one-pixel middle bar: pull the outer corners onto the centre line.
        mid[0] += QPoint(1, -1);
        mid[2] += QPoint(1, 1);
        mid[3] += QPoint(-1, 1);
        mid[5] += QPoint(-1, -1);
    }
    for (const QPoint& p : mid) s[6] << p;
    s[kDecimalPoint] << QPoint(x + w - t, y + h - t) << QPoint(x + w - t, y + h)
                     << QPoint(x + w, y + h) << QPoint(x + w, y + h - t);
    return s;
}

QString TLEDFontNum::segmentPattern(QChar c) {
    static constexpr const char* kDigits[10] = {"012345", "12",     "01643", "01623",   "5612",
                                                "05623",  "054326", "012",   "0123456", "650123"};
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
        return QString::fromLatin1(kDigits[c.unicode() - '0']);
    }
    if (c == QLatin1Char('-')) return QStringLiteral("6");
    return {};
}

void TLEDFontNum::setOffSetX(int v) {
    if (v == offSetX_) return;
    offSetX_ = v;
    updateGeometry();
    update();
}

void TLEDFontNum::setOffSetY(int v) {
    if (v == offSetY_) return;
    offSetY_ = v;
    updateGeometry();
    update();
}

void TLEDFontNum::setWordWidth(int v) {
    if (v == wordWidth_ || v <= 2 * thick_) return;
    wordWidth_ = v;
    updateGeometry();
    update();
}

void TLEDFontNum::setWordHeight(int v) {
    if (v == wordHeight_ || v <= 4 * thick_ - 1) return;
    // The middle bar needs a centre row: the height is kept odd.
    wordHeight_ = (v % 2 == 0) ? v + 1 : v;
    updateGeometry();
    update();
}

void TLEDFontNum::setThick(int v) {
    if (v == thick_) return;
    // Wide arithmetic: the checks must not overflow for extreme values.
    const qint64 t = v;
    if (!(2 * t < wordWidth_ && 4 * t - 1 < wordHeight_)) return;
    if ((wordHeight_ - 4 * t + 1) % 2 != 0) return;
    thick_ = v;
    update();
}

void TLEDFontNum::setSpace(int v) {
    if (v == space_) return;
    space_ = v;
    updateGeometry();
    update();
}

void TLEDFontNum::setText(const QString& v) {
    if (v == text_) return;
    const QSize before = autoSizeValue();
    text_ = v;
    if (autoSizeValue() != before) updateGeometry();
    // Drawn now rather than on the next paint, so the clock's seconds never lag.
    repaint();
}

void TLEDFontNum::setBGColor(const QColor& v) {
    if (v == bgColor_) return;
    bgColor_ = v;
    update();
}

void TLEDFontNum::setLightColor(const QColor& v) {
    if (v == lightColor_) return;
    lightColor_ = v;
    update();
}

void TLEDFontNum::setDarkColor(const QColor& v) {
    if (v == darkColor_) return;
    darkColor_ = v;
    update();
}

void TLEDFontNum::setAutoSize(bool v) {
    if (v == autoSize_) return;
    autoSize_ = v;
    if (autoSize_) {
        const QSize a = autoSizeValue();
        if (a.width() != width()) resize(a);
    }
}

QSize TLEDFontNum::autoSizeValue() const {
    const qint64 n = splitDot(text_).text.size();
    const qint64 w = n * wordWidth_ + (n - 1) * space_ + 2 * qint64{offSetX_};
    const qint64 h = 2 * qint64{offSetY_} + wordHeight_;
    return {clampSize(w), clampSize(h)};
}

QSize TLEDFontNum::sizeHint() const {
    return autoSizeValue();
}

void TLEDFontNum::drawPicture(QImage& picture) const {
    picture.fill(bgColor_);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);

    const Digits digits = splitDot(text_);
    const qint64 w = wordWidth_;
    const qint64 h = wordHeight_;
    const qint64 t = thick_;
    // How far a cell's points reach from its origin.
    const qint64 reachX = std::abs(w) + 2 * std::abs(t) + 8;
    const qint64 reachY = std::abs(h) + 2 * std::abs(t) + 8;
    const qint64 y = offSetY_;
    if (y + reachY < 0 || y - reachY >= picture.height() || std::abs(y) + reachY > kCoordLimit) {
        return;
    }
    const bool drawDark = darkColor_ != bgColor_;
    const bool drawLight = lightColor_ != bgColor_;
    const QString all = segmentPattern(QLatin1Char('8'));

    qint64 x = offSetX_;
    for (qsizetype i = 1; i <= digits.text.size(); ++i) {
        if (i > 1) x += w + space_;
        // Cells only move one way: once past the picture, the rest lie further out.
        if (x - reachX >= picture.width() && w + space_ >= 0) break;
        if (x + reachX < 0 && w + space_ <= 0) break;
        if (x + reachX < 0 || x - reachX >= picture.width() || std::abs(x) + reachX > kCoordLimit) {
            continue;
        }
        const auto cell =
            cellPolygons(static_cast<int>(x), static_cast<int>(y), wordWidth_, wordHeight_, thick_);
        if (drawDark) {
            for (const QChar s : all) fill(painter, darkColor_, cell[s.unicode() - '0']);
            fill(painter, darkColor_, cell[kDecimalPoint]);
        }
        const QChar c = digits.text.at(i - 1);
        if (c == QLatin1Char(' ') || !drawLight) continue;
        for (const QChar s : segmentPattern(c)) fill(painter, lightColor_, cell[s.unicode() - '0']);
        // The removed "." directly followed this digit.
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9') && digits.dot == i + 1) {
            fill(painter, lightColor_, cell[kDecimalPoint]);
        }
    }
}

void TLEDFontNum::applyAutoSize() {
    if (!autoSize_) return;
    const QSize a = autoSizeValue();
    // A width one pixel wider than the text is kept: a new control (47 wide) shows "00" (46).
    if (width() == a.width() + 1) return;
    if (size() != a) resize(a);
}

void TLEDFontNum::paintEvent(QPaintEvent*) {
    // The whole picture is built off-screen and copied in one go, so the ticking clock never
    // flickers.
    QImage picture(size(), QImage::Format_RGB32);
    if (!picture.isNull()) {
        drawPicture(picture);
        QPainter(this).drawImage(0, 0, picture);
    }
    applyAutoSize();
}

void TLEDFontNum::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
    event->accept();
}

void TLEDFontNum::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (wasPressed && rect().contains(event->position().toPoint())) emit clicked();
    event->accept();
}

void TLEDFontNum::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click is not a click of its own: its release emits nothing.
    if (event->button() == Qt::LeftButton) emit doubleClicked();
    event->accept();
}
