// Writes the projects the web player's parity test plays beside the example banner, each into the
// folder given on the command line with its "<base>_res" folder:
//   easings.kavio     one rectangle per easing code, each moving left from 0 to 200 px in a second
//                     (some fading as well);
//   transforms.kavio  rotation, scale, skew and origin tracks, alone and together;
//   nesting.kavio     groups three deep that move, turn and scale while their children do too, and
//                     elements that travel along motion paths without turning to the path;
//   responsive.kavio  a horizontal and a vertical breakpoint; at the layout of both, elements with
//                     places, sizes, colours and animations of their own, or none.
// Usage: kavio-genprojects FOLDER
#include "KVGeneratedProject.h"

#include "animation/KVKeyframeSegment.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

using KVBannerExample::add;
using KVBannerExample::animate;
using KVBannerExample::animation;
using KVGeneratedProject::animateAt;
using KVGeneratedProject::box;
using KVGeneratedProject::describe;
using KVGeneratedProject::firstScene;
using KVGeneratedProject::group;
using Cat = KVPropertyCatalogue;

// The easing codes the editor offers: the toolkit's curves and the two spline shapes.
QList<int> easingCodes()
{
    QList<int> codes;
    for (int n = QEasingCurve::Linear; n <= KVKeyframeSegment::LastPickerCode; ++n)
        codes.append(n);
    return codes;
}

// A location track along a two-point curved path; the offsets are relative to the element's place.
void travel(KVTimeline *pTimeline, KVElement *pElement, const QPointF &from, const QPointF &fromOut,
            const QPointF &toIn, const QPointF &to, int nEnd, int nEasing)
{
    KVMotionPathKeyframe *pPath = KVMotionPathKeyframe::create(pElement, KVLayoutKey::base());
    KVPathPoint a;
    a.x = from.x(); a.y = from.y(); a.x1 = from.x(); a.y1 = from.y(); a.x2 = fromOut.x(); a.y2 = fromOut.y();
    a.bStartPoint = true; a.nTime = 0;
    KVPathPoint b;
    b.x = to.x(); b.y = to.y(); b.x1 = toIn.x(); b.y1 = toIn.y(); b.x2 = to.x(); b.y2 = to.y(); b.nTime = nEnd;
    pPath->setPathPoints({a, b});
    pPath->addKeyValue(new KVKeyValue(0, from), QEasingCurve::Linear, true);
    pPath->addKeyValue(new KVKeyValue(nEnd, to), nEasing, true);
    KVAnimation *pAnimation = animation(pTimeline, pElement);
    pAnimation->setAutoOrient(false);
    pAnimation->addKeyframe(pPath);
}

void buildEasings(KVHeadlessProject &project)
{
    const QList<int> codes = easingCodes();
    describe(project, QStringLiteral("Every easing"), 260, 12 * codes.size());
    KVScene *pScene = firstScene(project);
    KVTimeline *pTimeline = pScene->mainTimeline();
    for (int i = 0; i < codes.size(); ++i) {
        const int nCode = codes.at(i);
        KVDiv *pDiv = box(pScene, QStringLiteral("ease%1").arg(nCode), 0, 12 * i, 40, 10,
                          QColor::fromHsv((i * 37) % 360, 200, 220));
        animate(pTimeline, pDiv, Cat::Left, {{0, 0.0, nCode}, {1000, 200.0, QEasingCurve::Linear}});
        if (i % 3 == 0)
            animate(pTimeline, pDiv, Cat::Opacity, {{0, 1.0, nCode}, {1000, 0.2, QEasingCurve::Linear}});
    }
    pTimeline->seek(0);
    project.setCurrentScene(pScene);
}

