#include "commands/KVPageCommandBuilder.h"
#include "commands/KVLayoutActions.h"
#include "commands/KVArrangeOperation.h"
#include "commands/KVCommand.h"
#include "commands/KVCommandAction.h"
#include "commands/KVEditContext.h"
#include "commands/KVElementCommandAction.h"
#include "commands/KVUpdateViewInfo.h"
#include "animation/KVAnimation.h"
#include "animation/KVMotionPathKeyframe.h"
#include "animation/KVTimeline.h"
#include "document/KVDocument.h"
#include "model/KVBreakpointSet.h"
#include "model/KVElement.h"
#include "model/KVElementType.h"
#include "model/KVScene.h"
#include "model/KVSceneList.h"
#include "model/KVText.h"
#include "model/KVTextProperty.h"
#include "resources/KVResource.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QScopeGuard>

#include <memory>

Q_LOGGING_CATEGORY(lcPageCommand, "kavio.canvas.request")

namespace {
using P = KVCmdParam;

// Types the page may ask for, and which of them need the container's layout data first.
const QSet<int> kAcceptedTypes = {1, 29, 30, 32, 33, 59, 60, 91, 92, 1000, 1008, 1009, 1037, 1038};
const QSet<int> kLayoutDataTypes = {59, 60, 91, 92};
// Element property groups whose first page parameter is the element id.
const QSet<int> kElementGroupTypes = {1008, 1009, 1037, 1038};
// Types whose page form carries JSON values (adjustment lists, outlines).
const QSet<int> kJsonValueTypes = {29, 30, 1009, 1037, 1038};
// Anchor-point edits of a motion path, whose first page parameter is the element id.
const QSet<int> kMotionPathTypes = {29, 30, 32};

// Restores the container's layout and responsive flag when the build ends, however it ends.
class LayoutGuard
{
public:
    LayoutGuard(KVBreakpointSet *pSet, bool bResponsive, const KVLayoutKey &layout)
        : m_pSet(pSet), m_saved(pSet->currentLayout()), m_bSavedResponsive(pSet->isResponsiveMode())
    {
        m_pSet->blockSignals(true);
        m_pSet->setResponsiveMode(bResponsive);
        m_pSet->setCurrentLayout(layout);
    }
    ~LayoutGuard()
    {
        m_pSet->setResponsiveMode(m_bSavedResponsive);
        m_pSet->setCurrentLayout(m_saved);
        m_pSet->blockSignals(false);
    }
    LayoutGuard(const LayoutGuard &) = delete;
    LayoutGuard &operator=(const LayoutGuard &) = delete;

private:
    KVBreakpointSet *m_pSet;
    KVLayoutKey m_saved;
    bool m_bSavedResponsive;
};

// Whether a request carries a list of property codes (a geometry change).
bool carriesCodes(const KVUpdateViewInfo &request)
{
    if (!request.params())
        return false;
    for (const KVCmdParam *pParam : *request.params()) {
        if (pParam->kind() == P::IntList)
            return true;
    }
    return false;
}

// The outline the page sends ({"value": points, "open"} or a path object) in the path's project
// form ({"points": [{"x", "y", "x1", "y1", "x2", "y2", ...}]}). Points given as arrays are read in
// that order.
QJsonObject outlineFromPage(const QJsonObject &jo)
{
    if (jo.value(QStringLiteral("points")).isArray())
        return jo;
    static const char *const kKeys[] = {"x", "y", "x1", "y1", "x2", "y2"};
    QJsonArray jaPoints;
    for (const QJsonValue &jv : jo.value(QStringLiteral("value")).toArray()) {
        if (jv.isObject()) {
            QJsonObject joPoint = jv.toObject();
            // A point without control points has them on itself.
            for (int i = 2; i < 6; ++i) {
                if (!joPoint.contains(QLatin1String(kKeys[i])))
                    joPoint.insert(QLatin1String(kKeys[i]), joPoint.value(QLatin1String(kKeys[i % 2])));
            }
            jaPoints.append(joPoint);
        } else if (jv.isArray()) {
            const QJsonArray ja = jv.toArray();
            QJsonObject joPoint;
            for (int i = 0; i < 6; ++i)
                joPoint.insert(QLatin1String(kKeys[i]), ja.at(i < ja.size() ? i : i % 2).toDouble());
            jaPoints.append(joPoint);
        }
    }
    QJsonObject joPath{{QStringLiteral("points"), jaPoints}};
    if (jo.contains(QStringLiteral("open")))
        joPath.insert(QStringLiteral("open"), jo.value(QStringLiteral("open")));
    return joPath;
}

// Moves the parameters read from a request into the action, in order.
void appendParams(KVCommandAction *pAction, KVCmdParamList &params, int nFrom = 0)
{
    for (int i = 0; i < params.size(); ++i) {
        if (i >= nFrom)
            pAction->addParam(params.at(i));
        else
            delete params.at(i);
    }
    params.clear();
}
// The element of the scene that a request's first parameter (an id) names; null, with a debug line
// when the id names none.
KVElement *namedElement(const KVScene *pScene, const KVCmdParamList &params, const char *pszWhat)
{
    if (params.isEmpty() || params.first()->kind() != KVCmdParam::Int)
        return nullptr;
    KVElement *pElement = pScene->findElement(params.first()->toInt());
    if (!pElement) {
        qCDebug(lcPageCommand) << "Ignored" << pszWhat << "of element" << params.first()->toInt()
                               << "which does not exist";
    }
    return pElement;
}

} // namespace

