#include "PanelBitmaps.h"

#include "monitor/PanelDrawing.h"

#include <QPainter>
#include <QPainterPath>

namespace lumetra::gui {

namespace {

const QColor kGlass(26, 32, 30);
const QColor kLit(120, 255, 150);
const QColor kGhost(40, 58, 48);
const QColor kAmber(255, 190, 80);
const QColor kRed(255, 90, 80);

// Segments a..g of a seven-segment digit.
enum Segment { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };

int segmentsOf(QChar c)
{
    static const QHash<QChar, int> table{
        {'0', A | B | C | D | E | F}, {'1', B | C}, {'2', A | B | D | E | G}, {'3', A | B | C | D | G}, {'4', B | C | F | G},
        {'5', A | C | D | F | G}, {'6', A | C | D | E | F | G}, {'7', A | B | C}, {'8', A | B | C | D | E | F | G},
        {'9', A | B | C | D | F | G}, {'-', G}, {'A', A | B | C | E | F | G}, {'B', C | D | E | F | G}, {'C', A | D | E | F},
        {'D', B | C | D | E | G}, {'E', A | D | E | F | G}, {'F', A | E | F | G}, {'H', B | C | E | F | G}, {'L', D | E | F},
        {'N', C | E | G}, {'O', C | D | E | G}, {'P', A | B | E | F | G}, {'R', E | G}, {'T', D | E | F | G},
        {'U', B | C | D | E | F}, {'Y', B | C | D | F | G}, {'Z', A | B | D | E | G}};
    return table.value(c, 0);
}

QPixmap glass(int w, int h)
{
    QPixmap p(w, h);
    p.fill(kGlass);
    return p;
}

// A slanted seven-segment character in a w x h cell; unlit segments faintly shown.
void drawSevenSegment(QPainter& g, QRectF cell, int lit)
{
    const double w = cell.width();
    const double h = cell.height();
    const double t = w * 0.14; // stroke
    const double x0 = cell.left() + w * 0.18;
    const double x1 = cell.right() - w * 0.14;
    const double y0 = cell.top() + h * 0.08;
    const double ym = cell.top() + h * 0.5;
    const double y1 = cell.bottom() - h * 0.08;
    const double slant = w * 0.06;
    const auto at = [&](double x, double y) { return QPointF(x + slant * (ym - y) / (h * 0.42), y); };
    const auto bar = [&](QPointF p, QPointF q) {
        QPainterPath path;
        const QPointF d = q - p;
        const double len = std::hypot(d.x(), d.y());
        const QPointF n(-d.y() / len * t / 2, d.x() / len * t / 2);
        const QPointF along = d / len * (t / 2);
        path.moveTo(p + along * 0.2);
        path.lineTo(p + along + n);
        path.lineTo(q - along + n);
        path.lineTo(q - along * 0.2);
        path.lineTo(q - along - n);
        path.lineTo(p + along - n);
        path.closeSubpath();
        return path;
    };
    const QPainterPath segments[7] = {
        bar(at(x0, y0), at(x1, y0)), bar(at(x1, y0), at(x1, ym)), bar(at(x1, ym), at(x1, y1)), bar(at(x0, y1), at(x1, y1)),
        bar(at(x0, ym), at(x0, y1)), bar(at(x0, y0), at(x0, ym)), bar(at(x0, ym), at(x1, ym)),
    };
    for (int i = 0; i < 7; ++i)
        g.fillPath(segments[i], (lit & (1 << i)) ? kLit : kGhost);
}

void drawText(QPainter& g, QRectF r, const QString& text, bool lit, double size, const QColor& colour = kLit)
{
    QFont f("DejaVu Sans", 10, QFont::Bold);
    f.setPixelSize(static_cast<int>(size));
    g.setFont(f);
    g.setPen(lit ? colour : kGhost);
    g.drawText(r, Qt::AlignCenter, text);
}

QPixmap character(QChar c)
{
    QPixmap p = glass(100, 180);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    drawSevenSegment(g, QRectF(0, 0, 100, 180), segmentsOf(c));
    return p;
}

// Separator pictures: none, a point at the bottom, a colon.
QPixmap separator(int code)
{
    QPixmap p = glass(18, 175);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(Qt::NoPen);
    g.setBrush(code == 1 ? kLit : kGhost);
    g.drawEllipse(QPointF(9, 160), 6, 6);
    g.setBrush(code == 2 ? kLit : kGhost);
    g.drawEllipse(QPointF(9, 60), 6, 6);
    g.drawEllipse(QPointF(9, 115), 6, 6);
    return p;
}

QPixmap words(int w, int h, const QStringList& labels, int litIndex, bool vertical, double size, const QColor& colour = kLit)
{
    QPixmap p = glass(w, h);
    QPainter g(&p);
    g.setRenderHint(QPainter::TextAntialiasing);
    const int n = static_cast<int>(labels.size());
    for (int i = 0; i < n; ++i) {
        const QRectF r = vertical ? QRectF(0, h * i / double(n), w, h / double(n)) : QRectF(w * i / double(n), 0, w / double(n), h);
        drawText(g, r, labels[i], i == litIndex, size, colour);
    }
    return p;
}

QPixmap lampRow(const QString& bits)
{
    QPixmap p = glass(1044, 140);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < bits.size(); ++i) {
        const bool on = bits[i] == '1';
        g.setPen(QPen(on ? kRed.lighter(130) : kGhost, 4));
        g.setBrush(on ? kRed : kGlass);
        g.drawEllipse(QPointF(75 + i * 149, 70), 40, 40);
    }
    return p;
}

QPixmap button(const QString& caption, int h, bool enabled)
{
    QPixmap p(151, h);
    p.fill(enabled ? QColor(60, 66, 78) : QColor(42, 44, 48));
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(enabled ? QColor(150, 160, 180) : QColor(70, 72, 78), 3));
    g.setBrush(Qt::NoBrush);
    g.drawRoundedRect(QRectF(2, 2, 147, h - 4), 8, 8);
    drawText(g, QRectF(0, 0, 151, h), caption, enabled, 24, QColor(230, 235, 245));
    return p;
}

} // namespace

