#pragma once
// A group of a side-panel group bar: a caption button that opens and closes the group's body.

#include <QWidget>

class QToolButton;
class QVBoxLayout;

class TGroupBarGroup : public QWidget {
    Q_OBJECT
public:
    explicit TGroupBarGroup(const QString& caption, QWidget* parent = nullptr);

    bool opened() const { return opened_; }
    void setOpened(bool on);
    QVBoxLayout* bodyLayout() const { return bodyLayout_; }
    QWidget* body() const { return body_; }

signals:
    void openedChanged(bool opened);

private:
    QToolButton* header_;
    QWidget* body_;
    QVBoxLayout* bodyLayout_;
    bool opened_ = true;
};