struct KVPageCommandBuilder::Context
{
    // JSON values lifted out of the request before it was read, by parameter index.
    QHash<int, QJsonValue> liftedJson;
    KVDocument *pDocument = nullptr;
    KVSymbol *pContainer = nullptr;
    KVScene *pScene = nullptr;
    KVLayoutKey layout;
    KVCommand *pCommand = nullptr;
    QString strFirstText;
};

KVCommand *KVPageCommandBuilder::build(KVDocument *pDocument, const QString &strJson, QObject *pSender)
{
    QJsonParseError error;
    const QJsonDocument jd = QJsonDocument::fromJson(strJson.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !jd.isObject()) {
        qCDebug(lcPageCommand) << "Ignored a page request that is not a JSON object:"
                               << (jd.isObject() ? QString() : error.errorString());
        return nullptr;
    }
    return build(pDocument, jd.object(), pSender);
}

KVCommand *KVPageCommandBuilder::build(KVDocument *pDocument, const QJsonObject &joRequest, QObject *pSender)
{
    if (!pDocument)
        return nullptr;
    Context ctx;
    ctx.pDocument = pDocument;
    const int nSymbolId = joRequest.value(QStringLiteral("symbolResourceId")).toInt(-1);
    if (nSymbolId < 0) {
        ctx.pContainer = pDocument;
    } else if (KVResource *pEdited = pDocument->editedSymbolResource()) {
        // Inside a symbol the document's scene list is the symbol's.
        if (pEdited->id() == nSymbolId)
            ctx.pContainer = pDocument;
    }
    if (!ctx.pContainer) {
        qCDebug(lcPageCommand) << "Ignored a page request for symbol" << nSymbolId << "which is not being edited";
        return nullptr;
    }
    const int nSceneId = joRequest.value(QStringLiteral("sceneId")).toInt(-1);
    KVSceneList *pScenes = nSymbolId < 0 ? ctx.pContainer->sceneList() : pDocument->commandSceneList();
    ctx.pScene = pScenes ? pScenes->findScene(nSceneId) : nullptr;
    if (!ctx.pScene) {
        qCDebug(lcPageCommand) << "Ignored a page request for scene" << nSceneId << "which does not exist";
        return nullptr;
    }
    const QJsonValue jvActions = joRequest.value(QStringLiteral("actions"));
    if (!jvActions.isArray()) {
        qCDebug(lcPageCommand) << "Ignored a page request without an action list";
        return nullptr;
    }
    ctx.layout = KVLayoutKey(joRequest.value(QStringLiteral("hLayoutId")).toInt(0),
                             joRequest.value(QStringLiteral("vLayoutId")).toInt(0));
    const bool bResponsive = joRequest.value(QStringLiteral("responsive")).toBool(false);
    ctx.pCommand = new KVCommand(pDocument, joRequest.value(QStringLiteral("text")).toString(), pSender);
    {
        LayoutGuard guard(ctx.pContainer->breakpoints(), bResponsive, ctx.layout);
        for (const QJsonValue &jv : jvActions.toArray()) {
            KVUpdateViewInfo request;
            QString strError;
            if (!jv.isObject() || !readRequest(ctx, jv.toObject(), request, &strError)) {
                qCDebug(lcPageCommand) << "Ignored a page request entry:"
                                       << (jv.isObject() ? strError : QStringLiteral("not an object"));
                continue;
            }
            addActions(ctx, request);
        }
    }
    if (ctx.pCommand->actions().isEmpty()) {
        delete ctx.pCommand;
        return nullptr;
    }
    if (ctx.pCommand->text().isEmpty())
        ctx.pCommand->setText(ctx.strFirstText);
    return ctx.pCommand;
}

