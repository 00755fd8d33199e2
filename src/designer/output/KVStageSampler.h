#pragma once

#include <QJsonObject>
#include <QList>
#include <QRectF>
#include <QString>
#include <QTransform>

class KVElement;
class KVScene;

// The model's answer to "where is each element at time t": seeks a scene's main timeline and
// measures every element of the tree at the scene's current layout, as a browser laying out the
// player's page would: the box is the element's border box after its 2D transforms (translation,
// which motion paths drive, rotation about Z, skew and scale about its origin) and those of its
// ancestors, as the axis-aligned rectangle around it in stage pixels. An element is shown only when
// it and every group above it are shown. 3D transforms (rotation about X or Y, depth, the scene's
// perspective) are not projected: such elements, and those inside them, are marked instead.
class KVStageSampler
{
public:
    struct Sample
    {
        QString strName;
        QRectF box;
        double dOpacity = 1.0;
        bool bVisible = true;
        double dVolume = -1.0;  // audio and video only: 0..1
        // The element or a group above it has a 3D transform: the box leaves it out.
        bool bTransform3d = false;
    };

    explicit KVStageSampler(KVScene *pScene);

    // Seeks the main timeline to nTime and measures the elements, in pre-order.
    QList<Sample> sampleAt(int nTime);
    // {"t": nTime, "elements": {name: {"box": [x, y, w, h], "opacity": o, "visible": b}}}, with
    // "volume" for audio and video, the numbers rounded to four decimals; "transform3d": true is
    // added for elements in 3D.
    QJsonObject sampleJson(int nTime);

    // The element's transform from its own box (0, 0 at its top-left corner) to its parent's
    // content box.
    static QTransform localTransform(const KVElement *pElement);
    // Its rectangle within the parent's content box before the transforms.
    static QRectF layoutBox(const KVElement *pElement);

private:
    void measure(const KVElement *pElement, const QTransform &toStage, bool bParentShown, bool bParent3d,
                 QList<Sample> &samples) const;

    KVScene *m_pScene;
};
