#include "editor/VM4_FittingSymbols.h"

#include "editor/VM4_Canvas_Drawings.h"

#include <QPainter>
#include <QPixmap>
#include <QTransform>
#include <array>
#include <cmath>
#include <numbers>

namespace {

using P = QPointF;

// An arc about `centre` as straight pieces, from angle a0 to a1 (radians,
// y down as on the screen).
QPolygonF arc(P centre, double radius, double a0, double a1, int pieces = 8) {
    QPolygonF points;
    for (int i = 0; i <= pieces; ++i) {
        const double a = a0 + (a1 - a0) * i / pieces;
        points << P(centre.x() + radius * std::cos(a), centre.y() + radius * std::sin(a));
    }
    return points;
}

QPolygonF line(P a, P b) { return QPolygonF{a, b}; }

QPolygonF bowTie() { return QPolygonF{P(0, 0), P(-8, -5), P(-8, 5), P(0, 0), P(8, 5), P(8, -5)}; }

constexpr double kPi = std::numbers::pi;

// ---- Bends, tees and branches ----------------------------------------------------------

void bend(int symbol, TFittingShape& s) {
    switch (symbol) {
        case 0:  // 90 degree elbow: a quarter bend with a flange at each end
            s.Lines << QPolygonF{P(-8, -8), P(-7.39, -4.94), P(-5.66, -2.34), P(-3.06, -0.61), P(0, 0)}
                    << line(P(0, -3), P(0, 3)) << line(P(-11, -8), P(-5, -8));
            break;
        case 1:  // 45 degree elbow
            s.Lines << line(P(-6, -6), P(0, 0)) << line(P(0, -3), P(0, 3)) << line(P(-8, -4), P(-4, -8));
            break;
        case 2:  // long radius bend
            s.Lines << arc(P(0, -10), 10, kPi / 2, kPi) << line(P(0, -3), P(0, 3)) << line(P(-13, -10), P(-7, -10));
            break;
        case 3:  // return bend
            s.Lines << arc(P(0, -5), 5, -kPi / 2, kPi / 2) << line(P(0, -10), P(-10, -10)) << line(P(0, 0), P(-10, 0));
            break;
        case 4:  // tee, flow through the run
            s.Lines << line(P(-10, 0), P(10, 0)) << line(P(0, 0), P(0, -9)) << line(P(-4, -9), P(4, -9));
            s.Solids << QPolygonF{P(10, 0), P(5, -3), P(5, 3)};
            break;
        case 5:  // tee, flow through the branch
            s.Lines << line(P(-10, 0), P(10, 0)) << line(P(0, 0), P(0, -10));
            s.Solids << QPolygonF{P(0, -10), P(-3, -5), P(3, -5)};
            break;
        case 6:  // cross
            s.Lines << line(P(-10, 0), P(10, 0)) << line(P(0, -9), P(0, 9));
            break;
        default: break;
    }
}

// ---- Valves: a bow tie with what tells them apart ---------------------------------------

void valve(int symbol, TFittingShape& s) {
    if (symbol == 9 || symbol == 17) {  // angle valves: the outlet turns upwards
        s.Bodies << QPolygonF{P(0, 0), P(-8, -5), P(-8, 5)} << QPolygonF{P(0, 0), P(-5, -8), P(5, -8)};
        if (symbol == 17) s.Lines << line(P(-3, -2), P(3, 2));
        return;
    }
    s.Bodies << bowTie();
    switch (symbol) {
        case 8: s.Circles << TFittingCircle{P(0, 0), 2.5, true}; break;                      // globe
        case 10: s.Circles << TFittingCircle{P(0, 0), 3.5, false}; break;                    // ball
        case 11: s.Lines << line(P(-4, 6), P(4, -6)); break;                                 // butterfly
        case 12: s.Solids << QPolygonF{P(-2, -2), P(2, -2), P(2, 2), P(-2, 2)}; break;       // plug
        case 13: s.Bodies << QPolygonF{P(0, 0), P(-5, 8), P(5, 8)}; break;                   // three-way plug
        case 14: s.Lines << line(P(0, -6), P(4, 4)); break;                                  // swing check
        case 15: s.Lines << line(P(0, -6), P(4, 4)) << line(P(-6, 7), P(6, 7)); break;       // clearway check
        case 16: s.Lines << line(P(0, -7), P(0, 7)); break;                                  // lift check
        case 18:  // foot valve with a strainer
        case 19:
            s.Lines << line(P(-8, 7), P(8, 7)) << line(P(-4, 7), P(-4, 10)) << line(P(0, 7), P(0, 10))
                    << line(P(4, 7), P(4, 10));
            if (symbol == 19) s.Lines << line(P(0, -6), P(4, 4));
            break;
        case 20:  // control valve: stem and actuator
            s.Lines << line(P(0, 0), P(0, -6)) << arc(P(0, -6), 4, kPi, 2 * kPi) << line(P(-4, -6), P(4, -6));
            break;
        default: break;  // gate valve
    }
}

// ---- Entrances, exits, changes of bore and the rest --------------------------------------

void wallAndPipe(double wallX, double pipeFrom, double pipeTo, TFittingShape& s) {
    s.Lines << line(P(wallX, -10), P(wallX, 10)) << line(P(pipeFrom, -4), P(pipeTo, -4))
            << line(P(pipeFrom, 4), P(pipeTo, 4));
}

void boreChange(double inletHalf, double outletHalf, double taper, TFittingShape& s) {
    s.Lines << QPolygonF{P(-11, -inletHalf), P(-taper, -inletHalf), P(taper, -outletHalf), P(11, -outletHalf)}
            << QPolygonF{P(-11, inletHalf), P(-taper, inletHalf), P(taper, outletHalf), P(11, outletHalf)};
}

void other(int symbol, TFittingShape& s) {
    switch (symbol) {
        case 21: wallAndPipe(-6, -10, 10, s); break;                           // inward projecting entrance
        case 22: wallAndPipe(-6, -6, 10, s); break;                            // sharp-edged entrance
        case 23: wallAndPipe(6, -10, 6, s); break;                             // exit
        case 24: s.Lines << line(P(-10, 0), P(10, 0)) << line(P(0, 0), P(7, -8)); break;  // lateral
        case 25: s.Lines << line(P(-10, 0), P(10, 0)) << line(P(-3, -7), P(3, -7)) << QPolygonF{P(-3, -7), P(0, 0), P(3, -7)}; break;
        case 26: s.Lines << line(P(-10, 0), P(-2, 0)) << line(P(2, 0), P(10, 0)) << line(P(0, -9), P(0, -2)) << line(P(0, 2), P(0, 9)); break;  // orifice plate
        case 27: s.Lines << line(P(-10, 0), P(-6, 0)) << line(P(6, 0), P(10, 0)); s.Circles << TFittingCircle{P(0, 0), 6, false}; break;  // meter
        case 28:  // rounded entrance
            s.Lines << line(P(-6, -10), P(-6, -8)) << arc(P(-2, -8), 4, kPi, kPi / 2) << line(P(-2, -4), P(10, -4))
                    << line(P(-6, 10), P(-6, 8)) << arc(P(-2, 8), 4, kPi, 1.5 * kPi) << line(P(-2, 4), P(10, 4));
            break;
        case 29: boreChange(3, 7, 4, s); break;   // gradual enlargement
        case 30: boreChange(7, 3, 4, s); break;   // gradual contraction
        case 31: boreChange(3, 7, 0, s); break;   // sudden enlargement
        case 32: boreChange(7, 3, 0, s); break;   // sudden contraction
        case 33: s.Lines << line(P(-10, 0), P(10, 0)); s.Bodies << QPolygonF{P(-3, -4), P(3, -4), P(3, 4), P(-3, 4)}; break;  // coupling
        case 34: s.Lines << line(P(-10, 0), P(10, 0)) << line(P(-2, -5), P(-2, 5)) << line(P(2, -5), P(2, 5)); break;  // union
        case 35: s.Lines << line(P(-10, 0), P(10, 0)); s.Solids << QPolygonF{P(-3, -6), P(-1, -6), P(-1, 6), P(-3, 6)} << QPolygonF{P(1, -6), P(3, -6), P(3, 6), P(1, 6)}; break;  // flanges
        case 36: s.Lines << QPolygonF{P(-10, 0), P(-6, 0), P(-4, -5), P(-2, 5), P(0, -5), P(2, 5), P(4, -5), P(6, 0), P(10, 0)}; break;  // expansion joint
        case 37: s.Lines << line(P(-10, 0), P(-6, 0)) << line(P(6, 0), P(10, 0)) << line(P(-6, 6), P(6, -6)); s.Bodies << QPolygonF{P(-6, -6), P(6, -6), P(6, 6), P(-6, 6)}; s.Lines << line(P(-6, 6), P(6, -6)); break;  // filter
        case 38: boreChange(6, 2, 5, s); s.Lines << line(P(5, -2), P(5, 2)); break;  // nozzle
        case 39: s.Lines << arc(P(-10, -10), 6, kPi / 2, 0) << arc(P(-10, 10), 6, -kPi / 2, 0) << line(P(-4, -10), P(10, -4)); break;  // bell mouth
        case 40: s.Lines << line(P(-10, -4), P(4, -4)) << line(P(-10, 4), P(4, 4)) << arc(P(4, 0), 4, -kPi / 2, kPi / 2); break;  // cap
        case 41: s.Lines << QPolygonF{P(-10, 0), P(0, 0), P(0, -10)} << line(P(-3, 3), P(3, -3)); break;  // mitre bend
        case 42: s.Lines << QPolygonF{P(-10, 0), P(-3, 0), P(3, -5), P(5, -10)}; break;  // two-piece mitre
        case 43: s.Lines << line(P(-10, 0), P(10, 0)) << line(P(-4, 0), P(4, -8)) << line(P(4, 0), P(-4, -8)); break;  // wye
        case 44: s.Lines << line(P(-10, 0), P(-7, 0)) << line(P(7, 0), P(10, 0)) << QPolygonF{P(-5, 0), P(-3, -3), P(-1, 3), P(1, -3), P(3, 3), P(5, 0)}; s.Circles << TFittingCircle{P(0, 0), 7, false}; break;  // heat exchanger
        case 45: s.Lines << line(P(-10, 0), P(0, 0)) << line(P(2, 0), P(8, -6)) << line(P(2, 0), P(9, 0)) << line(P(2, 0), P(8, 6)); break;  // spray nozzle
        case 46: s.Lines << line(P(-10, 0), P(-5, 0)) << line(P(5, 0), P(10, 0)); s.Circles << TFittingCircle{P(0, 0), 5, false} << TFittingCircle{P(0, 0), 2, true}; break;  // sight glass
        case 47: s.Lines << QPolygonF{P(-11, -7), P(-4, -7), P(4, -7), P(11, -7)} << QPolygonF{P(-11, 7), P(-4, 7), P(4, 1), P(11, 1)}; break;  // eccentric reducer
        case 48: s.Lines << line(P(-10, 0), P(-5, 0)) << line(P(5, 0), P(10, 0)); s.Bodies << QPolygonF{P(-5, -5), P(5, -5), P(5, 5), P(-5, 5)}; s.Circles << TFittingCircle{P(0, 0), 1.5, true}; break;  // any other item
        default: break;
    }
}

TFittingShape buildShape(int symbol) {
    TFittingShape shape;
    if (symbol < 7)
        bend(symbol, shape);
    else if (symbol <= 20)
        valve(symbol, shape);
    else
        other(symbol, shape);
    return shape;
}

}  // namespace

