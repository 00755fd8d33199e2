#pragma once

// The command fixture with the kinds the page edits: a text box, an auto shape, a free-form shape,
// a motion-path track and a responsive project, for the tests of the action types.

#include "KVCommandTestKit.h"

#include "animation/KVMotionPathKeyframe.h"
#include "commands/KVElementCommandAction.h"
#include "model/KVAutoShape.h"
#include "model/KVBreakpointSet.h"
#include "model/KVFreeFormShape.h"
#include "model/KVFreeFormShapeProperty.h"
#include "model/KVText.h"
#include "model/KVTextProperty.h"

#include <QtTest>

#include <functional>

static const KVLayoutKey kBase = KVLayoutKey::base();

// The command fixture plus a text box, an auto shape, a free-form shape with a three-point outline,
// a motion-path track on B (timed points at 0 and 1000 ms around an untimed one) and a project of
// 640 x 480 with one horizontal breakpoint at 320 (id 1).
struct TypesFixture : KVCommandFixture
{
    using P = KVCmdParam;
    using E = KVElementCommandAction;

    KVText *pText = nullptr;
    KVAutoShape *pShape = nullptr;
    KVFreeFormShape *pFree = nullptr;
    KVMotionPathKeyframe *pPath = nullptr;
    KVAnimation *pPathAnimation = nullptr;
    KVBreakpointSet *pSet = nullptr;

    TypesFixture()
    {
        pText = qobject_cast<KVText *>(KVElementFactory::createElement(4));
        pScene->addElement(pText);
        pText->setInnerHtml(QStringLiteral("<p>Hi</p>"), kBase);
        pShape = qobject_cast<KVAutoShape *>(KVElementFactory::createElement(9));
        pScene->addElement(pShape);
        pShape->setAdjustments({0.5, 0.25}, kBase);
        pFree = qobject_cast<KVFreeFormShape *>(KVElementFactory::createElement(11));
        pScene->addElement(pFree);
        KVBezierPath outline;
        outline.setPoints({point(0, 0), point(50, 0), point(50, 50)});
        pFree->freeFormProperty(kBase)->setPath(outline);

        pPathAnimation = new KVAnimation(pB);
        pTimeline->addAnimation(pPathAnimation, kBase);
        pPath = KVMotionPathKeyframe::create(pB, kBase);
        pPathAnimation->addKeyframe(pPath);
        pPath->addKeyValue(new KVKeyValue(0, QPointF(0, 0)), 3, true);
        pPath->addKeyValue(new KVKeyValue(1000, QPointF(100, 40)), 3, true);
        pPath->setPathPoints({point(0, 0, 0), point(60, 80), point(100, 40, 1000)});
        pTimeline->seek(0);

        t.project.setWidth(640);
        t.project.setHeight(480);
        pSet = t.project.breakpoints();
        pSet->addHBreakpoint(320);
        pSet->setResponsiveMode(true);
        for (KVScene *p : t.list.scenes())
            p->syncLayouts(pSet->layouts(), true, kBase);
    }

    static KVPathPoint point(double dX, double dY, int nTime = -1)
    {
        KVPathPoint pt;
        pt.x = pt.x1 = pt.x2 = dX;
        pt.y = pt.y1 = pt.y2 = dY;
        pt.nTime = nTime;
        return pt;
    }

    KVElementCommandAction *elementAction(int nType, const QList<P *> &params)
    {
        auto *p = new E(nType, &t, params.size());
        for (P *pParam : params)
            p->addParam(pParam);
        return p;
    }

    P *layoutData() { return P::makeObject(P::LayoutData, pSet); }
    P *motionPath() { return P::makeObject(P::MotionPath, pPath); }

    // 1008 with every value given; the HTML and the size differ from the defaults.
    KVElementCommandAction *textAction(KVElement *pElement, const QString &strHtml, int nSize,
                                       bool bInherited = false, const KVLayoutKey &layout = kBase)
    {
        return elementAction(1008, {P::makeObject(P::Element, pElement), P::makeString(strHtml), P::makeString("Arial"),
                                    P::makeInt(nSize), P::makeInt(int(0xff102030)), P::makeInt(0), P::makeBool(true),
                                    P::makeBool(false), P::makeBool(true), P::makeBool(false), P::makeInt(1),
                                    P::makeInt(32), P::makeDouble(1.5), P::makeInt(4), P::makeInt(2), P::makeInt(1),
                                    P::makeBool(bInherited), P::makeInt(layout.nHLayoutId),
                                    P::makeInt(layout.nVLayoutId)});
    }

    QString pathText() const
    {
        QStringList words;
        for (const KVPathPoint &pt : pPath->path().points())
            words << QStringLiteral("%1,%2@%3").arg(pt.x).arg(pt.y).arg(pt.nTime);
        return words.join(' ');
    }
};


// Pushes the actions that build() makes on a new fixture F, then undoes and redoes twice: the model
// shows the change exactly when it should (state), the scenes' saved form comes back exactly, and
// the command ends with 41. bFormChanges: whether the saved form of the scenes changes at all.
template <typename F>
void checkRoundTrip(const std::function<QList<KVCommandAction *>(F &)> &build,
                    const std::function<bool(F &, bool)> &state, bool bFormChanges)
{
    F f;
    const QList<KVCommandAction *> actions = build(f);
    const QString strBefore = f.form();
    QVERIFY2(state(f, false), "the fixture already shows the change");

    f.push(actions);
    const QString strAfter = f.form();
    QVERIFY2(state(f, true), "redo did not change the model");
    QCOMPARE(strAfter != strBefore, bFormChanges);
    QCOMPARE(f.t.noteTypes().last(), 41);
    QVERIFY(f.t.noteTypes().contains(actions.first()->type()));

    for (int i = 0; i < 2; ++i) {
        f.t.stack.undo();
        QVERIFY2(state(f, false), "undo did not restore the model");
        QCOMPARE(f.form(), strBefore);
        f.t.stack.redo();
        QVERIFY2(state(f, true), "redo after undo did not change the model");
        QCOMPARE(f.form(), strAfter);
    }
    f.t.stack.undo();
    f.t.stack.clear();
    QCOMPARE(f.form(), strBefore);
}
