#include "SplashWindow.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace lumetra::gui {

namespace {
// The splash picture: a panel-unit face on black, black being the colour key.
QPixmap splashPicture()
{
    QPixmap p(520, 260);
    p.fill(Qt::black);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setBrush(QColor(32, 36, 44));
    g.setPen(QPen(QColor(120, 130, 150), 3));
    g.drawRoundedRect(QRectF(10, 10, 500, 240), 24, 24);
    g.setBrush(QColor(28, 60, 40));
    g.setPen(Qt::NoPen);
    g.drawRoundedRect(QRectF(40, 40, 440, 110), 10, 10);
    QFont digits("monospace", 48, QFont::Bold);
    g.setFont(digits);
    g.setPen(QColor(140, 255, 150));
    g.drawText(QRectF(40, 40, 440, 110), Qt::AlignCenter, "LUMETRA");
    QFont small = g.font();
    small.setPointSize(14);
    small.setBold(false);
    g.setFont(small);
    g.setPen(QColor(220, 225, 235));
    g.drawText(QRectF(40, 165, 440, 30), Qt::AlignCenter, "Timer / counter setup and monitoring");
    g.drawText(QRectF(40, 195, 440, 30), Qt::AlignCenter, "Version 1 . 0 . 4");
    return p;
}
} // namespace

SplashWindow::SplashWindow(std::function<void()> onDone) : m_picture(splashPicture()), m_onDone(std::move(onDone))
{
    setObjectName("frmLogin");
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(m_picture.size());
    setMask(m_picture.createMaskFromColor(Qt::black)); // black is the transparent colour key
    QTimer::singleShot(2000, this, [this] { finish(); });
}

void SplashWindow::paintEvent(QPaintEvent*)
{
    QPainter g(this);
    g.drawPixmap(0, 0, m_picture);
}

void SplashWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        finish();
}

void SplashWindow::finish()
{
    if (m_done)
        return;
    m_done = true;
    hide();
    if (m_onDone)
        m_onDone();
}

} // namespace lumetra::gui
