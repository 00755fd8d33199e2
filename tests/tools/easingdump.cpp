// Prints, as JSON, the value of every easing curve the editor offers at 101 evenly spaced points, so
// that the web player's easing functions can be held to the toolkit's own curves.
// Output: {"points": 101, "curves": {"<code>": [v0, ..., v100], ...}}
#include <QCoreApplication>
#include <QEasingCurve>
#include <QPointF>

#include <cstdio>

namespace {

// The two fixed shapes the editor gives to the spline types (the same as the keyframe segments use).
QEasingCurve curveFor(int nCode)
{
    QEasingCurve curve{QEasingCurve::Type(nCode)};
    if (nCode == QEasingCurve::BezierSpline) {
        curve.addCubicBezierSegment(QPointF(0.4, 0.1), QPointF(0.6, 0.9), QPointF(1.0, 1.0));
    } else if (nCode == QEasingCurve::TCBSpline) {
        curve.addTCBSegment(QPointF(0.0, 0.0), 0, 0, 0);
        curve.addTCBSegment(QPointF(0.3, 0.4), 0.2, 1, -0.2);
        curve.addTCBSegment(QPointF(0.7, 0.6), -0.2, 1, 0.2);
        curve.addTCBSegment(QPointF(1.0, 1.0), 0, 0, 0);
    }
    return curve;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int nPoints = 101;
    QList<int> codes;
    for (int n = QEasingCurve::Linear; n <= QEasingCurve::TCBSpline; ++n)
        codes.append(n);

    std::printf("{\"points\": %d, \"curves\": {", nPoints);
    for (int i = 0; i < codes.size(); ++i) {
        const QEasingCurve curve = curveFor(codes.at(i));
        std::printf("%s\n\"%d\": [", i ? "," : "", codes.at(i));
        for (int p = 0; p < nPoints; ++p)
            std::printf("%s%.17g", p ? ", " : "", curve.valueForProgress(double(p) / (nPoints - 1)));
        std::printf("]");
    }
    std::printf("\n}}\n");
    return 0;
}
