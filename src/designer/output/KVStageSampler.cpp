#include "KVStageSampler.h"

#include "animation/KVTimeline.h"
#include "model/KVElement.h"
#include "model/KVMedia.h"
#include "model/KVElementProperty.h"
#include "model/KVScene.h"

#include <QJsonArray>
#include <QtMath>

namespace {
double rounded(double d)
{
    const double dRounded = std::round(d * 10000.0) / 10000.0;
    return dRounded == 0.0 ? 0.0 : dRounded; // no "-0"
}
} // namespace

KVStageSampler::KVStageSampler(KVScene *pScene) : m_pScene(pScene) {}

QRectF KVStageSampler::layoutBox(const KVElement *pElement)
{
    const double dW = pElement->widthPixels();
    const double dH = pElement->heightPixels();
    const double dParentW = pElement->parentWidth() - 2.0 * (pElement->parent() ? pElement->parent()->borderWidth() : 0);
    const double dParentH = pElement->parentHeight() - 2.0 * (pElement->parent() ? pElement->parent()->borderWidth() : 0);
    const double dX = pElement->unitX() == 1 ? pElement->positionX() * pElement->parentWidth() : pElement->positionX();
    const double dY = pElement->unitY() == 1 ? pElement->positionY() * pElement->parentHeight() : pElement->positionY();
    // Coordinate types: 0 from left and top, 1 right and top, 2 right and bottom, 3 left and bottom.
    const int nType = pElement->coordinateType();
    const double dLeft = (nType == 1 || nType == 2) ? dParentW - dX - dW : dX;
    const double dTop = (nType == 2 || nType == 3) ? dParentH - dY - dH : dY;
    return QRectF(dLeft, dTop, dW, dH);
}

QTransform KVStageSampler::localTransform(const KVElement *pElement)
{
    const QRectF box = layoutBox(pElement);
    const double dOx = pElement->originRatioX() * box.width();
    const double dOy = pElement->originRatioY() * box.height();
    // Read right to left, a point of the box is scaled, skewed and turned about the origin, then
    // moved by the translation (which motion paths drive), then placed at the box's position.
    QTransform t;
    t.translate(box.left() + dOx + pElement->translateX(), box.top() + dOy + pElement->translateY());
    // Along a motion path that turns its element the path's direction adds to the rotation.
    t.rotate(pElement->rotateZ() + pElement->pathAngle());
    t = QTransform(1.0, qTan(qDegreesToRadians(pElement->skewY())), qTan(qDegreesToRadians(pElement->skewX())), 1.0,
                   0.0, 0.0)
        * t;
    t.scale(pElement->scaleX(), pElement->scaleY());
    t.translate(-dOx, -dOy);
    return t;
}

void KVStageSampler::measure(const KVElement *pElement, const QTransform &toParent, bool bParentShown,
                             bool bParent3d, QList<Sample> &samples) const
{
    const QTransform toStage = localTransform(pElement) * toParent;
    Sample sample;
    sample.strName = pElement->name();
    sample.box = toStage.mapRect(QRectF(0.0, 0.0, pElement->widthPixels(), pElement->heightPixels()));
    // Easings that overshoot take the stored opacity past 0 or 1; what is shown stays within them.
    sample.dOpacity = qBound(0.0, pElement->opacity(), 1.0);
    // A hidden group hides everything inside it.
    sample.bVisible = bParentShown && pElement->display() != 0;
    const KVElementProperty *pProperty = pElement->property();
    sample.bTransform3d = bParent3d || (pProperty && pProperty->uses3D());
    if (const auto *pMedia = qobject_cast<const KVMedia *>(pElement))
        sample.dVolume = qBound(0.0, pMedia->volume(), 1.0);
    samples.append(sample);
    // Children are placed inside the border.
    const double dBorder = pElement->borderWidth();
    const QTransform toChildren = QTransform::fromTranslate(dBorder, dBorder) * toStage;
    for (const KVElement *pChild : pElement->children())
        measure(pChild, toChildren, sample.bVisible, sample.bTransform3d, samples);
}

QList<KVStageSampler::Sample> KVStageSampler::sampleAt(int nTime)
{
    QList<Sample> samples;
    if (!m_pScene)
        return samples;
    if (KVTimeline *pTimeline = m_pScene->mainTimeline())
        pTimeline->seek(nTime);
    for (const KVElement *pChild : m_pScene->children())
        measure(pChild, QTransform(), true, false, samples);
    return samples;
}

QJsonObject KVStageSampler::sampleJson(int nTime)
{
    QJsonObject joElements;
    for (const Sample &s : sampleAt(nTime)) {
        QJsonObject jo;
        jo.insert(QStringLiteral("box"), QJsonArray{rounded(s.box.x()), rounded(s.box.y()), rounded(s.box.width()),
                                                    rounded(s.box.height())});
        jo.insert(QStringLiteral("opacity"), rounded(s.dOpacity));
        jo.insert(QStringLiteral("visible"), s.bVisible);
        if (s.dVolume >= 0.0)
            jo.insert(QStringLiteral("volume"), rounded(s.dVolume));
        if (s.bTransform3d)
            jo.insert(QStringLiteral("transform3d"), true);
        joElements.insert(s.strName, jo);
    }
    return QJsonObject{{QStringLiteral("t"), nTime}, {QStringLiteral("elements"), joElements}};
}
