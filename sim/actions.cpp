#include "sim/actions.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QWidget>

namespace sim {

namespace {
QObject* findIn(QWidget* window, const QString& name) {
    if (window->objectName() == name) return window;
    if (auto* w = window->findChild<QWidget*>(name)) return w;
    if (auto* a = window->findChild<QAction*>(name)) return a;
    return nullptr;
}

bool truthy(const QString& v) {
    const QString t = v.trimmed().toLower();
    return t == QLatin1String("1") || t == QLatin1String("true") || t == QLatin1String("yes") ||
           t == QLatin1String("on") || t == QLatin1String("-1");
}
}  // namespace

QObject* findTarget(const QString& name) {
    const int dot = name.indexOf(QLatin1Char('.'));
    const auto windows = QApplication::topLevelWidgets();
    if (dot > 0) {
        const QString windowName = name.left(dot);
        for (QWidget* w : windows)
            if (w->objectName() == windowName) return findIn(w, name.mid(dot + 1));
        return nullptr;
    }
    // The main window first, then the other windows, then anything else on screen.
    for (QWidget* w : windows)
        if (w->objectName() == QLatin1String("f_speaker"))
            if (QObject* o = findIn(w, name)) return o;
    for (QWidget* w : windows)
        if (QObject* o = findIn(w, name)) return o;
    return nullptr;
}

bool perform(QObject* target) {
    if (auto* b = qobject_cast<QAbstractButton*>(target)) {
        b->click();
        return true;
    }
    if (auto* a = qobject_cast<QAction*>(target)) {
        a->trigger();
        return true;
    }
    if (auto* w = qobject_cast<QWidget*>(target); w && w->isWindow()) {
        w->show();
        return true;
    }
    return false;
}

bool assign(QObject* target, const QString& value) {
    bool isInt = false;
    const int number = value.trimmed().toInt(&isInt);
    if (auto* e = qobject_cast<QLineEdit*>(target)) {
        e->setText(value);
    } else if (auto* t = qobject_cast<QTextEdit*>(target)) {
        t->setPlainText(value);
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(target)) {
        p->setPlainText(value);
    } else if (auto* te = qobject_cast<QDateTimeEdit*>(target)) {
        QTime time = QTime::fromString(value.trimmed(), QStringLiteral("HH:mm:ss"));
        if (!time.isValid()) time = QTime::fromString(value.trimmed(), QStringLiteral("HH:mm"));
        if (!time.isValid()) return false;
        te->setTime(time);
    } else if (auto* s = qobject_cast<QSpinBox*>(target)) {
        if (!isInt) return false;
        s->setValue(number);
    } else if (auto* sl = qobject_cast<QAbstractSlider*>(target)) {
        if (!isInt) return false;
        sl->setValue(number);
    } else if (auto* c = qobject_cast<QComboBox*>(target)) {
        const int byText = c->findText(value);
        if (byText >= 0) c->setCurrentIndex(byText);
        else if (isInt && number < c->count()) c->setCurrentIndex(number);
        else if (c->isEditable()) c->setEditText(value);
        else return false;
    } else if (auto* tabs = qobject_cast<QTabWidget*>(target)) {
        if (!isInt || number < 0 || number >= tabs->count()) return false;
        tabs->setCurrentIndex(number);
    } else if (auto* b = qobject_cast<QAbstractButton*>(target); b && b->isCheckable()) {
        b->setChecked(truthy(value));
    } else if (auto* a = qobject_cast<QAction*>(target); a && a->isCheckable()) {
        a->setChecked(truthy(value));
    } else {
        return false;
    }
    return true;
}

}  // namespace sim
