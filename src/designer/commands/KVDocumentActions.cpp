#include "commands/KVDocumentActions.h"

#include "Reporter.h"
#include "commands/IKVCommandTarget.h"
#include "commands/KVCommandAction.h"
#include "document/KVDocumentSettings.h"
#include "document/KVPreloader.h"
#include "resources/KVResource.h"

#include <QCoreApplication>
#include <QJsonObject>

namespace {

using P = KVCmdParam;

template <typename T>
void exchangeValue(KVCmdParam *pParam, T &field, const T &value)
{
    const T old = field;
    field = value;
    pParam->setValue(QVariant::fromValue(old));
}

KVLoadingIndicator *indicatorOf(IKVCommandTarget *pTarget)
{
    if (KVPreloader *pPreloader = pTarget->commandPreloader())
        return &pPreloader->loadingIndicator();
    KVDocumentSettings *pSettings = pTarget->commandSettings();
    return pSettings ? &pSettings->m_defaultLoadingIndicator : nullptr;
}

bool applyPreloader(KVCommandAction &a, KVDocumentSettings *pSettings)
{
    IKVCommandTarget *pTarget = a.document();
    switch (a.type()) {
    case 70:
        if (!pSettings || !a.hasKinds({P::Int}))
            return false;
        exchangeValue(a.param(0), pSettings->m_nLoaderType, a.param(0)->toInt());
        return true;
    case 71: {
        KVLoadingIndicator *pIndicator = indicatorOf(pTarget);
        if (!pIndicator || !a.hasKinds({P::JsonObject}) || a.param(0)->toJsonObject().isEmpty())
            return false;
        const QJsonObject joOld = pIndicator->toJson();
        *pIndicator = KVLoadingIndicator::fromJson(a.param(0)->toJsonObject());
        a.param(0)->setValue(joOld);
        return true;
    }
    case 72:
        if (!pSettings || !a.hasKinds({P::Bool}))
            return false;
        exchangeValue(a.param(0), pSettings->m_bHasCustomLoader, a.param(0)->toBool());
        return true;
    default: {
        KVPreloader *pPreloader = pTarget->commandPreloader();
        if (!pPreloader || !a.hasKinds({P::Bool}))
            return false;
        const bool bOld = pPreloader->useLoadingIndicator();
        pPreloader->setUseLoadingIndicator(a.param(0)->toBool());
        a.param(0)->setValue(bOld);
        return true;
    }
    }
}

} // namespace

bool KVDocumentActions::handles(int nType)
{
    return nType == 62 || nType == 68 || (nType >= 70 && nType <= 73) || (nType >= 94 && nType <= 100) || nType == 64;
}

bool KVDocumentActions::apply(KVCommandAction &a)
{
    if (!a.document())
        return false;
    if (a.type() == 62) {
        if (!a.hasKinds({P::Int}))
            return false;
        KVResource *pOld = a.document()->editedSymbolResource();
        const int nOld = pOld ? pOld->id() : -1;
        if (!a.document()->setEditedSymbol(a.param(0)->toInt()))
            return false;
        a.param(0)->setValue(nOld);
        return true;
    }
    KVDocumentSettings *pSettings = a.document()->commandSettings();
    if (a.type() >= 70 && a.type() <= 73)
        return applyPreloader(a, pSettings);
    if (!pSettings)
        return false;
    KVDocumentSettings &s = *pSettings;
    switch (a.type()) {
    case 68:
    case 94:
        if (!a.hasKinds({P::Bool}))
            return false;
        exchangeValue(a.param(0), a.type() == 68 ? s.m_bAutoplay : s.m_bEmbedSystemFont, a.param(0)->toBool());
        return true;
    case 96:
        if (!a.hasKinds({P::Int, P::Int}))
            return false;
        exchangeValue(a.param(0), s.m_nViewportWMeta, a.param(0)->toInt());
        exchangeValue(a.param(1), s.m_nViewportHMeta, a.param(1)->toInt());
        return true;
    case 97:
        if (!a.hasKinds({P::String}))
            return false;
        if (!KVDocumentSettings::isHtmlId(a.param(0)->toString())) {
            Reporter::error(KVDocumentSettings::containerIdMessage(a.param(0)->toString()));
            return false;
        }
        exchangeValue(a.param(0), s.m_strContainerId, a.param(0)->toString());
        return true;
    case 64: // the click-tag variable of an ad
        if (!a.hasKinds({P::String}))
            return false;
        if (!KVDocumentSettings::isClickTagName(a.param(0)->toString())) {
            Reporter::error(QCoreApplication::translate("KVDocumentActions",
                                                        "The click tag \"%1\" is not a JavaScript name: use letters, "
                                                        "digits, \"_\" and \"$\", not starting with a digit.")
                                .arg(a.param(0)->toString()));
            return false;
        }
        exchangeValue(a.param(0), s.m_strClickTag, a.param(0)->toString());
        return true;
    default: {
        if (!a.hasKinds({P::String}))
            return false;
        QString *pField = a.type() == 95 ? &s.m_strResFolderHtml5Output
                        : a.type() == 98 ? &s.m_strPreResFolderHtml5Output
                        : a.type() == 99 ? &s.m_strHtmlOutput
                                         : &s.m_strCssDoc;
        exchangeValue(a.param(0), *pField, a.param(0)->toString());
        return true;
    }
    }
}

QJsonArray KVDocumentActions::pageParams(int nType, const KVCmdParamList &params, IKVCommandTarget *pDocument,
                                         bool &bPrepared)
{
    Q_UNUSED(params)
    QJsonArray ja;
    bPrepared = nType == 72 || nType == 73;
    if (!bPrepared || !pDocument)
        return ja;
    // The preloader's data: its kind, whether the project uses one, and the indicator it shows.
    KVDocumentSettings *pSettings = pDocument->commandSettings();
    KVPreloader *pPreloader = pDocument->commandPreloader();
    KVLoadingIndicator *pIndicator = indicatorOf(pDocument);
    QJsonObject jo;
    if (pSettings) {
        jo.insert(QStringLiteral("custom"), pSettings->m_bHasCustomLoader);
        jo.insert(QStringLiteral("type"), pSettings->m_nLoaderType);
    }
    if (pIndicator)
        jo.insert(QStringLiteral("indicator"), pIndicator->toJson());
    const QJsonObject joParam{{QStringLiteral("type"), P::JsonObject}, {QStringLiteral("value"), jo}};
    if (nType == 72) {
        ja.append(joParam);
        return ja;
    }
    const bool bShown = pPreloader && pPreloader->useLoadingIndicator();
    ja.append(QJsonObject{{QStringLiteral("type"), P::Bool}, {QStringLiteral("value"), bShown}});
    if (bShown)
        ja.append(joParam);
    return ja;
}
