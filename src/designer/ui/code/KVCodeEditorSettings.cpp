#include "KVCodeEditorSettings.h"

#include "KVSyntaxHighlighter.h"

#include "PluginManager.h"

#include <QPointer>
#include <QSettings>

namespace {
const QString kGroup = QStringLiteral("FunctionEditor");

QSettings *store()
{
    return ExtensionSystem::PluginManager::settings();
}
} // namespace

KVCodeEditorSettings *KVCodeEditorSettings::getInstance()
{
    static QPointer<KVCodeEditorSettings> s_pInstance;
    if (!s_pInstance)
        s_pInstance = new KVCodeEditorSettings;
    return s_pInstance;
}

QStringList KVCodeEditorSettings::switchKeys()
{
    return {QStringLiteral("code_suggestion"), QStringLiteral("code_folding"),  QStringLiteral("text_wrap"),
            QStringLiteral("show_line_number"), QStringLiteral("bracket_match"), QStringLiteral("prebuilt_function")};
}

bool KVCodeEditorSettings::value(const QString &strKey) const
{
    // Everything starts on but line wrapping and the list of the player's functions.
    const bool bDefault = strKey != QLatin1String("text_wrap") && strKey != QLatin1String("prebuilt_function");
    QSettings *pSettings = store();
    return pSettings ? pSettings->value(kGroup + QLatin1Char('/') + strKey, bDefault).toBool() : bDefault;
}

void KVCodeEditorSettings::setValue(const QString &strKey, bool bOn)
{
    if (QSettings *pSettings = store())
        pSettings->setValue(kGroup + QLatin1Char('/') + strKey, bOn);
    emit changed();
}

QHash<QString, QColor> KVCodeEditorSettings::colors() const
{
    QHash<QString, QColor> colors = KVSyntaxHighlighter::defaultColors();
    QSettings *pSettings = store();
    const QVariantMap stored = pSettings ? pSettings->value(kGroup + QStringLiteral("/Color")).toMap() : QVariantMap();
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        const QColor color(it.value().toString());
        if (color.isValid() && colors.contains(it.key()))
            colors.insert(it.key(), color);
    }
    return colors;
}

void KVCodeEditorSettings::setColors(const QHash<QString, QColor> &colors)
{
    QVariantMap stored;
    for (auto it = colors.cbegin(); it != colors.cend(); ++it)
        stored.insert(it.key(), it.value().name());
    if (QSettings *pSettings = store())
        pSettings->setValue(kGroup + QStringLiteral("/Color"), stored);
    emit changed();
}

void KVCodeEditorSettings::reset()
{
    if (QSettings *pSettings = store())
        pSettings->remove(kGroup);
    emit changed();
}
