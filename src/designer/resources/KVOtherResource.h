#pragma once

#include "KVResource.h"

// A script, style sheet or HTML page. It is supplied as a file in the resource folder (imported, or
// written in the code editor) or refers to content elsewhere (an address, or a file linked where it
// lies); scripts and style sheets are included in the head of the exported page unless the user
// leaves them out.
class KVOtherResource : public KVResource
{
public:
    // How the resource is supplied. Addresses and linked files keep their location in the file name
    // and have no file in the resource folder.
    enum SubType {
        ImportedFile = 0,
        Address = 1,
        EditedCode = 2,
        LinkedFile = 3,
    };

    explicit KVOtherResource(int nType, const QString &strName = QString(),
                             const QString &strFileName = QString());

    QString fileReference() const override;
    QStringList storedFiles() const override;
    KVResource *clone() const override;
    void writeKindJson(QJsonObject &jo) const override;
    void readKindJson(const QJsonObject &jo) override;

    int resourceType() const { return m_nResourceType; }
    void setResourceType(int nResourceType) { m_nResourceType = nResourceType; }
    bool hasFolderFile() const { return !hasNoFolderFile(m_nResourceType); }
    static bool hasNoFolderFile(int nResourceType) { return nResourceType == Address || nResourceType == LinkedFile; }

    bool includeHeader() const { return m_bIncludeHeader; }
    void setIncludeHeader(bool bInclude) { m_bIncludeHeader = bInclude; }

    // The text being edited and the MD5 digest (lower-case hex) of the text last loaded or saved, by
    // which the editor tells whether it changed.
    QString content() const { return m_strContent; }
    void setContent(const QString &strContent) { m_strContent = strContent; }
    QString contentDigest() const { return m_strContentMd5; }
    // Takes the text and remembers its digest as the unchanged state.
    void setSavedContent(const QString &strContent);
    bool isContentModified() const { return digestOf(m_strContent) != m_strContentMd5; }
    static QString digestOf(const QString &strContent);

protected:
    KVOtherResource(const KVOtherResource &other) = default;

private:
    int m_nResourceType = ImportedFile;
    bool m_bIncludeHeader = true;
    QString m_strContent;
    QString m_strContentMd5;
};