void buildTransforms(KVHeadlessProject &project)
{
    describe(project, QStringLiteral("Transforms"), 480, 360);
    KVScene *pScene = firstScene(project);
    KVTimeline *pTimeline = pScene->mainTimeline();

    KVDiv *pTurn = box(pScene, QStringLiteral("turn"), 20, 20, 80, 40, QColor(0xe8, 0x4a, 0x5f));
    animate(pTimeline, pTurn, Cat::RotateZ, {{0, 0.0, QEasingCurve::InOutQuad}, {1000, 270.0, QEasingCurve::Linear}});

    KVDiv *pStretch = box(pScene, QStringLiteral("stretch"), 160, 20, 60, 60, QColor(0x20, 0x90, 0xe6));
    animate(pTimeline, pStretch, Cat::ScaleX, {{0, 1.0, QEasingCurve::OutBack}, {1000, 2.5, QEasingCurve::Linear}});
    animate(pTimeline, pStretch, Cat::ScaleY, {{100, 1.0, QEasingCurve::InCubic}, {900, 0.3, QEasingCurve::Linear}});

    KVDiv *pLean = box(pScene, QStringLiteral("lean"), 320, 20, 80, 60, QColor(0x3a, 0xa5, 0x6e));
    animate(pTimeline, pLean, Cat::SkewX, {{0, 0.0, QEasingCurve::Linear}, {1000, 30.0, QEasingCurve::Linear}});
    animate(pTimeline, pLean, Cat::SkewY, {{200, 0.0, QEasingCurve::OutQuad}, {800, -20.0, QEasingCurve::Linear}});

    // The origin moves from the top-left to the bottom-right corner of a turned box.
    KVDiv *pPivot = box(pScene, QStringLiteral("pivot"), 40, 160, 100, 50, QColor(0xff, 0xc8, 0x3d));
    pPivot->setRotateZ(45);
    animate(pTimeline, pPivot, Cat::OriginX, {{0, 0.0, QEasingCurve::Linear}, {1000, 1.0, QEasingCurve::Linear}});
    animate(pTimeline, pPivot, Cat::OriginY, {{0, 0.0, QEasingCurve::InOutSine}, {1000, 1.0, QEasingCurve::Linear}});

    // Everything at once, about an origin off the centre.
    KVDiv *pAll = box(pScene, QStringLiteral("all"), 200, 170, 90, 60, QColor(0x80, 0x40, 0xc0));
    pAll->setOriginRatioX(0.2);
    pAll->setOriginRatioY(0.8);
    animate(pTimeline, pAll, Cat::RotateZ, {{0, -30.0, QEasingCurve::OutElastic}, {1000, 60.0, QEasingCurve::Linear}});
    animate(pTimeline, pAll, Cat::ScaleX, {{0, 0.5, QEasingCurve::Linear}, {1000, 1.5, QEasingCurve::Linear}});
    animate(pTimeline, pAll, Cat::ScaleY, {{0, 1.5, QEasingCurve::Linear}, {1000, 0.8, QEasingCurve::Linear}});
    animate(pTimeline, pAll, Cat::SkewX, {{0, 10.0, QEasingCurve::InOutCubic}, {1000, -15.0, QEasingCurve::Linear}});
    animate(pTimeline, pAll, Cat::Opacity, {{0, 0.3, QEasingCurve::Linear}, {1000, 1.0, QEasingCurve::Linear}});

    // Turned inside out: the scale passes through zero to a mirror image.
    KVDiv *pFlip = box(pScene, QStringLiteral("flip"), 360, 180, 70, 40, QColor(0x10, 0x60, 0x60));
    pFlip->setRotateZ(-20);
    animate(pTimeline, pFlip, Cat::ScaleX, {{0, 1.0, QEasingCurve::InOutQuart}, {1000, -1.0, QEasingCurve::Linear}});

    // Moves and turns at once.
    KVDiv *pRoll = box(pScene, QStringLiteral("roll"), 20, 280, 50, 50, QColor(0xa0, 0x30, 0x30));
    animate(pTimeline, pRoll, Cat::Left, {{0, 20.0, QEasingCurve::OutQuad}, {1000, 380.0, QEasingCurve::Linear}});
    animate(pTimeline, pRoll, Cat::RotateZ, {{0, 0.0, QEasingCurve::OutQuad}, {1000, 360.0, QEasingCurve::Linear}});
    animate(pTimeline, pRoll, Cat::Width, {{0, 50.0, QEasingCurve::Linear}, {1000, 70.0, QEasingCurve::Linear}});

    pTimeline->seek(0);
    project.setCurrentScene(pScene);
}

