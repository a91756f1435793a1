#include "ui/icons.hpp"

#include <QPainter>
#include <QPainterPath>

#include <functional>
#include <initializer_list>

namespace quorvex::icons {

namespace {

// Every picture is drawn on a 16 x 16 grid and scaled, so one drawing serves every size.
using Drawing = std::function<void(QPainter&)>;

QPixmap render(const Drawing& draw, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    draw(painter);
    return pixmap;
}

QIcon iconOf(const Drawing& draw, std::initializer_list<int> sizes = {16, 24, 32, 48})
{
    QIcon icon;
    for (int size : sizes)
        icon.addPixmap(render(draw, size));
    return icon;
}

QPen outline(const QColor& colour)
{
    return QPen(colour.darker(170), 0.8);
}

// The database: a cylinder standing in the given box.
void cylinder(QPainter& p, const QRectF& box, const QColor& colour)
{
    const qreal cap = box.height() / 4;
    QPainterPath body;
    body.moveTo(box.left(), box.top() + cap / 2);
    body.lineTo(box.left(), box.bottom() - cap / 2);
    body.arcTo(QRectF(box.left(), box.bottom() - cap, box.width(), cap), 180, 180);
    body.lineTo(box.right(), box.top() + cap / 2);
    body.arcTo(QRectF(box.left(), box.top(), box.width(), cap), 0, -180);
    p.setPen(outline(colour));
    p.setBrush(colour);
    p.drawPath(body);
    p.setBrush(colour.lighter(140));
    p.drawEllipse(QRectF(box.left(), box.top(), box.width(), cap));
}

void triangle(QPainter& p, std::initializer_list<QPointF> corners, const QColor& colour)
{
    p.setPen(outline(colour));
    p.setBrush(colour);
    p.drawPolygon(QPolygonF(QList<QPointF>(corners)));
}

// A sheet of paper with a folded corner.
void sheet(QPainter& p, const QRectF& box)
{
    const qreal fold = box.width() / 3;
    QPolygonF page;
    page << box.topLeft() << QPointF(box.right() - fold, box.top())
         << QPointF(box.right(), box.top() + fold) << box.bottomRight() << box.bottomLeft();
    p.setPen(QPen(QColor(90, 90, 90), 0.8));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
}

void repairCompact(QPainter& p)
{
    cylinder(p, QRectF(1, 1, 10, 14), QColor(52, 101, 164));
    // Two arrows pressing together: the file is compacted.
    const QColor green(78, 154, 6);
    triangle(p, {{10, 2}, {16, 2}, {13, 6.5}}, green);
    triangle(p, {{10, 14}, {16, 14}, {13, 9.5}}, green);
}

void autoExecute(QPainter& p)
{
    cylinder(p, QRectF(1, 1, 10, 14), QColor(52, 101, 164));
    triangle(p, {{8, 5}, {15.5, 9.5}, {8, 14}}, QColor(245, 121, 0));
}

void backup(QPainter& p)
{
    cylinder(p, QRectF(5, 1, 10, 12), QColor(136, 138, 133));
    cylinder(p, QRectF(1, 4, 10, 12), QColor(52, 101, 164));
}

void unknownJob(QPainter& p)
{
    sheet(p, QRectF(3, 1, 10, 14));
}

void plus(QPainter& p, const QPointF& centre, qreal arm, const QColor& colour)
{
    p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
    p.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
}

void newJob(QPainter& p)
{
    sheet(p, QRectF(2, 1, 10, 14));
    plus(p, QPointF(12, 11), 3, QColor(78, 154, 6));
}

void removeJob(QPainter& p)
{
    sheet(p, QRectF(2, 1, 10, 14));
    p.setPen(QPen(QColor(204, 0, 0), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 8), QPointF(15, 14));
    p.drawLine(QPointF(15, 8), QPointF(9, 14));
}

void openJob(QPainter& p)
{
    const QColor folder(237, 212, 0);
    p.setPen(outline(folder));
    p.setBrush(folder.darker(115));
    p.drawRect(QRectF(1, 3, 6, 2));
    p.drawRect(QRectF(1, 4.5, 14, 10));
    p.setBrush(folder);
    p.drawPolygon(QPolygonF({{3, 7}, {16, 7}, {14, 14.5}, {1, 14.5}}));
}

void copyJob(QPainter& p)
{
    sheet(p, QRectF(1, 1, 9, 11));
    sheet(p, QRectF(6, 4, 9, 11));
}

void executeJob(QPainter& p)
{
    triangle(p, {{3, 1.5}, {15, 8}, {3, 14.5}}, QColor(78, 154, 6));
}

void agent(QPainter& p)
{
    cylinder(p, QRectF(1, 1, 11, 14), QColor(52, 101, 164));
    // A clock face: the jobs run on a schedule.
    p.setPen(QPen(QColor(46, 52, 54), 0.9));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(7.5, 7.5, 8, 8));
    p.drawLine(QPointF(11.5, 11.5), QPointF(11.5, 9));
    p.drawLine(QPointF(11.5, 11.5), QPointF(13.5, 11.5));
}

void wizardSheet(QPainter& p)
{
    sheet(p, QRectF(1, 1, 10, 14));
    p.setPen(QPen(QColor(136, 138, 133), 0.8));
    for (qreal y : {5.0, 7.5, 10.0})
        p.drawLine(QPointF(3, y), QPointF(8, y));
    // The pencil, lying across the sheet's corner.
    p.setPen(outline(QColor(245, 121, 0)));
    p.setBrush(QColor(245, 121, 0));
    p.drawPolygon(QPolygonF({{8, 12}, {14, 4}, {16, 5.5}, {10, 13.5}}));
    p.setBrush(QColor(46, 52, 54));
    p.drawPolygon(QPolygonF({{8, 12}, {10, 13.5}, {7.5, 14.5}}));
}

} // namespace

QIcon jobType(int type)
{
    switch (type) {
    case 1:
        return iconOf(repairCompact);
    case 2:
        return iconOf(autoExecute);
    case 3:
        return iconOf(backup);
    default:
        return iconOf(unknownJob);
    }
}

QPixmap light(int index, int size)
{
    // 0 and 3 are the idle picture (green lit, red dark), 1 and 2 the running one.
    const bool red = index >= 2;
    const bool lit = index == 0 || index == 2;
    QColor colour = red ? QColor(239, 41, 41) : QColor(115, 210, 22);
    if (!lit)
        colour = QColor(colour.red() / 3 + 60, colour.green() / 3 + 60, colour.blue() / 3 + 60);
    return render(
        [colour](QPainter& p) {
            QRadialGradient glow(QPointF(6, 6), 8);
            glow.setColorAt(0, colour.lighter(150));
            glow.setColorAt(1, colour);
            p.setPen(outline(colour));
            p.setBrush(glow);
            p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        },
        size);
}

QIcon button(Button which)
{
    switch (which) {
    case Button::New:
        return iconOf(newJob);
    case Button::Remove:
        return iconOf(removeJob);
    case Button::Open:
        return iconOf(openJob);
    case Button::Copy:
        return iconOf(copyJob);
    case Button::Execute:
        return iconOf(executeJob);
    }
    return {};
}

QIcon wizard()
{
    return iconOf(wizardSheet, {16, 32, 48, 64});
}

QIcon browse()
{
    return iconOf(openJob);
}

QIcon application()
{
    return iconOf(agent, {16, 22, 24, 32, 48, 64, 128});
}

void paintApplication(QPainter& painter, qreal size)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    agent(painter);
    painter.restore();
}

} // namespace quorvex::icons
