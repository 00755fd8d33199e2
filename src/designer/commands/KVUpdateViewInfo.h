#pragma once

#include "commands/KVCmdParam.h"

#include <QJsonObject>
#include <QObject>
#include <QPointer>

class IKVCommandTarget;
class KVResourceManager;

// What one executed action changed, handed to every view after the action ran: the action (or
// notification) type, the action's own parameter list (not copied: read it while handling the
// notification), whether the command is being undone, and the view that made the command during
// its first execution (that view already shows the change).
//
// Towards the canvas page it becomes {"cmd", "isUndoCmd", "params"}. Most types send their
// parameters as they are; structure and animation types send ready-made data in the player's short
// keys instead (the page never needs the model). Requests from the page have the same shape; an
// object that read one owns the parameters it read.
class KVUpdateViewInfo : public QObject
{
    Q_OBJECT

public:
    explicit KVUpdateViewInfo(QObject *pParent = nullptr);
    ~KVUpdateViewInfo() override;

    int type() const { return m_nType; }
    void setType(int nType) { m_nType = nType; }
    KVCmdParamList *params() const { return m_pParams; }
    // Not owned (the action's own list); null for a notification without parameters.
    void setParams(KVCmdParamList *pParams);
    bool isUndo() const { return m_bUndo; }
    void setUndo(bool b) { m_bUndo = b; }
    QObject *sender() const { return m_pSender.data(); }
    void setSender(QObject *pSender) { m_pSender = pSender; }

    // The page message, written into jo. The resource manager is for the resource types. False when
    // the update has nothing for the page (an image or medium added or removed).
    virtual bool toPageJson(QJsonObject &jo, IKVCommandTarget *pDocument,
                            KVResourceManager *pResources = nullptr) const;
    // Reads a page request: "cmd" (0 when missing), "isUndoCmd" (false), "params" (each read by the
    // parameter rules). False, with the reason in *pError, when a parameter cannot be read; the
    // parameters read so far are dropped then.
    virtual bool fromPageJson(const QJsonObject &jo, IKVCommandTarget *pDocument,
                              QString *pError = nullptr);
    // The parameters read from a page request, handed over to the caller (for an action).
    KVCmdParamList takeReadParams();

    // Whether a type adds (forward) or removes; the undo flag swaps the two.
    static bool isAddingType(int nType);

private:
    QJsonArray preparedParams(IKVCommandTarget *pDocument, bool &bPrepared) const;
    void dropOwnedParams();

    int m_nType = 0;
    KVCmdParamList *m_pParams = nullptr;
    bool m_bUndo = false;
    QPointer<QObject> m_pSender;
    // Set when the parameters were read from the page (then owned).
    bool m_bOwnsParams = false;
};
