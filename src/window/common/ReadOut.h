// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// A one-line read-out that changes many times a second, such as the play
// position: it costs as little as a redraw of the window can.
#pragma once

#include <QHash>
#include <QImage>
#include <QString>
#include <QWidget>

namespace melvo {

// Shows its text left-aligned and centred in height, as a label does. Each
// character is drawn once into an image, for the widget's font and colour;
// a change of text only puts those images side by side. The new text is
// drawn at once instead of at the next pass of the event loop, so a change
// wakes nothing more than the call that made it.
class ReadOut : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)

  public:
    explicit ReadOut(QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Glyph {
        QImage image;
        qreal advance;
    };
    const Glyph& glyphOf(QChar character);
    qreal kerning(QChar first, QChar second);

    QString text_;
    QHash<QChar, Glyph> glyphs_;
    QHash<quint32, qreal> kernings_;  // by the two characters' codes
};

}  // namespace melvo
