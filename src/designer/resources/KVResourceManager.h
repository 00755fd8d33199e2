#pragma once

#include "model/KVImageUseCounter.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QJsonArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSize>
#include <QStringList>
#include <QUuid>

#include <functional>

class IKVDocumentContext;
class KVOtherResource;
class KVResource;
class MediaResource;

// The resources of one document. It owns them, gives them ids, counts their uses, names their files
// in the resource folder ("<base>_res" beside the project file), copies imported files there, keeps
// the order in which scripts and style sheets are included in the exported page, and writes the
// resource lists of the project file and of the player data.
//
// Removing a resource only marks it deleted: it stays here (with its file) so that undo can bring it
// back, and is left out of everything written. Holders (fills, elements) keep pointers to resources
// and one use count each; a resource in use cannot be removed.
class KVResourceManager : public QObject, public KVImageUseCounter
{
    Q_OBJECT
public:
    explicit KVResourceManager(const IKVDocumentContext *pContext = nullptr, QObject *pParent = nullptr);
    ~KVResourceManager() override;

    const IKVDocumentContext *context() const { return m_pContext; }
    void setContext(const IKVDocumentContext *pContext) { m_pContext = pContext; }

    // Folders (absolute; empty while the document has no file).
    QString resourceFolderPath() const;
    QString projectFolderPath() const;
    // Where a stored file name lies: in the resource folder, or, for an absolute name or a path of a
    // project read in a format before 2, where it says.
    QString absoluteFilePath(const QString &strFileName) const;
    // The path of a file relative to the project folder (the form of the document's owned files).
    QString relativeFilePath(const QString &strFileName) const;
    QString filePath(const KVResource *pResource) const;
    QStringList filePaths(const KVResource *pResource) const;
    // Whether a path (absolute, or relative to the project folder) lies in the resource folder.
    bool isInResourceFolder(const QString &strPath) const;
    // Creates the resource folder when missing; "The resources folder is undefined or
    // inaccessible." and false when there is none or it cannot be made.
    bool ensureResourceFolder() const;

    // ---- Keeping
    KVResource *resource(int nId) const { return m_resources.value(nId); }
    const QMap<int, KVResource *> &resourceMap() const { return m_resources; }
    // Every resource in id order, deleted ones included.
    QList<KVResource *> resources() const { return m_resources.values(); }
    // The resources that are not deleted, in id order, of one type or (-1) of all.
    QList<KVResource *> liveResources(int nType = -1) const;
    KVResource *resourceByUuid(const QUuid &uuid) const;
    // A resource that is not deleted and stores this file (case-insensitive), else null.
    KVResource *resourceByFileName(const QString &strFileName) const;
    // A resource that is not deleted, has this name (case-insensitive) and another id than nExceptId.
    KVResource *resourceByName(const QString &strName, int nExceptId = -1) const;

    // The id the next new resource gets; ids start at 1 and are never given twice.
    int nextId() const { return m_nNextId; }
    // The next id not in use. Ids count up from the highest read; after the largest an int holds
    // (a damaged file) they go on from 1, skipping those in use.
    int takeId();

    // Takes ownership. A resource without an id (-1), or whose id another resource has, gets a new
    // one. A resource already kept here is only undeleted. Scripts and style sheets go to the end of
    // their include order. Returns false (and keeps nothing) for a null pointer or an unknown type.
    bool addResource(KVResource *pResource);
    // Gives a resource back to the caller (it leaves the include order too); null for an unknown id.
    KVResource *takeResource(int nId);
    // Whether the resources may be removed: false, with "Cannot remove resources that are in use.",
    // when any of them is in use.
    bool canRemove(const QList<int> &ids) const;
    // Marks the resources deleted after canRemove() agreed; returns its answer.
    bool removeResources(const QList<int> &ids);
    // Marks or unmarks one resource, without the in-use check (the commands' undo and redo).
    bool setResourceDeleted(int nId, bool bDeleted);
    // Deletes every resource and resets the id counter.
    void clear();

    // ---- Use counts
    bool retainResource(int nId);
    bool releaseResource(int nId);
    // The resources that are not deleted and that nothing uses.
    QList<KVResource *> unusedResources() const;

