// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/common/ReadOut.h"

#include <QAccessible>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>
#include <algorithm>

namespace melvo {

namespace {

constexpr int kGlyphMargin = 2;

}  // namespace

ReadOut::ReadOut(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted: nothing beneath needs drawing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ReadOut::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    // Screen readers hear the new text, as from a label.
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    if (isVisible()) repaint();
}

void ReadOut::paintEvent(QPaintEvent* event) {
    // Images made for another screen would be drawn blurred.
    if (!glyphs_.isEmpty() && glyphs_.cbegin()->image.devicePixelRatio() != devicePixelRatioF()) {
        glyphs_.clear();
    }
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    // Characters outside the basic plane take two units: drawn as text.
    if (std::any_of(text_.begin(), text_.end(), [](QChar c) { return c.isSurrogate(); })) {
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, text_);
        return;
    }
    qreal x = 0;
    QChar before;
    for (QChar character : text_) {
        if (!before.isNull()) x += kerning(before, character);
        const Glyph& glyph = glyphOf(character);
        painter.drawImage(QPoint(qRound(x) - kGlyphMargin, 0), glyph.image);
        x += glyph.advance;
        before = character;
    }
}

// The images hold the font, the colours and the height they were made for.
void ReadOut::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange ||
        event->type() == QEvent::StyleChange) {
        glyphs_.clear();
        kernings_.clear();
    }
    QWidget::changeEvent(event);
}

void ReadOut::resizeEvent(QResizeEvent* event) {
    glyphs_.clear();
    QWidget::resizeEvent(event);
}

// A character's image is transparent around it, and wider than its advance
// by a margin on each side, for the parts of a glyph that reach over into
// its neighbours.
const ReadOut::Glyph& ReadOut::glyphOf(QChar character) {
    auto found = glyphs_.constFind(character);
    if (found != glyphs_.constEnd()) return *found;
    const qreal advance = QFontMetricsF(font()).horizontalAdvance(character);
    const QSize size(qCeil(advance) + 2 * kGlyphMargin, height());
    const qreal ratio = devicePixelRatioF();
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font());
    painter.setPen(palette().windowText().color());
    painter.drawText(QRect(QPoint(kGlyphMargin, 0), size), Qt::AlignLeft | Qt::AlignVCenter,
                     character);
    painter.end();
    return *glyphs_.insert(character, Glyph{image, advance});
}

// How much closer (or farther) the font sets two characters than their
// advances: "AY" sits tighter than "A" and "Y" side by side.
qreal ReadOut::kerning(QChar first, QChar second) {
    const quint32 pair = quint32(first.unicode()) << 16 | second.unicode();
    auto found = kernings_.constFind(pair);
    if (found != kernings_.constEnd()) return *found;
    const QFontMetricsF metrics(font());
    const qreal apart = metrics.horizontalAdvance(first) + metrics.horizontalAdvance(second);
    return *kernings_.insert(pair, metrics.horizontalAdvance(QString(first) + second) - apart);
}

}  // namespace melvo
