#pragma once

#include "IDocument.h"
#include "document/KVDocumentSettings.h"
#include "document/KVProjectFile.h"
#include "document/KVSymbol.h"
#include "commands/IKVCommandTarget.h"
#include "model/IKVDocumentContext.h"

#include <QAbstractAnimation>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class IKVDocumentHost;
class KVFileLocker;
class KVPreloader;
class KVPackageWriter;
class KVProjectPaths;
class KVSymbolResources;

// One open project: the host's document with the project's scenes and resources, and the files
// that go with it on disk (see KVProjectPaths). It creates, opens (with package import and the
// recovery from an automatic backup), saves, saves elsewhere, backs up, closes and cleans up a
// project, and owns the project's custom preloader, itself a document.
//
// Files are handled so that no step loses work: the project file is replaced atomically, a save
// elsewhere leaves the previous project on disk exactly as it was (the new project file appears
// only once its resource files are in place), and a failure leaves the document open and
// unchanged in memory.
//
// Closing takes the host's two steps: requestClosing() asks the questions (and may refuse), close()
// announces aboutToClose, on which the document cleans up its files; closeProject() does both.
class KVDocument : public IDocument, public KVSymbol, public IKVDocumentContext, public IKVCommandTarget
{
    Q_OBJECT
public:
    explicit KVDocument(QObject *pParent = nullptr);
    ~KVDocument() override;

    // The application around documents (not owned); null when headless.
    static void setHost(IKVDocumentHost *pHost);
    static IKVDocumentHost *host();
    // Every document alive in the process (the host's documents and those opened headless).
    static QList<KVDocument *> liveDocuments();
    // Whether a document alive in the process has the project file (by canonical path).
    static KVDocument *documentForFile(const QString &strFile);

    // ---- Content (the scenes, resources and metadata are the KVSymbol part)
    KVFileLocker *fileLocker() const { return m_pFileLocker; }
    KVDocumentSettings &settings() { return m_settings; }
    const KVDocumentSettings &settings() const { return m_settings; }
    bool isAutoKeyframeMode() const { return m_settings.m_bAutoKeyframeMode; }
    // Emits changeAutoKeyframeMode when the mode changes.
    void setAutoKeyframeMode(bool bOn);
    // The format version the project was read in; 3 for a new project and after any save.
    int docVersion() const { return m_nFormatVersion; }
    void setDocVersion(int nVersion) { m_nFormatVersion = nVersion; }
    QString status() const { return m_strStatus; }
    KVPreloader *preloaderDocument() const;
    // The symbols of the project's symbol resources, read from their files when the project opens
    // and written back to them by every save and backup.
    KVSymbolResources *symbolResources() const { return m_pSymbols.get(); }
    // The backup opened beside this project by "Open Both" while no host took it over.
    KVDocument *sideDocument() const { return m_pSideDocument; }

    // Resource files this document added (or uses), relative to the project folder; unique.
    QStringList ownedFiles() const { return m_listOwnedFiles; }
    void addOwnedFile(const QString &strRelativePath);
    void removeOwnedFile(const QString &strRelativePath);

    // The progress of long copies for this document (not owned); the host's when not set.
    void setProgress(IKVProgress *pProgress) { m_pProgress = pProgress; }

    // The animation that plays the current timeline while the user previews it on the stage.
    void setPlayingAnimation(QAbstractAnimation *pAnimation) { m_pPlayingAnimation = pAnimation; }

    // ---- Lifecycle
    // Makes a new project in the file set before (setFileName) with the stage size and blank scenes.
    bool create(int nWidth, int nHeight, int nScenes, bool bResponsive);
    // Sets the file name and opens it.
    bool load(const QString &strFileName) override;
    // The questions asked before the document closes (backup in place, preloader); false keeps it open.
    bool requestClosing(bool bCanCancel) override;
    // Closes through the host's document: announces aboutToClose, which cleans up the files.
    void close() override;
    // requestClosing() then close(); false when a question kept the document open.
    bool closeProject();
    bool saveBackup() override;
    bool save() override;
    bool saveAs() override;

    // ---- IKVDocumentContext
    QString projectFolderPath() const override;
    QString resourceFolderPath() const override;
    int formatVersion() const override { return m_nFormatVersion; }
    IKVProgress *progress() const override;
    KVImageUseCounter *imageUseCounter() const override;

    // Version text of a project format ("1.0.0", "2.0.0", "2.5.0").
    static QString versionText(int nFormatVersion);

public slots:
    bool open();
    // A target ending in "kaviopack" is written as a package (saveToPackage).
    bool save(const QString &strFile);
    // Writes the project, its resource files and its custom preloader as one package; the document
    // and its folder stay as they are. Reports "Save to package successfully." when written.
    bool saveToPackage(const QString &strFileName);
    // Unpacks a package as the new project "<strLocation>/<last folder name>.kavio".
    bool extractPackage(const QString &strFileName, const QString &strLocation);
    bool revert() { return true; }
    void cleanTempDir();
    bool pause();

