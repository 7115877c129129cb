// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/common/Accessibility.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>

#include "window/common/ReadOut.h"

namespace melvo {

namespace {

// Marks a label whose text is a changing read-out (a time, a state, a path)
// rather than a fixed caption.
const char kReadOutProperty[] = "melvoReadOut";

// A read-out (a ReadOut, or a label marked as one) is announced by what it
// shows, after its tool tip: "演奏経過時間 12.3". The name follows the text,
// so the read-out still tells screen readers when the text changes.
class AccessibleReadOut : public QAccessibleWidget {
  public:
    explicit AccessibleReadOut(QWidget* readOut)
        : QAccessibleWidget(readOut, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        const QString shown = widget()->property("text").toString();
        switch (t) {
            case QAccessible::Name:
                return shown.isEmpty() ? widget()->toolTip() : widget()->toolTip() + u' ' + shown;
            case QAccessible::Value:
                return shown;
            default:
                return QAccessibleWidget::text(t);
        }
    }
};

QAccessibleInterface* readOutFactory(const QString& className, QObject* object) {
    if (auto* readOut = qobject_cast<ReadOut*>(object);
        readOut && className == QLatin1String(ReadOut::staticMetaObject.className()))
        return new AccessibleReadOut(readOut);
    auto* label = qobject_cast<QLabel*>(object);
    if (className == QLatin1String("QLabel") && label && label->property(kReadOutProperty).toBool())
        return new AccessibleReadOut(label);
    return nullptr;
}

QString withoutAccessKey(const QString& caption) {
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        // "&x" marks x as the access key; "&&" stands for one "&".
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
        plain += caption[i];
    }
    return plain.trimmed();
}

QString captionOf(const QWidget* widget) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return withoutAccessKey(button->text());
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
        return withoutAccessKey(frame->title());
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text().trimmed();
    return {};
}

// The caption of the label standing just above widget and overlapping it
// sideways, as a form puts a caption over a slider or a list.
QString captionAbove(const QWidget* widget) {
    const QRect place = widget->geometry();
    const QLabel* nearest = nullptr;
    for (const QObject* sibling : widget->parentWidget()->children()) {
        const auto* label = qobject_cast<const QLabel*>(sibling);
        if (!label || label->text().trimmed().isEmpty()) continue;
        const QRect other = label->geometry();
        const bool above = other.bottom() <= place.top() + place.height() / 2;
        const bool overlaps = other.left() <= place.right() && other.right() >= place.left();
        if (above && overlaps && (!nearest || other.bottom() > nearest->geometry().bottom()))
            nearest = label;
    }
    return nearest ? nearest->text().trimmed() : QString();
}

// Plain containers, menus and the parts a scroll area builds for itself (its
// viewport, scroll bars and header) are no controls of their own.
bool isControl(const QWidget* widget, const QWidget* window) {
    if (widget->metaObject() == &QWidget::staticMetaObject) return false;
    if (qobject_cast<const QMenu*>(widget) || qobject_cast<const QMenuBar*>(widget)) return false;
    for (const QWidget* up = widget->parentWidget(); up && up != window->parentWidget();
         up = up->parentWidget()) {
        const auto* area = qobject_cast<const QAbstractScrollArea*>(up);
        if (!area) continue;
        const auto* scrollArea = qobject_cast<const QScrollArea*>(area);
        const QWidget* contents = scrollArea ? scrollArea->widget() : nullptr;
        if (!contents || !(contents == widget || contents->isAncestorOf(widget))) return false;
    }
    return true;
}

}  // namespace

void nameForScreenReaders(QWidget* window) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(readOutFactory);
        return true;
    }();
    (void)factoryInstalled;

    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->accessibleName().isEmpty() || !isControl(widget, window) ||
            qobject_cast<ReadOut*>(widget))
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget);
            label && label->text().trimmed().isEmpty() && !label->toolTip().isEmpty()) {
            label->setProperty(kReadOutProperty, true);
            continue;
        }
        QString name = captionOf(widget);
        if (name.isEmpty()) name = widget->toolTip();
        if (name.isEmpty()) name = captionAbove(widget);
        if (!name.isEmpty()) widget->setAccessibleName(name);
    }
}

}  // namespace melvo