QPixmap drawPanelBitmap(const QString& name)
{
    if (!bitmapExists(name.toStdString()))
        return {};
    const QString rest = name.mid(6); // after "IMAGE_"
    bool numeric = false;
    const int number = rest.toInt(&numeric);
    if (numeric && number <= 9 && rest.size() == 1)
        return character(QChar('0' + number));
    if (rest == "98")
        return character('-');
    if (rest == "99")
        return character(' ');
    if (rest.size() == 1)
        return character(rest[0]);
    const int code = rest.section('_', -1).toInt();
    if (rest.startsWith("DPCOL_") || rest.startsWith("DP_"))
        return separator(code);
    if (rest.startsWith("AU_"))
        return words(126, 140, {"AU"}, code == 1 ? 0 : -1, false, 60, kAmber);
    if (rest.startsWith("ONOFF_"))
        return words(278, 140, {"OFF", "ON"}, code == 0 ? 0 : code == 1 ? 1 : -1, false, 56, kAmber);
    if (rest.startsWith("GROUP_"))
        return words(64, 412, {"1", "2", "3", "4"}, code - 1, true, 48);
    if (rest.startsWith("COUNTDIR_")) {
        const int lit = code == 1 ? 0 : code == 2 ? 1 : code >= 3 ? 2 : -1;
        return words(80, 412, {QString::fromUtf8("\u25b2"), QString::fromUtf8("\u25bc"), QString::fromUtf8("\u21c5")}, lit, true, 54);
    }
    if (rest.startsWith("KP_"))
        return words(234, 170, {"KP"}, code == 1 ? 0 : -1, false, 80, kRed);
    if (rest.startsWith("RANGEMODE_"))
        return words(480, 170, {"COUNT", "TIME"}, code - 1, false, 64);
    if (rest.startsWith("TIMERMODE_")) {
        // 2 hours, 3 minutes, 4 seconds, 5 hours:minutes, 6 minutes:seconds
        static const int lit[7] = {-1, -1, 0, 1, 2, 3, 4};
        return words(83, 388, {"h", "m", "s", "h:m", "m:s"}, lit[std::clamp(code, 0, 6)], true, 40);
    }
    if (rest.startsWith("T_B_")) // the batch mark lit, or an unlit mark
        return words(100, 180, {"B"}, code == 1 ? 0 : -1, false, 110);
    if (rest.startsWith("WEEK_"))
        return lampRow(rest.mid(5));
    if (rest.startsWith("CHA_") || rest.startsWith("CHB_")) {
        const bool own = rest.endsWith("_W"); // white: a channel of its own; grey: shared
        QPixmap p(120, 60);
        p.fill(own ? QColor(245, 245, 245) : QColor(150, 152, 156));
        QPainter g(&p);
        drawText(g, QRectF(0, 0, 120, 60), rest.startsWith("CHA_") ? "CH A" : "CH B", true, 26, own ? QColor(30, 40, 60) : QColor(70, 72, 76));
        return p;
    }
    const bool enabled = rest.endsWith("_E");
    if (rest.startsWith("START_"))
        return button("START", 55, enabled);
    if (rest.startsWith("STOP_"))
        return button("STOP", 55, enabled);
    if (rest.startsWith("RETURN_"))
        return button("RETURN", 60, enabled);
    return {};
}

const QPixmap& PanelBitmaps::bitmap(const QString& name)
{
    const QString key = name.toUpper();
    auto it = m_cache.find(key);
    if (it == m_cache.end())
        it = m_cache.insert(key, drawPanelBitmap(key));
    return *it;
}

} // namespace lumetra::gui
