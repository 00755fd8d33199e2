#include "ui/inspector/KVInspectorPageInfo.h"

#include "commands/KVCommandAction.h"
#include "commands/KVUpdateViewInfo.h"
#include "model/KVAutoShape.h"
#include "model/KVAutoShapeCatalogue.h"
#include "model/KVElement.h"
#include "model/KVElementType.h"
#include "ui/inspector/KVFieldSpec.h"
#include "ui/inspector/KVInspectorPage.h"

#include <algorithm>

namespace {

namespace T = KVElementType;

bool isLineShape(const KVElement *p)
{
    if (p->type() != T::Freeform)
        return false;
    auto *pShape = qobject_cast<const KVAutoShape *>(p);
    const int nShape = pShape ? pShape->shapeType() : 0;
    return nShape >= 590 && nShape <= 592;
}

template <typename Fn>
bool every(const QList<KVElement *> &list, Fn fn)
{
    return !list.isEmpty() && std::all_of(list.cbegin(), list.cend(), fn);
}

template <typename Fn>
bool none(const QList<KVElement *> &list, Fn fn)
{
    return std::none_of(list.cbegin(), list.cend(), fn);
}

bool isType(const KVElement *p, std::initializer_list<int> types)
{
    return std::find(types.begin(), types.end(), p->type()) != types.end();
}

} // namespace

KVInspectorPageInfo::KVInspectorPageInfo(int nPageId, const QString &strTitle, KVInspector *pInspector)
    : m_nPageId(nPageId)
    , m_strTitle(strTitle)
    , m_pInspector(pInspector)
    , m_updateTypes(KVFieldSpec::updateTypes(nPageId))
{
}

KVInspectorPageInfo::~KVInspectorPageInfo() = default;

KVInspectorPage *KVInspectorPageInfo::page() const
{
    return m_pPage.data();
}

bool KVInspectorPageInfo::isAvailableFor(const QList<KVElement *> &s, bool bSceneShown) const
{
    const bool bAny = !s.isEmpty();
    switch (m_nPageId) {
    case 3: case 4: case 5:
        return bAny;
    case 10: case 18: case 12:
        return !bAny && bSceneShown;
    case 7:
        return every(s, [](const KVElement *p) { return p->type() == T::Image; });
    case 8:
        return every(s, [](const KVElement *p) { return isType(p, {T::Audio, T::Video}); });
    case 14:
        return every(s, [](const KVElement *p) { return p->type() == T::HTML_Widget; });
    case 9:
        return every(s, [](const KVElement *p) {
            return isType(p, {T::Text, T::Div, T::Shape, T::Freeform}) && !isLineShape(p);
        });
    case 13:
        return every(s, [](const KVElement *p) { return p->type() == T::Div; });
    case 6:
        if (!bAny)
            return bSceneShown;
        return none(s, [](const KVElement *p) {
            return isType(p, {T::Symbol, T::Audio, T::Video, T::HTML_Widget}) || isLineShape(p);
        });
    case 1: case 16: case 17: case 15:
        return bAny && none(s, [](const KVElement *p) { return isType(p, {T::Symbol, T::Audio, T::Scene}); });
    default:
        return false;
    }
}

void KVInspectorPageInfo::noteUpdate(const KVUpdateViewInfo &info)
{
    const int nType = info.type();
    // Keys added, moved or removed and the time moving change what an animated field shows.
    const bool bKeys = (nType >= 17 && nType <= 28) || nType == KVCommandAction::TimeNotice || nType == 93;
    if (bKeys || m_updateTypes.contains(nType) || nType == 1040 || nType == 1045 || nType == 83 || nType == 84
        || nType == 85 || nType == 92) {
        m_bDirty = true;
    }
}

KVInspectorPage *KVInspectorPageInfo::createPage(QWidget *pParent)
{
    if (!m_pPage)
        m_pPage = new KVInspectorPage(m_nPageId, m_pInspector, pParent);
    return m_pPage;
}
