#pragma once

#include "model/ISingleton.h"

#include <QHash>
#include <QIcon>
#include <QPixmap>

// Makes icons from a name and a size code: the pixmap file is "<name><size suffix><state>.png"
// in the image folder, with the suffix "_12" ... "_64" for size codes 1 to 6 (none otherwise) and
// the state "" (normal) or "_d" (disabled). Pixmaps are cached by absolute path.
class IUi : public ISingleton<IUi>
{
public:
    enum SizeCode { Default = 0, Size12 = 1, Size16 = 2, Size24 = 3, Size32 = 4, Size48 = 5, Size64 = 6 };

    IUi();

    QIcon icon(const QString &strName, int nSizeCode = Default);
    QPixmap pixmap(const QString &strName, int nSizeCode = Default, bool bDisabled = false);

    void setImageFolder(const QString &strFolder) { m_strFolder = strFolder; }
    QString imageFolder() const { return m_strFolder; }
    static QString fileName(const QString &strName, int nSizeCode, bool bDisabled);
    int cachedPixmaps() const { return m_cache.size(); }

private:
    QString m_strFolder = QStringLiteral(":/designer/images/");
    QHash<QString, QPixmap> m_cache;
};