bool KVPageCommandBuilder::readRequest(Context &ctx, QJsonObject joRequest, KVUpdateViewInfo &request,
                                       QString *pError)
{
    // A JSON value is no parameter the view-update reader takes; the outlines and adjustment lists
    // of shape edits carry one. It is lifted out, an int read in its place, and put back after.
    ctx.liftedJson.clear();
    const int nType = joRequest.value(QStringLiteral("cmd")).toInt();
    if (kJsonValueTypes.contains(nType)) {
        QJsonArray jaParams = joRequest.value(QStringLiteral("params")).toArray();
        for (int i = 0; i < jaParams.size(); ++i) {
            const QJsonObject joParam = jaParams.at(i).toObject();
            const int nKind = joParam.value(QStringLiteral("type")).toInt();
            const QJsonValue jv = joParam.value(QStringLiteral("value"));
            if ((nKind == P::JsonObject && jv.isObject()) || (nKind == P::JsonArray && jv.isArray())) {
                ctx.liftedJson.insert(i, jv);
                jaParams[i] = QJsonObject{{QStringLiteral("type"), P::Int}, {QStringLiteral("value"), 0}};
            }
        }
        joRequest.insert(QStringLiteral("params"), jaParams);
    }
    return request.fromPageJson(joRequest, ctx.pDocument, pError);
}

KVCmdParamList KVPageCommandBuilder::takeParams(Context &ctx, KVUpdateViewInfo &request)
{
    KVCmdParamList params = request.takeReadParams();
    for (auto it = ctx.liftedJson.cbegin(); it != ctx.liftedJson.cend(); ++it) {
        if (it.key() >= params.size())
            continue;
        delete params.at(it.key());
        params[it.key()] = it.value().isObject() ? P::makeJsonObject(it.value().toObject())
                                                 : P::makeJsonArray(it.value().toArray());
    }
    ctx.liftedJson.clear();
    return params;
}

QString KVPageCommandBuilder::defaultText(int nType, const KVElement *pElement)
{
    switch (nType) {
    case 1:
        return QCoreApplication::translate("KVPageCommandBuilder", "Insert %1")
            .arg(pElement ? KVElementType::name(pElement->type()) : QString());
    case 29:
        return QCoreApplication::translate("KVPageCommandBuilder", "Insert Anchor Point");
    case 30:
        return QCoreApplication::translate("KVPageCommandBuilder", "Remove Anchor Point");
    case 32:
        return QCoreApplication::translate("KVPageCommandBuilder", "Move Anchor Point");
    case 91:
        return QCoreApplication::translate("KVPageCommandBuilder", "Update Breakpoint");
    case 92:
    case 1000:
        return QCoreApplication::translate("KVPageCommandBuilder", "Change Geometry");
    case 1008:
        return QCoreApplication::translate("KVPageCommandBuilder", "Change Text");
    case 1009:
        return QCoreApplication::translate("KVPageCommandBuilder", "Change Shape Adjustment");
    default:
        return QString();
    }
}

// With auto keyframing on, a geometry edit made in the page at the current time of the scene's
// timeline is recorded on the element's tracks (the page asks for the scene again afterwards).
bool KVPageCommandBuilder::recordsKeyframes(const Context &ctx)
{
    return ctx.pDocument && ctx.pDocument->isAutoKeyframeMode() && ctx.pScene->currentTimeline();
}