void buildNesting(KVHeadlessProject &project)
{
    describe(project, QStringLiteral("Nested groups"), 480, 420);
    KVScene *pScene = firstScene(project);
    KVTimeline *pTimeline = pScene->mainTimeline();

    KVElement *pOuter = group(pScene, QStringLiteral("outer"), 60, 40, 320, 320);
    animate(pTimeline, pOuter, Cat::RotateZ, {{0, 0.0, QEasingCurve::InOutQuad}, {1000, 30.0, QEasingCurve::Linear}});
    animate(pTimeline, pOuter, Cat::Left, {{0, 60.0, QEasingCurve::Linear}, {1000, 100.0, QEasingCurve::Linear}});

    KVElement *pMiddle = group(pScene, QStringLiteral("middle"), 30, 30, 220, 220, pOuter);
    pMiddle->setRotateZ(-15);
    pMiddle->setOriginRatioX(0.25);
    animate(pTimeline, pMiddle, Cat::ScaleX, {{0, 1.0, QEasingCurve::OutCubic}, {1000, 0.8, QEasingCurve::Linear}});
    animate(pTimeline, pMiddle, Cat::ScaleY, {{0, 1.0, QEasingCurve::OutCubic}, {1000, 1.2, QEasingCurve::Linear}});

    KVElement *pInner = group(pScene, QStringLiteral("inner"), 40, 50, 120, 120, pMiddle);
    animate(pTimeline, pInner, Cat::Top, {{0, 50.0, QEasingCurve::InSine}, {1000, 80.0, QEasingCurve::Linear}});
    animate(pTimeline, pInner, Cat::RotateZ, {{200, 0.0, QEasingCurve::OutBack}, {1000, 90.0, QEasingCurve::Linear}});

    KVDiv *pCore = box(pScene, QStringLiteral("core"), 20, 20, 50, 30, QColor(0xe8, 0x4a, 0x5f), pInner);
    animate(pTimeline, pCore, Cat::Left, {{0, 20.0, QEasingCurve::InOutBack}, {1000, 60.0, QEasingCurve::Linear}});
    animate(pTimeline, pCore, Cat::ScaleX, {{0, 1.0, QEasingCurve::Linear}, {1000, 1.6, QEasingCurve::Linear}});
    animate(pTimeline, pCore, Cat::RotateZ, {{0, 0.0, QEasingCurve::Linear}, {1000, -45.0, QEasingCurve::Linear}});

    KVDiv *pSide = box(pScene, QStringLiteral("side"), 200, 10, 60, 40, QColor(0x20, 0x90, 0xe6), pOuter);
    animate(pTimeline, pSide, Cat::Opacity, {{0, 1.0, QEasingCurve::InQuad}, {1000, 0.25, QEasingCurve::Linear}});
    animate(pTimeline, pSide, Cat::SkewY, {{0, 0.0, QEasingCurve::Linear}, {1000, 15.0, QEasingCurve::Linear}});

    // A turned element that travels along a curve inside the middle group and keeps its angle.
    KVDiv *pTraveller = box(pScene, QStringLiteral("traveller"), 10, 150, 30, 20, QColor(0xff, 0xc8, 0x3d), pMiddle);
    pTraveller->setRotateZ(20);
    travel(pTimeline, pTraveller, QPointF(0, 0), QPointF(40, -120), QPointF(120, -40), QPointF(160, -100), 1000,
           QEasingCurve::InOutSine);

    // One on the stage itself, on a path that swings back past its start.
    KVDiv *pComet = box(pScene, QStringLiteral("comet"), 20, 370, 24, 24, QColor(0x3a, 0xa5, 0x6e));
    travel(pTimeline, pComet, QPointF(0, 0), QPointF(200, 40), QPointF(-60, -160), QPointF(380, -60), 900,
           QEasingCurve::OutQuad);

    pTimeline->seek(0);
    project.setCurrentScene(pScene);
}

// The code under which a layout overrides an element's fill as a whole.
constexpr int kFillCode = 50;

// Overrides a property at a layout: the layout holds its own value from now on.
void own(KVElement *pElement, int nCode, const KVLayoutKey &layout)
{
    pElement->setInherited(nCode, false, layout);
}