// Built once: the drawing asks for a shape for every fitted pipe at every redraw.
const TFittingShape& FittingShape(int symbol) {
    static const std::array<TFittingShape, FittingSymbols::Count> shapes = [] {
        std::array<TFittingShape, FittingSymbols::Count> built;
        for (int n = 0; n < FittingSymbols::Count; ++n) built[static_cast<std::size_t>(n)] = buildShape(n);
        return built;
    }();
    static const TFittingShape none;
    if (symbol < 0 || symbol >= FittingSymbols::Count) return none;
    return shapes[static_cast<std::size_t>(symbol)];
}

void PaintFittingShape(QPainter& painter, const QTransform& frame, const TFittingShape& shape, const QColor& colour) {
    UsePen(painter, colour);
    UseBrush(painter, Qt::white);
    for (const QPolygonF& body : shape.Bodies) painter.drawPolygon(frame.map(body));
    UseNoBrush(painter);
    for (const QPolygonF& outline : shape.Lines) painter.drawPolyline(frame.map(outline));
    const double scale = std::sqrt(std::abs(frame.determinant()));
    for (const TFittingCircle& circle : shape.Circles) {
        if (circle.Solid) UseBrush(painter, colour); else UseNoBrush(painter);
        painter.drawEllipse(frame.map(circle.Centre), circle.Radius * scale, circle.Radius * scale);
    }
    UseBrush(painter, colour);
    for (const QPolygonF& solid : shape.Solids) painter.drawPolygon(frame.map(solid));
    UseNoBrush(painter);
}

// The symbols are about 24 units across and 20 high; a cell shows them as large
// as it allows.
void DrawFittingPicture(QPainter& painter, const QRect& cell, int symbol, const QColor& colour) {
    const double scale = std::max(0.5, std::min(cell.width() / 26.0, cell.height() / 22.0));
    QTransform frame;
    frame.translate(cell.center().x() + 0.5, cell.center().y() + 0.5);
    frame.scale(scale, scale);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    PaintFittingShape(painter, frame, FittingShape(symbol), colour);
    painter.restore();
}

QPixmap FittingPixmap(int symbol, int width, int height, const QColor& background) {
    QPixmap picture(width, height);
    picture.fill(background);
    QPainter painter(&picture);
    DrawFittingPicture(painter, QRect(0, 0, width, height), symbol);
    return picture;
}
