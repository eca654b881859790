// Placeholder images of pictures, painted at run time: no image files.

#include <QFont>
#include <QIcon>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "ui/qt/QtView.h"
#include "ui/qt/QtWindows.h"

namespace ui {

namespace {

void paintBadge(QPainter& p, const QRectF& r, qreal radius) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, QColor(0x0e, 0x5a, 0x7a));
    g.setColorAt(1.0, QColor(0x1b, 0x94, 0xb8));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
}

// A label printer with a label coming out of it.
void paintPrinter(QPainter& p, const QRectF& body) {
    const QColor ink(0x0b, 0x3d, 0x52);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(body, body.height() * 0.18, body.height() * 0.18);
    // Paper slot.
    const QRectF slot(body.left() + body.width() * 0.15, body.bottom() - body.height() * 0.22, body.width() * 0.7,
                      body.height() * 0.08);
    p.setBrush(ink);
    p.drawRect(slot);
    // Status light.
    p.setBrush(QColor(0x4c, 0xd1, 0x7a));
    const qreal d = body.height() * 0.14;
    p.drawEllipse(QRectF(body.right() - d * 2.0, body.top() + d * 0.9, d, d));
    // The label with a small bar code.
    const QRectF label(slot.left() + slot.width() * 0.1, slot.center().y(), slot.width() * 0.8, body.height() * 0.62);
    p.setBrush(QColor(0xfd, 0xf8, 0xe8));
    p.drawRect(label);
    p.setBrush(ink);
    const qreal top = label.top() + label.height() * 0.3, h = label.height() * 0.5;
    qreal x = label.left() + label.width() * 0.12;
    const qreal unit = label.width() / 40.0;
    const int widths[] = {2, 1, 1, 3, 1, 2, 2, 1, 3, 1, 1, 2, 1, 3, 2};
    bool bar = true;
    for (int wdt : widths) {
        if (x + wdt * unit > label.right() - label.width() * 0.1) break;
        if (bar) p.drawRect(QRectF(x, top, wdt * unit, h));
        x += wdt * unit;
        bar = !bar;
    }
}

}  // namespace

QPixmap pictureImage(const std::string& name) {
    if (name == "logo") {
        QPixmap pm(140, 150);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        paintBadge(p, QRectF(0, 0, 140, 150), 16);
        paintPrinter(p, QRectF(28, 26, 84, 44));
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(19);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 106, 140, 30), Qt::AlignCenter, QStringLiteral("Tessivarn"));
        return pm;
    }
    // "icon" and any other name: a small badge.
    QPixmap pm(56, 56);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paintBadge(p, QRectF(0, 0, 56, 56), 10);
    paintPrinter(p, QRectF(9, 10, 38, 22));
    return pm;
}

// The badge with the printer, sharp at each size a desktop asks for.
QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal s = size / 56.0;
        paintBadge(p, QRectF(0, 0, size, size), 10 * s);
        paintPrinter(p, QRectF(9 * s, 10 * s, 38 * s, 22 * s));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

}  // namespace ui