    // KVImageUseCounter: what a fill with an image needs.
    bool hasImage(int nResourceId) const override;
    bool isDeleted(int nResourceId) const override;
    void acquire(int nResourceId) override;
    void release(int nResourceId) override;
    // The natural size of the image file, read once and kept until the file changes: changes made
    // through this manager are seen at once, changes made behind its back (the modification time or
    // the size differ) when the size is next asked after the check interval. Invalid when the file
    // cannot be read.
    QSize imageSize(int nResourceId) const override;
    // How many times image sizes were read from files (tests check the cache with it).
    int imageSizeReadCount() const { return m_nImageSizeReads; }
    // How long a file checked on disk counts as unchanged (ms; 0 checks at every call). Writing
    // player data asks for each image size many times in a row, so a check per call would cost
    // more than the cache saves.
    int fileCheckInterval() const { return m_nFileCheckInterval; }
    void setFileCheckInterval(int nMilliseconds) { m_nFileCheckInterval = qMax(0, nMilliseconds); }
    // Forgets what is cached about a file (it was written by this manager).
    void forgetFile(const QString &strPath);

    // The image for display, read from the file (an SVG's "<style>" becomes
    // "<style type=\"text/css\">") and kept by the resource's uuid string until the file changes.
    // A file that cannot be read gives "Could not read file %1" and a null image.
    QImage image(int nResourceId) const;
    // The content of a stored file (the resource's own file when none is named); "Could not read
    // file %1" and an empty result when it cannot be read.
    QByteArray readFile(const KVResource *pResource, const QString &strFileName = QString()) const;

    // The text of a script, style sheet or page with a file: loadContent() reads it into the resource
    // (as its unchanged state), saveContent() writes the resource's text to its file (a new file
    // with a unique name "<name>.<extension>" when it has none yet) under a temporary name renamed
    // into place. Both report a failure ("Could not read file %1", "Could not write file %1").
    bool loadContent(KVOtherResource *pResource) const;
    bool saveContent(KVOtherResource *pResource);

    // ---- File names
    // A name free in the resource folder for a file to import: the characters / \ : * ? " < > | become
    // "_"; while a resource that is not deleted has the name, or a file of that name lies in the folder,
    // it becomes "<base>_<n>.<extension>" with n counting from 1.
    QString uniqueFileName(const QString &strFileName) const;
    // A resource name that no resource (not deleted) has yet: strName, else "<name>_<n>".
    QString uniqueName(const QString &strName) const;

    // ---- Import
    // Copies the files into the resource folder and makes a resource of each, named after the file's
    // base name; nType -1 takes each file's kind from its extension. The new resources get ids but are
    // not added: the command that adds them does that (addResource). Files that fail are listed in
    // *pFailed when given, else reported one by one. Above 20 MiB the copy shows "Importing
    // resources..." with "Abort"; an abort removes the files copied so far and returns nothing.
    QList<KVResource *> importFiles(const QStringList &paths, int nType = -1, QStringList *pFailed = nullptr);
    KVResource *importFile(const QString &strPath, int nType = -1);
    bool wasImportCanceled() const { return m_bImportCanceled; }
    // Copies one file into the resource folder under a unique name (a media group's new format);
    // returns the stored name, empty (reported) on failure.
    QString storeFile(const QString &strPath);
    // Copies a resource of another document (its files in strSourceFolder) into this one: same uuid,
    // new id, files stored under unique names. A resource with the same uuid that is not deleted is
    // reused instead. The copy is not added (see importFiles); null (reported) on failure.
    KVResource *copyResource(const KVResource *pSource, const QString &strSourceFolder, bool *pReused = nullptr);
    // Copies the original file again over the stored one: "Could not find the original file." or
    // "Could not update from the original file." on failure.
    bool updateFromOriginal(KVResource *pResource);

    // The bytes the resource's files take on disk now (the data size to store after a change).
    qint64 storedSize(const KVResource *pResource) const;

    // ---- Content hashes (MD5, lower-case hex) for finding a resource by its file's content.
    QByteArray fileHash(const KVResource *pResource) const;
    static QByteArray hashOfFile(const QString &strPath);
    // A resource that is not deleted, of the type (or any, -1), whose file has the hash.
    KVResource *findByHash(const QByteArray &hash, int nType = -1) const;
    // The same for the content of a file on disk (compares sizes first).
    KVResource *findByContent(const QString &strPath, int nType = -1) const;
    // Remembers the hash of a file just written (the copy computed it on the way).
    void noteFileHash(const QString &strPath, const QByteArray &hash);

    // ---- Include order of scripts (type 5) and style sheets (type 6); deleted ones stay in place.
    QList<KVOtherResource *> includeOrder(int nType) const;
    QList<int> includeOrderIds(int nType) const;
    // Sets the order; the ids must be exactly those of the current order (returns false otherwise).
    bool setIncludeOrder(int nType, const QList<int> &ids);
    // The resources that are not deleted and are included in the page's head, in include order.
    QList<KVOtherResource *> headResources(int nType) const;

