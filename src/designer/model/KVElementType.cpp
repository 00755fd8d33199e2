#include "KVElementType.h"

#include <array>

namespace {
constexpr std::array<const char *, 12> kNames = {
    "Image", "Audio", "Video", "HTML_Widget", "Text", "Div",
    "Group", "Symbol", "Scene", "Shape", "Component", "Freeform",
};
} // namespace

namespace KVElementType {

bool isValid(int nType)
{
    return nType >= First && nType <= Last;
}

QString name(int nType)
{
    return isValid(nType) ? QString::fromLatin1(kNames[size_t(nType)]) : QString();
}

int fromName(const QString &strName)
{
    for (int i = First; i <= Last; ++i) {
        if (strName == QLatin1String(kNames[size_t(i)]))
            return i;
    }
    return -1;
}

} // namespace KVElementType
