#include "unabout.h"

#include "shell/mainwindowlogic.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {

const QColor kDeep(0x1f, 0x3a, 0x5f);
const QColor kLight(0x3d, 0x6e, 0xa8);
const QColor kPaper(0xf6, 0xf3, 0xea);

// A stack of three folders: the archive.
void drawFolders(QPainter &p, const QRectF &box)
{
    const qreal w = box.width(), h = box.height();
    for (int i = 0; i < 3; ++i) {
        const QRectF sheet(box.left() + w * 0.08 * i, box.top() + h * 0.12 * i, w * 0.78, h * 0.62);
        QPainterPath path;
        path.addRoundedRect(sheet, w * 0.05, w * 0.05);
        p.fillPath(path, i == 2 ? kPaper : kPaper.darker(110 + 8 * (2 - i)));
        p.setPen(QPen(kDeep, qMax(1.0, w * 0.02)));
        p.drawPath(path);
    }
    p.setPen(QPen(kLight, qMax(1.0, w * 0.025)));
    const QRectF front(box.left() + w * 0.16, box.top() + h * 0.24, w * 0.78, h * 0.62);
    for (int line = 1; line <= 3; ++line) {
        const qreal y = front.top() + front.height() * line / 4.5;
        p.drawLine(QPointF(front.left() + w * 0.08, y), QPointF(front.right() - w * 0.1, y));
    }
}

} // namespace

QPixmap TFRMABOUT::picture(const QString &version, qreal dpr)
{
    const QSize size(460, 260);
    QPixmap pm(size * dpr);
    pm.setDevicePixelRatio(dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient bg(0, 0, 0, size.height());
    bg.setColorAt(0, kLight);
    bg.setColorAt(1, kDeep);
    p.fillRect(QRect(QPoint(), size), bg);
    drawFolders(p, QRectF(28, 50, 130, 150));

    p.setPen(Qt::white);
    QFont title = p.font();
    title.setPointSize(30);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRectF(180, 50, 260, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KELMA"));
    QFont text = p.font();
    text.setPointSize(11);
    text.setBold(false);
    p.setFont(text);
    p.drawText(QRectF(180, 110, 260, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Evrak Kayıt, Dağıtım ve Arşiv Yönetimi"));
    p.drawText(QRectF(180, 170, 260, 24), Qt::AlignLeft, QStringLiteral("Versiyon %1").arg(version));
    p.setPen(QColor(255, 255, 255, 170));
    p.drawText(QRectF(0, size.height() - 28, size.width() - 14, 20), Qt::AlignRight,
               QStringLiteral("Kapatmak için tıklayınız"));
    return pm;
}

QPixmap TFRMABOUT::badge(int side, qreal dpr)
{
    QPixmap pm(QSize(side, side) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath round;
    round.addRoundedRect(QRectF(0, 0, side, side), side * 0.18, side * 0.18);
    QLinearGradient bg(0, 0, 0, side);
    bg.setColorAt(0, kLight);
    bg.setColorAt(1, kDeep);
    p.fillPath(round, bg);
    drawFolders(p, QRectF(side * 0.14, side * 0.16, side * 0.72, side * 0.8));
    return pm;
}

TFRMABOUT::TFRMABOUT(Session &session, QWidget *parent)
    : KelmaForm(session, parent)
{
    setWindowTitle(QStringLiteral("KELMA"));
    pictureLabel = new QLabel(this);
    pictureLabel->setObjectName(QStringLiteral("pictureLabel"));
    pictureLabel->setPixmap(picture(mainwindow::kVersionText, devicePixelRatioF()));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pictureLabel);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFRMABOUT::reject()
{
    closeForm(0);
}

void TFRMABOUT::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    closeForm(0);
}

void TFRMABOUT::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        closeForm(0);
        return;
    default:
        KelmaForm::keyPressEvent(event);
    }
}
