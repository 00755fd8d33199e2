#pragma once

// A bare command target over one scene list, recording every view update, for the command tests.

#include "animation/KVAnimation.h"
#include "animation/KVKeyValue.h"
#include "animation/KVKeyframe.h"
#include "animation/KVPropertyCatalogue.h"
#include "animation/KVTimeline.h"
#include "animation/KVTimelineList.h"
#include "commands/IKVCommandTarget.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVUpdateViewInfo.h"
#include "document/KVDocumentSettings.h"
#include "document/KVSymbol.h"
#include "model/KVElementFactory.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUndoStack>

// One announced update: its type, undo flag, sender and page message.
struct KVNote
{
    int nType = 0;
    bool bUndo = false;
    QObject *pSender = nullptr;
    QJsonObject joPage;
};

class KVTestCommandTarget : public IKVCommandTarget
{
public:
    // Marks the moment fonts were reloaded among the notes.
    static constexpr int FontReloadMark = -39;

    KVSceneList list;
    QUndoStack stack;
    QList<KVNote> notes;
    QList<QObject *> selection;
    bool bPlaying = false;
    int nPauses = 0;
    int nStatusClears = 0;
    KVResource *pSymbol = nullptr;
    KVSymbol project;
    KVDocumentSettings settings;

    KVSceneList *commandSceneList() const override { return const_cast<KVSceneList *>(&list); }
    QUndoStack *commandUndoStack() const override { return const_cast<QUndoStack *>(&stack); }
    void emitDataChanged(QObject *pInfo) override
    {
        auto *p = qobject_cast<KVUpdateViewInfo *>(pInfo);
        if (!p)
            return;
        KVNote note;
        note.nType = p->type();
        note.bUndo = p->isUndo();
        note.pSender = p->sender();
        p->toPageJson(note.joPage, this);
        notes.append(note);
    }
    QList<QObject *> selectionList() const override { return selection; }
    void setSelectionList(const QList<QObject *> &l) override { selection = l; }
    bool isPlaying() const override { return bPlaying; }
    void pausePlayback() override
    {
        bPlaying = false;
        ++nPauses;
    }
    KVResource *editedSymbolResource() const override { return pSymbol; }
    KVSymbol *commandProject() const override { return const_cast<KVSymbol *>(&project); }
    KVDocumentSettings *commandSettings() const override { return const_cast<KVDocumentSettings *>(&settings); }
    void reloadFonts() override
    {
        KVNote note;
        note.nType = FontReloadMark;
        notes.append(note);
    }
    void clearStatus() override { ++nStatusClears; }

    QList<int> noteTypes() const
    {
        QList<int> list;
        for (const KVNote &n : notes)
            list.append(n.nType);
        return list;
    }
};

// A project of two scenes: the first holds rectangles A and B, a group G holding rectangle C, and
// an opacity track on A (keys at 0 and 1000 ms) on the main timeline.
struct KVCommandFixture
{
    KVTestCommandTarget t;
    KVScene *pScene = nullptr;
    KVScene *pScene2 = nullptr;
    KVElement *pA = nullptr;
    KVElement *pB = nullptr;
    KVElement *pGroup = nullptr;
    KVElement *pC = nullptr;
    KVTimeline *pTimeline = nullptr;
    KVAnimation *pAnimation = nullptr;
    KVKeyframe *pTrack = nullptr;

    KVCommandFixture()
    {
        pScene = t.list.createScene();
        t.list.addScene(pScene);
        pScene2 = t.list.createScene();
        t.list.addScene(pScene2);
        pA = rectangle(10, 20);
        pB = rectangle(200, 40);
        pGroup = KVElementFactory::createElement(6);
        pScene->addElement(pA);
        pScene->addElement(pB);
        pScene->addElement(pGroup);
        pC = rectangle(5, 5);
        pScene->addElement(pC, -1, pGroup);
        pTimeline = pScene->mainTimeline();
        pAnimation = new KVAnimation(pA);
        pTimeline->addAnimation(pAnimation, KVLayoutKey::base());
        pTrack = KVKeyframe::create(pA, KVPropertyCatalogue::Opacity, KVLayoutKey::base());
        pAnimation->addKeyframe(pTrack);
        pTrack->addKeyValue(new KVKeyValue(0, 1.0), 3, true);
        pTrack->addKeyValue(new KVKeyValue(1000, 0.5), 3, true);
        pTimeline->seek(0);
    }

    static KVElement *rectangle(double dX, double dY)
    {
        KVElement *p = KVElementFactory::createElement(5);
        p->setPositionX(dX, KVLayoutKey::base());
        p->setPositionY(dY, KVLayoutKey::base());
        return p;
    }

    // The project form of every scene of the list.
    QString form() const
    {
        QJsonArray ja;
        for (KVScene *p : t.list.scenes()) {
            QJsonObject jo;
            p->toJson(jo);
            ja.append(jo);
        }
        return QString::fromUtf8(QJsonDocument(ja).toJson(QJsonDocument::Compact));
    }

    // Pushes a command of the actions; returns it (owned by the stack).
    KVCommand *push(const QList<KVCommandAction *> &actions, QObject *pSender = nullptr)
    {
        auto *pCommand = new KVCommand(&t, QStringLiteral("Edit"), pSender);
        for (KVCommandAction *p : actions)
            pCommand->addAction(p);
        KVCommand::push(pCommand);
        return pCommand;
    }

    KVCommandAction *action(int nType, const QList<KVCmdParam *> &params)
    {
        auto *p = new KVCommandAction(nType, &t, params.size());
        for (KVCmdParam *pParam : params)
            p->addParam(pParam);
        return p;
    }
};
