#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QUuid>

// A file that the project uses: an image or a symbol as a plain KVResource, audio and video as
// MediaResource, fonts as KVFontResource, scripts, style sheets and pages as KVOtherResource. The
// resource manager owns every resource; elements and fills point at them and hold use counts.
class KVResource
{
public:
    KVResource(int nType, const QString &strName = QString(), const QString &strFileName = QString());
    virtual ~KVResource();

    // The address of the resource's content: its file name in the resource folder (the canvas page
    // asks for "resource://" followed by it), or the address of a resource without a file there.
    virtual QString fileReference() const;
    // The names of the files this resource keeps in the resource folder (empty when it has none).
    virtual QStringList storedFiles() const;
    // The text naming the kind in the resources panel's export dialog.
    virtual QString kindText() const;
    // An exact copy: same id, uuid, names, files and counts (a copy between documents resets what
    // the target needs through the manager).
    virtual KVResource *clone() const;
    // Writes and reads the keys a kind adds to the project form of the common keys.
    virtual void writeKindJson(QJsonObject &jo) const;
    virtual void readKindJson(const QJsonObject &jo);

    int id() const { return m_nId; }
    void setId(int nId) { m_nId = nId; }
    QUuid uuid() const { return m_uuid; }
    void setUuid(const QUuid &uuid) { m_uuid = uuid; }
    int type() const { return m_nType; }
    QString name() const { return m_strName; }
    void setName(const QString &strName) { m_strName = strName; }
    QString fileName() const { return m_strFileName; }
    void setFileName(const QString &strFileName) { m_strFileName = strFileName; }
    // Where the file was imported from (the resources panel refreshes the resource from it).
    QString originalPath() const { return m_strOriginalPath; }
    void setOriginalPath(const QString &strPath) { m_strOriginalPath = strPath; }
    bool isDeleted() const { return m_bDeleted; }
    void setDeleted(bool bDeleted) { m_bDeleted = bDeleted; }
    int useCount() const { return m_nUseCount; }
    // Take and give back one use count; the count never goes below zero.
    void retain();
    void release();
    bool isInUse() const { return m_nUseCount > 0; }
    qint64 dataSize() const { return m_nDataSize; }
    void setDataSize(qint64 nSize) { m_nDataSize = nSize; }

    // The address under which the canvas page asks for the content ("resource://" + reference).
    QString canvasUrl() const { return QStringLiteral("resource://%1").arg(fileReference()); }

    // Whether the resource keeps its content in the resource folder (false for addresses).
    bool hasStoredFile() const { return !storedFiles().isEmpty(); }

    // The project form: common keys, then the kind's own (the use count is not stored).
    QJsonObject toJson() const;
    // Reads the common keys and the kind's own; the type was chosen by whoever created the object.
    void fromJson(const QJsonObject &jo);

    // Creates an empty resource of the class that a type code needs, null for an unknown type.
    static KVResource *create(int nType);

protected:
    KVResource(const KVResource &other) = default;
    KVResource &operator=(const KVResource &) = delete;

private:
    int m_nId = -1;
    QUuid m_uuid;
    int m_nType = 0;
    QString m_strName;
    QString m_strFileName;
    QString m_strOriginalPath;
    bool m_bDeleted = false;
    int m_nUseCount = 0;
    qint64 m_nDataSize = 0;
};
