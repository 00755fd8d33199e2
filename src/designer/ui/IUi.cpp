#include "IUi.h"

#include <QFileInfo>

IUi::IUi() = default;

QString IUi::fileName(const QString &strName, int nSizeCode, bool bDisabled)
{
    static const char *const suffixes[] = {"", "_12", "_16", "_24", "_32", "_48", "_64"};
    const char *suffix = nSizeCode >= 1 && nSizeCode <= 6 ? suffixes[nSizeCode] : "";
    return QStringLiteral("%1%2%3.png")
        .arg(strName, QString::fromLatin1(suffix), bDisabled ? QStringLiteral("_d") : QString());
}

QPixmap IUi::pixmap(const QString &strName, int nSizeCode, bool bDisabled)
{
    const QString path = QFileInfo(m_strFolder + fileName(strName, nSizeCode, bDisabled)).absoluteFilePath();
    auto it = m_cache.constFind(path);
    if (it != m_cache.cend())
        return *it;
    QPixmap pm(path);
    m_cache.insert(path, pm);
    return pm;
}

QIcon IUi::icon(const QString &strName, int nSizeCode)
{
    QIcon icon;
    const QPixmap normal = pixmap(strName, nSizeCode, false);
    if (!normal.isNull())
        icon.addPixmap(normal, QIcon::Normal);
    const QPixmap disabled = pixmap(strName, nSizeCode, true);
    if (!disabled.isNull())
        icon.addPixmap(disabled, QIcon::Disabled);
    return icon;
}