    // ---- Project form
    // One object per resource that is not deleted: images, media, symbols, fonts and pages in id
    // order, then the style sheets and then the scripts, each in include order.
    QJsonArray toJson() const;
    // Replaces the content. Entries without "type" or "id", of an unknown type or with an id already
    // read are skipped. A project uses only files in its own folder: a resource with a file outside
    // it (an absolute path, a path that climbs out with "..", a path at all where a plain name is
    // stored, or a link that leads out) is not loaded, and its name goes to *pOutside. Names become
    // plain file names. Files missing from the resource folder are collected (the resources stay);
    // returns true when none is missing.
    bool fromJson(const QJsonArray &ja, int nFormatVersion, QStringList *pMissingFiles = nullptr,
                  QStringList *pOutside = nullptr);
    QStringList missingFiles() const { return m_missingFiles; }
    // The format version the file names were read in: below 2, names with a folder are taken from
    // the project folder rather than from the resource folder.
    int formatVersion() const { return m_nFormatVersion; }
    void setFormatVersion(int nVersion) { m_nFormatVersion = nVersion; }
    // The resources the last fromJson() left out because their files lie outside the project folder.
    QStringList outsideResources() const { return m_outsideResources; }
    // Whether a stored file name (as the project form holds it) names a file in the project folder.
    bool isInProjectFolder(const QString &strFile) const;
    bool staysInProject(const KVResource &resource) const;

    // ---- Player form
    using SymbolDataWriter = std::function<QJsonObject(const KVResource &)>;
    // One array per resource that is not deleted: [id, type, name, ...], in the order of the project
    // form. Images and pages add their exported (or, in a preview, stored) file name, media the list
    // of them, symbols the object that symbolData gives (an empty object without one).
    QJsonArray toPlayerJson(bool bPreview, const SymbolDataWriter &symbolData = SymbolDataWriter()) const;
    // The name an export gives the file: the resource name, followed by "." and the stored file's
    // extension when the name's extension differs (any case); file-name characters are sanitised.
    static QString exportedFileName(const QString &strName, const QString &strStoredFile);
    static QString exportedFileName(const KVResource *pResource);
    // The canvas page's form of one resource: its player item as a preview writes it.
    QJsonArray canvasItem(const KVResource *pResource) const;
    static QStringList exportedMediaFileNames(const MediaResource *pMedia);

    // ---- Files of the project
    // The stored files of the resources that are not deleted, relative to the project folder.
    QStringList referencedFiles() const;
    // The same as absolute paths.
    QStringList referencedFilePaths() const;
    // The same for a resource list in project form (the project as last saved).
    QStringList referencedFiles(const QJsonArray &jaProjectForm) const;
    // Tells the document that a file was stored in the resource folder (emits fileStored).
    void announceStoredFile(const QString &strFileName);
    // Drops caches (the document's clean-up).
    void cleanup();

signals:
    void resourceAdded(int nId);
    void resourceDeletedChanged(int nId, bool bDeleted);
    // A file was stored in the resource folder by this manager (path relative to the project folder);
    // the document keeps it among its owned files.
    void fileStored(const QString &strRelativePath);

private:
    struct FileStamp
    {
        QString strPath;
        QDateTime modified;
        qint64 nSize = -1;
        bool operator==(const FileStamp &o) const
        {
            return strPath == o.strPath && modified == o.modified && nSize == o.nSize;
        }
    };
    struct CachedSize
    {
        FileStamp stamp;
        QSize size;
        qint64 nCheckedAt = 0;
    };
    struct CachedHash
    {
        FileStamp stamp;
        QByteArray hash;
    };
    struct CachedImage
    {
        FileStamp stamp;
        QImage image;
    };

    static FileStamp stampOf(const QString &strPath);
    bool isFileNameTaken(const QString &strFileName) const;
    QList<int> &orderList(int nType);
    const QList<int> *orderListOf(int nType) const;
    QJsonArray playerItem(const KVResource *pResource, bool bPreview, const SymbolDataWriter &symbolData) const;
    QList<KVResource *> writeOrder() const;

    const IKVDocumentContext *m_pContext = nullptr;
    QMap<int, KVResource *> m_resources;
    QList<int> m_scriptOrder;
    QList<int> m_styleOrder;
    int m_nNextId = 1;
    int m_nFormatVersion = 3;
    QStringList m_missingFiles;
    QStringList m_outsideResources;
    bool m_bImportCanceled = false;

    mutable QHash<int, CachedSize> m_imageSizes;
    mutable QHash<QString, CachedHash> m_hashes; // by absolute path
    mutable QHash<QString, CachedImage> m_images; // by uuid string
    mutable int m_nImageSizeReads = 0;
    int m_nFileCheckInterval = 2000;
    QElapsedTimer m_clock;
};