    // Commands edit the document through these (the command framework's view of a project).
    KVSceneList *commandSceneList() const override;
    void emitDataChanged(QObject *pInfo) override { emit dataChanged(pInfo); }
    QUndoStack *commandUndoStack() const override { return getUndoStack(); }
    bool isPlaying() const override;
    // A command announces the pause itself (before its own actions).
    void pausePlayback() override { haltPlayback(); }
    KVSymbol *commandProject() const override { return const_cast<KVDocument *>(this); }
    KVDocumentSettings *commandSettings() const override { return const_cast<KVDocumentSettings *>(&m_settings); }
    KVPreloader *commandPreloader() const override;
    void reloadFonts() override { registerFonts(); }
    void clearStatus() override { setStatus(QString()); }
    // Queued mode: a command of the framework joins the queue of the text-command validator, which
    // pushes the commands in submission order (text edits wait for their HTML to be normalised);
    // any other undo command is pushed as it is.
    void submitCommand(QUndoCommand *pCommand) override { submitCommand(pCommand, false); }
    // With bPush a command of the framework goes through its push mode at once (selection, symbol
    // content id, status).
    void submitCommand(QUndoCommand *pCommand, bool bPush);
    bool play();
    // Playback of the current timeline of the current scene, told to the views: before it starts
    // the views finish their pending work (type 82, waiting at most nWaitMs for the canvas page),
    // then it plays from where it stands (from the start when it stood at its end) with a type-74
    // notice; stopping pauses it with a type-75 notice. False when there is nothing to do.
    bool startPlayback(int nWaitMs = 500);
    bool stopPlayback();
    bool togglePlayback();
    // Stops playback and moves the current timeline to its start or its end (type-76 notice).
    bool goToTimelineEdge(bool bEnd);
    // Loads the custom preloader of the project, or creates a new one; false when neither works.
    bool loadPreloader();
    // Closes the preloader document because the project no longer uses it (asks to save changes).
    void dismissPreloader();

signals:
    void locationChanged();
    void changeAutoKeyframeMode(bool isAutoKeyframeMode);
    // changesSaved() (the host document's) follows every successful save.

protected:
    // The project as its JSON top-level object; false when a part cannot be written.
    virtual bool writeProjectJson(QJsonObject &joProject) const;
    // Reads the project's content from its JSON; false (the reason reported) when the open ends.
    virtual bool readProjectJson(const QJsonObject &joProject);
    // Writes the files of the symbol resources; false when one cannot be written.
    virtual bool saveSymbolResources();
    void setStatus(const QString &strStatus);

private slots:
    void onCleanup();
    void onPreloaderSavedChanges();
    void onPreloaderClose();

private:
    friend class KVBackupRecovery;

    KVProjectPaths paths() const;
    bool importPackage(QStringList *pCreated);
    void addResourceEntries(KVPackageWriter &writer, const QString &strPrefix, const QString &strReadError,
                            const QString &strWriteError) const;
    bool readFile(const QString &strFile);
    void registerFonts();
    void removeFonts();
    bool versionGate() const;
    bool writeProjectFile(const QString &strFile, const QByteArray &data);
    // The project file's text; pResources receives the resource list it holds.
    bool serialize(QByteArray &data, QJsonArray *pResources = nullptr) const;
    static QJsonArray resourcesOf(const QJsonObject &joTop);
    bool savePreloaderTo(const KVProjectPaths &to);
    void readSavedResources();
    void linkPreloader(KVPreloader *pPreloader);
    void lockOwnedFiles();
    QStringList referencedFiles(bool bSavedState) const;
    bool isPreviewFile(const QString &strRelativePath) const;

    KVFileLocker *m_pFileLocker = nullptr;
    std::unique_ptr<KVSymbolResources> m_pSymbols;
    KVDocumentSettings m_settings;
    KVProjectFile m_projectFile;
    QStringList m_listOwnedFiles;
    QString m_strStatus;
    QPointer<KVDocument> m_pPreloader; // a KVPreloader
    QPointer<KVDocument> m_pSideDocument;
    QPointer<QAbstractAnimation> m_pPlayingAnimation;
    KVTimeline *currentPlaybackTimeline() const;
    // Pauses the playing animation without telling the views; false when nothing played.
    bool haltPlayback();
    // Runs a command of one notification action once, without an undo step.
    void notifyViews(int nType, KVTimeline *pTimeline);
    IKVProgress *m_pProgress = nullptr;
    QJsonArray m_jaSavedResources; // the resources as the project file on disk has them
    QList<int> m_listFontIds;
    int m_nFormatVersion = 3;
    bool m_bCleanedUp = false;
};
