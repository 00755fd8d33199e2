#include "ui/inspector/KVInspectorPage.h"

#include "commands/KVEditContext.h"
#include "commands/KVInspectorOperation.h"
#include "commands/KVPropertyGroup.h"
#include "ui/IUi.h"
#include "ui/inspector/KVFieldSpec.h"
#include "ui/inspector/KVInspector.h"
#include "ui/inspector/KVInspectorField.h"

#include <QGridLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using G = KVPropertyGroup;

// Directions of the shadow presets: the angle (0 right, 90 down) the shadow falls to.
struct ShadowPreset
{
    const char *pszName;
    const char *pszIcon;
    int nAngle;
};
const ShadowPreset kShadowPresets[] = {
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Top Left"), "shadow_top_left", 225},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Top"), "shadow_top", 270},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Top Right"), "shadow_top_right", 315},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Bottom Left"), "shadow_bottom_left", 135},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Bottom"), "shadow_bottom", 90},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Bottom Right"), "shadow_bottom_right", 45},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Right"), "shadow_right", 0},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Left"), "shadow_left", 180},
};

// Filter presets: invert, hue, contrast, brightness, saturate, sepia, grayscale (fractions but
// hue in degrees), blur in pixels. The first is the default of a new element.
struct FilterPreset
{
    const char *pszName;
    double values[8];
};
const FilterPreset kFilterPresets[] = {
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Default"), {0, 0, 1, 1, 1, 0, 0, 0}},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Lively Color"), {0, 0, 1.1, 1.05, 1.6, 0, 0, 0}},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Yellow Boost"), {0, 0, 1, 1.1, 1.3, 0.3, 0, 0}},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Old Style"), {0, 0, 0.9, 1, 0.6, 0.7, 0.2, 0}},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Blur"), {0, 0, 1, 1, 1, 0, 0, 3}},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Hue 180"), {0, 180, 1, 1, 1, 0, 0, 0}},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Invert"), {1, 0, 1, 1, 1, 0, 0, 0}},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Sepia"), {0, 0, 1, 1, 1, 1, 0, 0}},
    {QT_TRANSLATE_NOOP("KVInspectorPage", "Grayscale"), {0, 0, 1, 1, 1, 0, 1, 0}},
};

} // namespace

KVInspectorPage::KVInspectorPage(int nPageId, KVInspector *pInspector, QWidget *pParent)
    : QWidget(pParent)
    , m_nPageId(nPageId)
    , m_pInspector(pInspector)
{
    setObjectName(QStringLiteral("inspectorPage%1").arg(nPageId));
    auto *pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(8, 4, 4, 6);
    pLayout->setSpacing(3);
    for (const KVFieldSpec &spec : KVFieldSpec::forPage(nPageId)) {
        auto *pField = new KVInspectorField(spec, pInspector, this);
        m_fields.append(pField);
        pLayout->addWidget(pField);
    }
    addPresets();
}

KVInspectorField *KVInspectorPage::field(int nGroup, int nField) const
{
    for (KVInspectorField *pField : m_fields) {
        if (pField->spec().nGroup == nGroup && pField->spec().nField == nField)
            return pField;
    }
    return nullptr;
}

void KVInspectorPage::addPresets()
{
    auto *pLayout = static_cast<QVBoxLayout *>(layout());
    if (m_nPageId == 16) {
        auto *pGrid = new QGridLayout;
        for (int i = 0; i < 8; ++i) {
            auto *pButton = new QToolButton(this);
            const QString strName = QCoreApplication::translate("KVInspectorPage", kShadowPresets[i].pszName);
            pButton->setToolTip(strName);
            pButton->setText(strName);
            pButton->setIcon(IUi::getInstance()->icon(QStringLiteral("shadow/") + QLatin1String(kShadowPresets[i].pszIcon)));
            pButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            connect(pButton, &QToolButton::clicked, this, [this, i] { applyShadowPreset(i); });
            pGrid->addWidget(pButton, i / 4, i % 4);
        }
        pLayout->addLayout(pGrid);
    } else if (m_nPageId == 17) {
        auto *pGrid = new QGridLayout;
        for (int i = 0; i < 9; ++i) {
            auto *pButton = new QToolButton(this);
            const QString strName = QCoreApplication::translate("KVInspectorPage", kFilterPresets[i].pszName);
            pButton->setToolTip(strName);
            pButton->setText(strName);
            pButton->setIcon(IUi::getInstance()->icon(QStringLiteral("filter/filter_%1").arg(i + 1)));
            pButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            connect(pButton, &QToolButton::clicked, this, [this, i] { applyFilterPreset(i); });
            pGrid->addWidget(pButton, i / 3, i % 3);
        }
        pLayout->addLayout(pGrid);
        auto *pReset = new QPushButton(tr("Reset Filter"), this);
        connect(pReset, &QPushButton::clicked, this, [this] { applyFilterPreset(0); });
        pLayout->addWidget(pReset);
    }
}

void KVInspectorPage::refresh()
{
    for (KVInspectorField *pField : qAsConst(m_fields))
        pField->refresh();
}

void KVInspectorPage::onResetWidgetCmdSrc()
{
    m_pInspector->processCommand(nullptr, nullptr);
}

void KVInspectorPage::applyShadowPreset(int nPreset)
{
    if (nPreset < 0 || nPreset >= 8)
        return;
    QMap<int, QVariant> fields{{G::ShadowStyle, 1}, {G::ShadowAngle, kShadowPresets[nPreset].nAngle}};
    // A shadow that had no size yet gets one that shows.
    for (KVElement *pElement : m_pInspector->selection()) {
        const QVariantList values = G::values(pElement, G::Shadow, m_pInspector->layout());
        if (values.size() > G::ShadowDistance && values.at(G::ShadowDistance).toInt() == 0) {
            fields.insert(G::ShadowDistance, 5);
            fields.insert(G::ShadowBlur, qMax(5, values.at(G::ShadowBlur).toInt()));
        }
    }
    m_pInspector->processCommand(KVInspectorOperation::setGroupFields(m_pInspector->context(), G::Shadow, fields, tr("Update Shadow")),
                                 this);
}

void KVInspectorPage::applyFilterPreset(int nPreset)
{
    if (nPreset < 0 || nPreset >= 9)
        return;
    QMap<int, QVariant> fields;
    const QList<int> kinds = G::kinds(G::Filter);
    for (int i = 0; i < 8; ++i) {
        const double d = kFilterPresets[nPreset].values[i];
        fields.insert(i, kinds.at(i) == 1 ? QVariant(qRound(d)) : QVariant(d));
    }
    const QString strText = nPreset == 0 ? tr("Reset Filter") : QCoreApplication::translate("KVInspectorPage", kFilterPresets[nPreset].pszName);
    m_pInspector->processCommand(KVInspectorOperation::setGroupFields(m_pInspector->context(), G::Filter, fields, strText), this);
}
