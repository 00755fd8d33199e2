#pragma once

#include <QObject>
#include <QString>

class ICreateDocumentDlg;
class QUndoCommand;
class QUndoStack;

// A document the host manages: a file name, an undo stack (owned here), a modified state and the
// closing protocol. Plug-ins derive their documents from it.
class IDocument : public QObject
{
    Q_OBJECT
public:
    explicit IDocument(QObject *pParent = nullptr);
    ~IDocument() override;

    QString getFileName() const { return m_strFileName; }
    void setFileName(const QString &strFileName);

    QUndoStack *getUndoStack() const { return m_pUndoStack; }
    bool isModified() const;

    bool isTempDocument() const { return m_bTempDocument; }
    void setIsTempDocument(bool bTemp) { m_bTempDocument = bTemp; }
    bool isOpenAsBackup() const { return m_bOpenAsBackup; }
    void setOpenAsBackup(bool bBackup) { m_bOpenAsBackup = bBackup; }

    // Makes the content of a new document from what the new-document dialog collected.
    virtual bool createNew(ICreateDocumentDlg *) { return false; }
    // Opens a file into this document; false (with the reason reported) when it cannot.
    virtual bool load(const QString &strFileName) { Q_UNUSED(strFileName) return false; }

    // Pushes a command on the undo stack (which runs its redo).
    virtual void submitCommand(QUndoCommand *pCommand);

    // Asks whether the document may close: a modified or temporary document asks "Save changes to
    // %1 before closing?" with Save (the default), Discard and, with bCanCancel, Cancel. True when
    // it may close: nothing would be lost, the user discarded the changes, or the save succeeded.
    virtual bool requestClosing(bool bCanCancel);
    // Releases what the document holds. Emits aboutToClose first.
    virtual void close();

    // Writes an automatic backup; the host's backup timer calls it. Nothing to do by default.
    virtual bool saveBackup() { return true; }
    virtual bool save() { return false; }
    virtual bool saveAs() { return false; }

signals:
    void statusChanged(const QString &strStatus);
    void titleChanged();
    void modifyChanged(bool bModified);
    void undoStackChanged();
    void aboutToClose();
    void dataChanged(QObject *pInfo);
    // The document was written to its file (after a successful save).
    void changesSaved();

private:
    QString m_strFileName;
    QUndoStack *m_pUndoStack = nullptr;
    bool m_bTempDocument = false;
    bool m_bOpenAsBackup = false;
};
