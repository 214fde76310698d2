#include "speaker/bellschedule/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <cmath>

namespace bellschedule {

namespace {

constexpr int kSize = 24;

QPixmap canvas() {
    QPixmap p(kSize, kSize);
    p.fill(Qt::transparent);
    return p;
}

void drawSun(QPainter& g) {
    g.setPen(QPen(QColor(230, 140, 0), 2));
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        g.drawLine(QPointF(12 + 7 * std::cos(a), 12 + 7 * std::sin(a)),
                   QPointF(12 + 10.5 * std::cos(a), 12 + 10.5 * std::sin(a)));
    }
    g.setBrush(QColor(255, 200, 0));
    g.drawEllipse(QPointF(12, 12), 5, 5);
}

void drawRain(QPainter& g) {
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(120, 130, 150));
    g.drawEllipse(QRectF(3, 5, 10, 8));
    g.drawEllipse(QRectF(8, 2, 11, 10));
    g.drawEllipse(QRectF(12, 6, 9, 7));
    g.drawRect(QRectF(6, 9, 13, 4));
    g.setPen(QPen(QColor(30, 100, 220), 2));
    for (int x : {7, 12, 17}) g.drawLine(QPointF(x, 15), QPointF(x - 2, 21));
}

void drawRunning(QPainter& g) {
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(0, 160, 60));
    QPainterPath triangle;
    triangle.moveTo(7, 4);
    triangle.lineTo(20, 12);
    triangle.lineTo(7, 20);
    triangle.closeSubpath();
    g.drawPath(triangle);
}

void drawPaused(QPainter& g) {
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(200, 40, 40));
    g.drawRect(QRectF(6, 4, 4, 16));
    g.drawRect(QRectF(14, 4, 4, 16));
}

void drawLock(QPainter& g, bool locked) {
    g.setPen(QPen(QColor(90, 90, 90), 2.5));
    g.setBrush(Qt::NoBrush);
    // An open shackle swings up and to the side.
    const QRectF shackle = locked ? QRectF(7, 2, 10, 12) : QRectF(11, 0, 10, 12);
    g.drawArc(shackle, 0, 180 * 16);
    g.drawLine(QPointF(shackle.right(), shackle.center().y()),
               QPointF(shackle.right(), locked ? 11 : 8));
    if (locked) g.drawLine(QPointF(shackle.left(), shackle.center().y()), QPointF(7, 11));
    g.setPen(Qt::NoPen);
    g.setBrush(locked ? QColor(200, 150, 0) : QColor(90, 170, 90));
    g.drawRoundedRect(QRectF(4, 11, 16, 12), 2, 2);
    g.setBrush(QColor(60, 60, 60));
    g.drawEllipse(QPointF(12, 16.5), 1.8, 1.8);
}

}  // namespace

QIcon statePicture(StatePicture which) {
    QPixmap p = canvas();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    switch (which) {
        case StatePicture::Sunny:
            drawSun(g);
            break;
        case StatePicture::Rainy:
            drawRain(g);
            break;
        case StatePicture::Running:
            drawRunning(g);
            break;
        case StatePicture::Paused:
            drawPaused(g);
            break;
    }
    g.end();
    return QIcon(p);
}

QIcon lockPicture(bool locked) {
    QPixmap p = canvas();
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    drawLock(g, locked);
    g.end();
    return QIcon(p);
}

}  // namespace bellschedule
