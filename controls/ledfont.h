#pragma once
// Seven-segment LED digits: the hours, minutes and seconds of the main window's clock.

#include <QColor>
#include <QPolygon>
#include <QString>
#include <QWidget>

#include <array>

class QImage;

class TLEDFontNum : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int OffSetX READ offSetX WRITE setOffSetX)
    Q_PROPERTY(int OffSetY READ offSetY WRITE setOffSetY)
    Q_PROPERTY(int WordWidth READ wordWidth WRITE setWordWidth)
    Q_PROPERTY(int WordHeight READ wordHeight WRITE setWordHeight)
    Q_PROPERTY(int Thick READ thick WRITE setThick)
    Q_PROPERTY(int Space READ space WRITE setSpace)
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(QColor BGColor READ bgColor WRITE setBGColor)
    Q_PROPERTY(QColor LightColor READ lightColor WRITE setLightColor)
    Q_PROPERTY(QColor DarkColor READ darkColor WRITE setDarkColor)
    Q_PROPERTY(bool AutoSize READ autoSize WRITE setAutoSize)

public:
    // Segment indices of cellPolygons(): 0 top, 1 upper right, 2 lower right, 3 bottom,
    // 4 lower left, 5 upper left, 6 middle, 7 decimal point.
    static constexpr int kSegments = 7;
    static constexpr int kDecimalPoint = 7;

    explicit TLEDFontNum(QWidget* parent = nullptr);

    // Outline points of the seven segments and the decimal point of the cell whose top left is
    // (x, y), for cell width w, odd cell height h and segment thickness t.
    static std::array<QPolygon, 8> cellPolygons(int x, int y, int w, int h, int t);
    // Lit segments of a character ("-" lights the middle one); empty for anything else.
    static QString segmentPattern(QChar c);

    int offSetX() const { return offSetX_; }
    int offSetY() const { return offSetY_; }
    int wordWidth() const { return wordWidth_; }
    int wordHeight() const { return wordHeight_; }
    int thick() const { return thick_; }
    int space() const { return space_; }
    QString text() const { return text_; }
    QColor bgColor() const { return bgColor_; }
    QColor lightColor() const { return lightColor_; }
    QColor darkColor() const { return darkColor_; }
    bool autoSize() const { return autoSize_; }

    void setOffSetX(int v);
    void setOffSetY(int v);
    void setWordWidth(int v);
    void setWordHeight(int v);
    void setThick(int v);
    void setSpace(int v);
    // Draws at once (the clock sets it five times a second); an equal text does nothing.
    void setText(const QString& v);
    void setBGColor(const QColor& v);
    void setLightColor(const QColor& v);
    void setDarkColor(const QColor& v);
    void setAutoSize(bool v);

    // The size that fits the text: the cells of the text without its first "." plus margins.
    QSize autoSizeValue() const;
    QSize sizeHint() const override;

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void drawPicture(QImage& picture) const;
    void applyAutoSize();

    int offSetX_ = 4;
    int offSetY_ = 4;
    int wordWidth_ = 17;
    int wordHeight_ = 29;
    int thick_ = 3;
    int space_ = 4;
    QString text_ = QStringLiteral("00");
    QColor bgColor_{74, 66, 74};
    QColor lightColor_{247, 255, 0};
    QColor darkColor_{99, 99, 99};
    bool autoSize_ = true;
    // A left press inside that has not been released yet: its release is a click.
    bool pressed_ = false;
};