void KVPageCommandBuilder::addAutoKeyframes(Context &ctx, KVCommandAction *pGeometry)
{
    std::unique_ptr<KVCommandAction> owned(pGeometry);
    KVElement *pElement = pGeometry->param(0)->element();
    const QList<int> codes = pGeometry->param(4)->toIntList();
    QList<QVariant> values;
    for (int i = 0; i < codes.size(); ++i) {
        const KVCmdParam *pValue = pGeometry->param(5 + i);
        values.append(pValue->kind() == P::Int ? QVariant(pValue->toInt()) : QVariant(pValue->toDouble()));
    }
    KVEditContext c;
    c.pTarget = ctx.pDocument;
    c.pScene = ctx.pScene;
    c.pTimeline = ctx.pScene->currentTimeline();
    c.bAutoKeyframe = true;
    c.nCurrentTime = c.pTimeline->currentTimeMs();
    KVArrangeOperation::addGeometry(ctx.pCommand, c, pElement, ctx.layout, codes, values);
}

bool KVPageCommandBuilder::addActions(Context &ctx, KVUpdateViewInfo &request)
{
    const int nType = request.type();
    if (!kAcceptedTypes.contains(nType)) {
        qCDebug(lcPageCommand) << "Ignored a page request of type" << nType;
        return false;
    }
    KVCommandAction *pAction = nullptr;
    if (nType == 1)
        pAction = insertAction(ctx, request);
    else if (nType == 33)
        pAction = selectAction(ctx, request);
    else if (nType == 1000 || (nType == 92 && carriesCodes(request)))
        pAction = geometryAction(ctx, request);
    else if (kElementGroupTypes.contains(nType))
        pAction = elementAction(ctx, request);
    else
        pAction = plainAction(ctx, request);
    if (!pAction)
        return false;
    // The page has already moved the breakpoint: the model follows now, the action keeps the value
    // it had for the undo, and the first execution only tells the other views.
    if (nType == 91) {
        if (!KVLayoutActions::apply(*pAction, true)) {
            delete pAction;
            return false;
        }
        pAction->setSkipNextRedo(true);
    }
    KVElement *pElement = pAction->param(0) ? pAction->param(0)->element() : nullptr;
    if (ctx.strFirstText.isEmpty())
        ctx.strFirstText = defaultText(nType, pElement);
    const bool bGeometry = pAction->type() == 1000;
    // A value stored at a responsive layout needs the element's property object for that layout.
    if (bGeometry && pElement && !ctx.layout.isBase()) {
        auto *pLayout = new KVCommandAction(101, ctx.pDocument, 4);
        pLayout->addParam(P::makeObject(P::Element, pElement));
        pLayout->addParam(P::makeInt(ctx.layout.nHLayoutId));
        pLayout->addParam(P::makeInt(ctx.layout.nVLayoutId));
        pLayout->addParam(P::makeBool(false));
        ctx.pCommand->addAction(pLayout);
    }
    if (bGeometry && pElement && !recordsKeyframes(ctx))
        ctx.pCommand->addAction(pAction);
    else if (bGeometry && pElement)
        addAutoKeyframes(ctx, pAction);
    else
        ctx.pCommand->addAction(pAction);
    // An animated element shows what its tracks give it at the current time again.
    KVTimeline *pTimeline = ctx.pScene->currentTimeline();
    KVAnimation *pAnimation = bGeometry && pElement && pTimeline ? pTimeline->findAnimation(pElement, ctx.layout) : nullptr;
    if (pAnimation) {
        auto *pRefresh = new KVCommandAction(93, ctx.pDocument, 2);
        pRefresh->addParam(P::makeObject(P::Animation, pAnimation));
        pRefresh->addParam(P::makeObject(P::Timeline, pTimeline));
        ctx.pCommand->addAction(pRefresh);
    }
    return true;
}

// 1: the element drawn in the page goes into the scene (or the group with the given id) at the
// index (appended when missing or negative).
KVCommandAction *KVPageCommandBuilder::insertAction(Context &ctx, KVUpdateViewInfo &request)
{
    KVCmdParamList params = takeParams(ctx, request);
    auto drop = qScopeGuard([&params] { qDeleteAll(params); });
    if (params.isEmpty() || params.first()->kind() != P::Element || !params.first()->element()) {
        qCDebug(lcPageCommand) << "Ignored an insert request without an element";
        return nullptr;
    }
    const int nIndex = params.size() > 1 && params.at(1)->kind() == P::Int ? params.at(1)->toInt() : -1;
    const int nParentId = params.size() > 2 && params.at(2)->kind() == P::Int ? params.at(2)->toInt() : 0;
    KVElement *pParent = nullptr;
    if (nParentId > 0 && nParentId != ctx.pScene->id()) {
        pParent = ctx.pScene->findElement(nParentId);
        if (!pParent || pParent->type() != KVElementType::Group) {
            qCDebug(lcPageCommand) << "Ignored an insert request into element" << nParentId << "which is no group here";
            return nullptr;
        }
    }
    auto *pAction = new KVCommandAction(1, ctx.pDocument, pParent ? 4 : 3);
    pAction->addParam(params.takeFirst()); // owned until the insertion runs
    pAction->addParam(P::makeInt(nIndex));
    pAction->addParam(P::makeObject(P::Scene, ctx.pScene));
    if (pParent)
        pAction->addParam(P::makeObject(P::Element, pParent));
    return pAction;
}