void buildResponsive(KVHeadlessProject &project)
{
    describe(project, QStringLiteral("Responsive"), 480, 320);
    KVBreakpointSet *pBreakpoints = project.breakpoints();
    pBreakpoints->setResponsiveMode(true);
    const int nWide = pBreakpoints->addHBreakpoint(700).nId;
    const int nTall = pBreakpoints->addVBreakpoint(600).nId;
    const KVLayoutKey big(nWide, nTall);
    const KVLayoutKey base = KVLayoutKey::base();

    KVScene *pScene = firstScene(project);
    KVTimeline *pTimeline = pScene->mainTimeline();

    KVDiv *pCard = box(pScene, QStringLiteral("card"), 20, 40, 120, 80, QColor(0xe8, 0x4a, 0x5f));
    KVDiv *pBand = box(pScene, QStringLiteral("band"), 0, 260, 480, 30, QColor(0x3a, 0xa5, 0x6e));
    KVElement *pBadge = group(pScene, QStringLiteral("badge"), 360, 20, 100, 100);
    KVDiv *pDot = box(pScene, QStringLiteral("dot"), 10, 10, 20, 20, QColor(0xff, 0xc8, 0x3d), pBadge);
    // Every element gets a property object per layout, copied from the base.
    pScene->syncLayouts(pBreakpoints->layouts(), true, base);

    // The base layout: the card slides right and fades, the band shrinks, the dot runs right.
    animateAt(pTimeline, pCard, Cat::Left, {{0, 20.0, QEasingCurve::OutQuad}, {1000, 300.0, QEasingCurve::Linear}}, base);
    animateAt(pTimeline, pCard, Cat::Opacity, {{0, 1.0, QEasingCurve::Linear}, {1000, 0.4, QEasingCurve::Linear}}, base);
    animateAt(pTimeline, pBand, Cat::ScaleX, {{0, 1.0, QEasingCurve::InCubic}, {1000, 0.5, QEasingCurve::Linear}}, base);
    animateAt(pTimeline, pDot, Cat::Left, {{0, 10.0, QEasingCurve::Linear}, {1000, 70.0, QEasingCurve::Linear}}, base);

    // The wide and tall layout: the card has a place, width and colour of its own and falls while
    // it turns; the band keeps the base's place but is narrower and half transparent, and stands
    // still; the badge sits further left and its dot runs down instead.
    pCard->setPositionX(60, big);
    pCard->setPositionY(120, big);
    pCard->setSizeW(200, big);
    pCard->background(big)->setSolidColor(QColor(0x20, 0x90, 0xe6));
    for (int nCode : {int(Cat::Left), int(Cat::Top), int(Cat::Width), kFillCode, int(Cat::RotateZ)})
        own(pCard, nCode, big);
    animateAt(pTimeline, pCard, Cat::Top, {{0, 120.0, QEasingCurve::InOutSine}, {1000, 220.0, QEasingCurve::Linear}}, big);
    animateAt(pTimeline, pCard, Cat::RotateZ, {{100, 0.0, QEasingCurve::OutBack}, {900, 90.0, QEasingCurve::Linear}}, big);
    pBand->setSizeW(240, big);
    pBand->setOpacity(0.5, big);
    own(pBand, Cat::Width, big);
    own(pBand, Cat::Opacity, big);
    pBadge->setPositionX(300, big);
    own(pBadge, Cat::Left, big);
    own(pDot, Cat::Top, big);
    animateAt(pTimeline, pDot, Cat::Top, {{0, 10.0, QEasingCurve::Linear}, {1000, 70.0, QEasingCurve::Linear}}, big);

    pScene->setCurrentLayout(base);
    pTimeline->seek(0);
    project.setCurrentScene(pScene);
}

// The project is built through the model into the folder.
bool write(const QDir &folder, const QString &strBase, void (*build)(KVHeadlessProject &))
{
    return KVGeneratedProject::write("kavio-genprojects", folder, strBase, [build](KVHeadlessProject &project) {
        build(project);
        return true;
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "Usage: kavio-genprojects FOLDER\n");
        return 2;
    }
    QDir folder(arguments.at(1));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "kavio-genprojects: cannot make the folder %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    bool bOk = write(folder, QStringLiteral("easings"), &buildEasings);
    bOk = write(folder, QStringLiteral("transforms"), &buildTransforms) && bOk;
    bOk = write(folder, QStringLiteral("nesting"), &buildNesting) && bOk;
    bOk = write(folder, QStringLiteral("responsive"), &buildResponsive) && bOk;
    return bOk ? 0 : 1;
}
