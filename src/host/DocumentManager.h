#pragma once

#include <QList>
#include <QObject>
#include <QPair>

class IDocument;
class QTimer;
class QUndoGroup;

// Keeps the open documents, the undo group whose active stack Undo and Redo act on, the default
// breakpoint presets and the automatic-backup settings and timer.
class DocumentManager : public QObject
{
    Q_OBJECT
public:
    using Breakpoints = QList<QPair<int, bool>>; // (value in pixels, offered by default)

    explicit DocumentManager(QObject *pParent = nullptr);
    ~DocumentManager() override;

    QList<IDocument *> getDocuments() const { return m_documents; }
    void addDocument(IDocument *pDocument);
    void removeDocument(IDocument *pDocument);
    IDocument *documentForFile(const QString &strFileName) const; // by canonical path
    QUndoGroup *getUndoGroup() const { return m_pUndoGroup; }

    Breakpoints getHBreakpoints() const { return m_hBreakpoints; }
    Breakpoints getVBreakpoints() const { return m_vBreakpoints; }
    void setHBreakpoints(const Breakpoints &list) { m_hBreakpoints = list; }
    void setVBreakpoints(const Breakpoints &list) { m_vBreakpoints = list; }
    // Puts the presets the product ships with into both lists; saves them when bSave is set.
    void initBreakpoints(bool bSave);

    bool isAutobackupEnabled() const { return m_bAutobackup; }
    int getAutobackupTimeout() const { return m_nAutobackupTimeout; } // seconds
    void setAutoBackupEnabled(bool bEnabled);
    void setAutobackupTimeout(int nSeconds);
    // Starts (or restarts) the timer whose time-out backs up every modified document.
    void startWaitingBackup();
    void stopWaitingBackup();
    bool isWaitingBackup() const;
    // Backs up every modified document now (the timer's work; also done when the process is told
    // to end). Returns how many backups were written.
    int backupAll();

    void readSettings();
    void saveSettings();

signals:
    void documentAdded(IDocument *pDocument);
    void documentRemoved(IDocument *pDocument);
    void backupDone(int nDocuments);

private:
    QList<IDocument *> m_documents;
    QUndoGroup *m_pUndoGroup;
    QTimer *m_pBackupTimer;
    Breakpoints m_hBreakpoints;
    Breakpoints m_vBreakpoints;
    bool m_bAutobackup = true;
    int m_nAutobackupTimeout = 300;
};