// 33: [element id, selected].
KVCommandAction *KVPageCommandBuilder::selectAction(Context &ctx, KVUpdateViewInfo &request)
{
    KVCmdParamList params = takeParams(ctx, request);
    auto drop = qScopeGuard([&params] { qDeleteAll(params); });
    if (params.size() != 2 || params.at(0)->kind() != P::Int || params.at(1)->kind() != P::Bool)
        return nullptr;
    KVElement *pElement = ctx.pScene->findElement(params.at(0)->toInt());
    if (!pElement) {
        qCDebug(lcPageCommand) << "Ignored a selection of element" << params.at(0)->toInt() << "which does not exist";
        return nullptr;
    }
    auto *pAction = new KVCommandAction(33, ctx.pDocument, 2);
    pAction->addParam(P::makeObject(P::Element, pElement));
    pAction->addParam(P::makeBool(params.at(1)->toBool()));
    return pAction;
}

// 1000 (and 92 from a page that names it so): [element id, (h, v, x)?, codes, values...]. The
// values are stored at the layout the page edits; at a responsive layout they become overrides.
KVCommandAction *KVPageCommandBuilder::geometryAction(Context &ctx, KVUpdateViewInfo &request)
{
    KVCmdParamList params = takeParams(ctx, request);
    auto drop = qScopeGuard([&params] { qDeleteAll(params); });
    KVElement *pElement = namedElement(ctx.pScene, params, "a geometry change");
    if (!pElement)
        return nullptr;
    int nCodes = -1;
    for (int i = 1; i < params.size() && nCodes < 0; ++i) {
        if (params.at(i)->kind() == P::IntList)
            nCodes = i;
    }
    if (nCodes < 0)
        return nullptr;
    const QList<int> codes = params.at(nCodes)->toIntList();
    if (params.size() - nCodes - 1 != codes.size()) {
        qCDebug(lcPageCommand) << "Ignored a geometry change with" << codes.size() << "codes and"
                               << params.size() - nCodes - 1 << "values";
        return nullptr;
    }
    auto *pAction = new KVElementCommandAction(1000, ctx.pDocument, codes.size() + 5);
    pAction->addParam(P::makeObject(P::Element, pElement));
    pAction->addParam(P::makeInt(ctx.layout.nHLayoutId));
    pAction->addParam(P::makeInt(ctx.layout.nVLayoutId));
    pAction->addParam(P::makeVariant(QVariant()));
    pAction->addParam(params.at(nCodes));
    params[nCodes] = nullptr;
    for (int i = 0; i < codes.size(); ++i) {
        KVCmdParam *pValue = params.at(nCodes + 1 + i);
        // The page writes whole numbers without a fraction; the action wants doubles for lengths.
        if (!KVElementCommandAction::isIntGeometryCode(codes.at(i)) && pValue->kind() == P::Int) {
            pAction->addParam(P::makeDouble(pValue->toInt()));
        } else if (KVElementCommandAction::isIntGeometryCode(codes.at(i)) && pValue->kind() == P::Double) {
            pAction->addParam(P::makeInt(qRound(pValue->toDouble())));
        } else {
            pAction->addParam(pValue);
            params[nCodes + 1 + i] = nullptr;
        }
    }
    return pAction;
}

