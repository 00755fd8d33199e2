#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class IDocument;
#include "IEditor.h"

// One editor per document; tracks which editor is active and tells the plug-ins when that changes.
class EditorManager : public QObject
{
    Q_OBJECT
public:
    explicit EditorManager(QObject *pParent = nullptr);
    ~EditorManager() override;

    IEditor *activeEditor() const { return m_pActive; }
    void activateEditor(IEditor *pEditor);
    IEditor *getEditorOfDocument(IDocument *pDocument) const;
    QList<IEditor *> getEditors() const { return m_editors; }

    void addEditor(IEditor *pEditor);
    void removeEditor(IEditor *pEditor);

signals:
    void editorActivated(IEditor *pEditor);
    void editorDeactivated(IEditor *pEditor);
    void editorAdded(IEditor *pEditor);
    void editorRemoved(IEditor *pEditor);

private:
    QList<IEditor *> m_editors;
    QPointer<IEditor> m_pActive;
};
