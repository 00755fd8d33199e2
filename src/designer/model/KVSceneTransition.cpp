#include "KVSceneTransition.h"

#include <QCoreApplication>

namespace {

const char *const kTypeNames[KVSceneTransition::TypeCount] = {
    QT_TRANSLATE_NOOP("KVSceneTransition", "None"),  QT_TRANSLATE_NOOP("KVSceneTransition", "Fade"),
    QT_TRANSLATE_NOOP("KVSceneTransition", "Push"),  QT_TRANSLATE_NOOP("KVSceneTransition", "Wipe"),
    QT_TRANSLATE_NOOP("KVSceneTransition", "Cover"), QT_TRANSLATE_NOOP("KVSceneTransition", "Uncover"),
};

const char *const kDirectionNames[KVSceneTransition::DirectionCount] = {
    QT_TRANSLATE_NOOP("KVSceneTransition", "From Left"),
    QT_TRANSLATE_NOOP("KVSceneTransition", "From Top"),
    QT_TRANSLATE_NOOP("KVSceneTransition", "From Right"),
    QT_TRANSLATE_NOOP("KVSceneTransition", "From Bottom"),
    QT_TRANSLATE_NOOP("KVSceneTransition", "From Top Left"),
    QT_TRANSLATE_NOOP("KVSceneTransition", "From Top Right"),
    QT_TRANSLATE_NOOP("KVSceneTransition", "From Bottom Left"),
    QT_TRANSLATE_NOOP("KVSceneTransition", "From Bottom Right"),
};

const char *typeText(int nType)
{
    return nType >= 0 && nType < KVSceneTransition::TypeCount ? kTypeNames[nType] : nullptr;
}

const char *directionText(int nDirection)
{
    return nDirection >= 0 && nDirection < KVSceneTransition::DirectionCount
        ? kDirectionNames[nDirection]
        : nullptr;
}

} // namespace

namespace KVSceneTransition {

QString typeName(int nType)
{
    const char *psz = typeText(nType);
    return psz ? QCoreApplication::translate("KVSceneTransition", psz) : QString();
}

QString directionName(int nDirection)
{
    const char *psz = directionText(nDirection);
    return psz ? QCoreApplication::translate("KVSceneTransition", psz) : QString();
}

QString typeSourceName(int nType)
{
    return QString::fromLatin1(typeText(nType));
}

QString directionSourceName(int nDirection)
{
    return QString::fromLatin1(directionText(nDirection));
}

bool hasDuration(int nType)
{
    return nType > None && nType < TypeCount;
}

bool hasEasing(int nType)
{
    return hasDuration(nType);
}

bool hasDirection(int nType)
{
    return nType >= Push && nType < TypeCount;
}

QJsonArray toPlayerArray(int nType, int nDuration, int nEasing, int nDirection)
{
    QJsonArray ja{nType, nDuration};
    if (nType == Fade) {
        ja.append(nEasing);
    } else if (nType == Push) {
        ja.append(nEasing);
        ja.append(nDirection);
    }
    return ja;
}

} // namespace KVSceneTransition