// 1008, 1009, 1037, 1038: the element id stands for the element; the group's values follow as the
// page sent them.
KVCommandAction *KVPageCommandBuilder::elementAction(Context &ctx, KVUpdateViewInfo &request)
{
    KVCmdParamList params = takeParams(ctx, request);
    auto drop = qScopeGuard([&params] { qDeleteAll(params); });
    KVElement *pElement = namedElement(ctx.pScene, params, "a change");
    if (!pElement)
        return nullptr;
    if ((request.type() == 1037 || request.type() == 1038) && pElement->type() != KVElementType::Freeform)
        return nullptr;
    const int nType = request.type();
    auto *pAction = new KVElementCommandAction(nType, ctx.pDocument, 19);
    pAction->addParam(P::makeObject(P::Element, pElement));
    const auto layoutTail = [&ctx, pAction] {
        // At a responsive layout the group becomes an override there.
        pAction->addParam(P::makeBool(false));
        pAction->addParam(P::makeInt(ctx.layout.nHLayoutId));
        pAction->addParam(P::makeInt(ctx.layout.nVLayoutId));
    };
    if (nType == 1008 && params.size() == 2 && params.at(1)->kind() == P::String) {
        // The page edits the text itself; the format stays as the element has it.
        auto *pText = qobject_cast<KVText *>(pElement);
        KVTextProperty *p = pText ? pText->textProperty(ctx.layout) : nullptr;
        if (!p) {
            delete pAction;
            return nullptr;
        }
        pAction->addParam(P::makeString(params.at(1)->toString()));
        pAction->addParam(P::makeString(p->fontFamily()));
        pAction->addParam(P::makeInt(p->fontSize()));
        pAction->addParam(P::makeInt(int(p->foreground().rgba())));
        pAction->addParam(P::makeInt(int(p->highlight().rgba())));
        for (bool b : {p->isBold(), p->isItalic(), p->isUnderline(), p->isStrikeout()})
            pAction->addParam(P::makeBool(b));
        pAction->addParam(P::makeInt(p->alignH()));
        pAction->addParam(P::makeInt(p->alignV()));
        pAction->addParam(P::makeDouble(p->lineHeight()));
        for (int n : {p->textIndent(), p->wordSpace(), p->letterSpace()})
            pAction->addParam(P::makeInt(n));
        layoutTail();
    } else if (nType == 1009 && params.size() == 2 && params.at(1)->kind() == P::JsonArray) {
        appendParams(pAction, params, 1);
        layoutTail();
    } else if ((nType == 1037 || nType == 1038) && params.size() == 2 && params.at(1)->kind() == P::JsonObject) {
        pAction->addParam(P::makeJsonObject(outlineFromPage(params.at(1)->toJsonObject())));
        if (nType == 1037)
            layoutTail();
    } else {
        // The group's full parameter list, as the action takes it.
        appendParams(pAction, params, 1);
    }
    return pAction;
}

// Container size and breakpoint updates get the container's layout data first; anchor-point edits
// go as the page sent them.
KVCommandAction *KVPageCommandBuilder::plainAction(Context &ctx, KVUpdateViewInfo &request)
{
    KVCmdParamList params = takeParams(ctx, request);
    auto drop = qScopeGuard([&params] { qDeleteAll(params); });
    auto *pAction = new KVCommandAction(request.type(), ctx.pDocument, params.size() + 1);
    if (kLayoutDataTypes.contains(request.type()))
        pAction->addParam(P::makeObject(P::LayoutData, ctx.pContainer->breakpoints()));
    if (kMotionPathTypes.contains(request.type())) {
        // The element's motion path on the scene's current timeline, at the layout being edited.
        KVElement *pElement = !params.isEmpty() && params.first()->kind() == P::Int
            ? ctx.pScene->findElement(params.first()->toInt()) : nullptr;
        KVTimeline *pTimeline = ctx.pScene->currentTimeline();
        KVAnimation *pAnimation = pElement && pTimeline ? pTimeline->findAnimation(pElement, ctx.layout) : nullptr;
        KVMotionPathKeyframe *pTrack = nullptr;
        for (KVKeyframe *pKeyframe : pAnimation ? pAnimation->keyframes() : QList<KVKeyframe *>()) {
            if (!pTrack)
                pTrack = qobject_cast<KVMotionPathKeyframe *>(pKeyframe);
        }
        if (!pTrack) {
            qCDebug(lcPageCommand) << "Ignored an anchor-point edit of an element without a motion path here";
            delete pAction;
            return nullptr;
        }
        pAction->addParam(P::makeObject(P::MotionPath, pTrack));
        delete params.takeFirst();
    }
    appendParams(pAction, params);
    return pAction;
}
